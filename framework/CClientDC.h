#pragma once
#include "CDC.h"

class CWnd;

// The client area's context of a window (of the screen for null), released
// when the object dies.
class FW_API CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    explicit CClientDC(HWND hWnd);
    CClientDC(CClientDC&&) noexcept = default;
    CClientDC& operator=(CClientDC&&) noexcept = default;
};
