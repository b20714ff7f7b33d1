#include "OrvWindowClass.h"

#include "AfxGlobals.h"

HMODULE OrvWindowClass::Module() {
    // Asked once: every lookup pins the library once more.
    static const HMODULE module = AfxGetModuleOf(reinterpret_cast<const void*>(&OrvWindowClass::Module));
    return module;
}

bool OrvWindowClass::Prepare(CREATESTRUCTA& create, const char* name, UINT classStyle) {
    HMODULE module = Module();
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (!::GetClassInfoExA(module, name, &existing)) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = classStyle;
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = module;
        windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = name;
        if (!::RegisterClassExA(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    }
    create.lpszClass = name;
    create.hInstance = module;
    return true;
}
