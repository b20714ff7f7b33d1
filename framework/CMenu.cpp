#include "CMenu.h"

#include "AfxGlobals.h"

#include <utility>

CMenu::~CMenu() { DestroyMenu(); }

CMenu::CMenu(CMenu&& other) noexcept : CObject(), m_hMenu(std::exchange(other.m_hMenu, nullptr)) {}

CMenu& CMenu::operator=(CMenu&& other) noexcept {
    if (this != &other) {
        DestroyMenu();
        m_hMenu = std::exchange(other.m_hMenu, nullptr);
    }
    return *this;
}

bool CMenu::LoadMenu(const char* resource, HINSTANCE module) {
    DestroyMenu();
    if (!resource) return false;
    const HMODULE candidates[] = {module ? module : AfxGetResourceHandle(),
                                  module ? nullptr : ::GetModuleHandleA(nullptr)};
    for (HMODULE candidate : candidates) {
        if (!candidate || !::FindResourceA(candidate, resource, RT_MENU)) continue;
        m_hMenu = ::LoadMenuA(candidate, resource);
        return m_hMenu != nullptr;
    }
    return false;
}

bool CMenu::Attach(HMENU menu) {
    if (!menu || menu == m_hMenu) return menu != nullptr;
    DestroyMenu();
    m_hMenu = menu;
    return true;
}

HMENU CMenu::Detach() { return std::exchange(m_hMenu, nullptr); }

bool CMenu::DestroyMenu() {
    if (!m_hMenu) return false;
    return ::DestroyMenu(std::exchange(m_hMenu, nullptr)) != FALSE;
}

int CMenu::GetMenuItemCount() const { return m_hMenu ? ::GetMenuItemCount(m_hMenu) : -1; }

HMENU CMenu::GetSubMenu(int position) const { return m_hMenu ? ::GetSubMenu(m_hMenu, position) : nullptr; }

const char* CMenu::GetRuntimeClassName() const { return "CMenu"; }
