#pragma once
#include "CDC.h"

class CWnd;

// The whole window's context, frame included (of the screen for null),
// released when the object dies.
class FW_API CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* wnd);
    explicit CWindowDC(HWND hWnd);
    CWindowDC(CWindowDC&&) noexcept = default;
    CWindowDC& operator=(CWindowDC&&) noexcept = default;
};
