#include "ListsTestSupport.h"

#include "BitmapFile.h"
#include "CBrush.h"
#include "CDC.h"
#include "CPaintDC.h"
#include "ChildProcess.h"
#include "TestSupport.h"

namespace liststest {

Host::Host(int x, int y, int width, int height, COLORREF color) : fill(color) {
    CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, nullptr, "lists host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
             width, height, nullptr, nullptr);
    UpdateWindow();
}

Host::~Host() {
    if (m_hWnd) DestroyWindow();
}

BOOL Host::OnEraseBkgnd(CDC* dc) {
    RECT client{};
    GetClientRect(&client);
    dc->FillSolidRect(client, fill);
    return TRUE;
}

Pane::Pane(HWND parent, int* deleted, COLORREF color) : m_parent(parent), m_deleted(deleted), m_fill(color) {}

Pane::~Pane() {
    if (m_deleted) ++*m_deleted;
    if (m_hWnd) DestroyWindow();
}

void Pane::CreateHandle() {
    if (m_hWnd) return;
    if (CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, GetLeft(), GetTop(), GetWidth(),
                 GetHeight(), m_parent, nullptr))
        SetHandleC(m_hWnd);
}

void Pane::WMPaint(WMNoParams_t&) {
    CPaintDC dc(this);
    RECT client{};
    GetClientRect(&client);
    dc.FillSolidRect(client, m_fill);
}

void Pane::WMWindowPosChanged(WMWindowPosMsg_t& message) {
    ++moves;
    message.Handled = FALSE;
}

ShippedSkin::ShippedSkin(const char* name) : m_name(name) {
    m_reader = std::make_unique<OrvSkinReader>((orvtest::ThisProgramFolder() + "Skins").c_str(), nullptr);
    m_reader->SetSkinByDirectory((m_name + "\\").c_str());
}

bool ShippedSkin::Ok() const {
    const ClsSkinName* applied = m_reader->GetCurrentSkin();
    return applied && lstrcmpiA(applied->GetLastDirectory(), (m_name + "\\").c_str()) == 0;
}

}  // namespace liststest
