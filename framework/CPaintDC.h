#pragma once
#include "CDC.h"

class CWnd;

// BeginPaint for the life of the object, EndPaint when it dies. A paint
// scope ends where it began, so it can be neither copied nor moved.
class FW_API CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    explicit CPaintDC(HWND hWnd);
    ~CPaintDC() override;
    CPaintDC(CPaintDC&&) = delete;
    CPaintDC& operator=(CPaintDC&&) = delete;

    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd = nullptr;
};
