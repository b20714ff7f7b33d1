#pragma once
// Internal to framework.dll: the process-wide maps from handles to framework
// objects. Not part of the public headers.
#include <windows.h>

#include <memory>

class CObject;
class CWnd;

// The permanent map leads from a window handle to the one CWnd that owns it;
// the thunk looks every message up here. Temporary wrappers are made by
// FromHandle for handles nobody in the framework owns; they belong to the
// thread that asked and die at its next idle time (AfxDeleteTempMaps), or when
// the DLL unloads. One lock guards both maps.
class CHandleMap {
public:
    enum class Kind { Wnd, DC, Gdi, Bitmap, Font, Brush, Pen, Rgn };
    using FreeFn = void (*)(CObject*);

    static CHandleMap& Instance();

    // False when another object already owns the handle.
    bool SetPermanent(HWND hWnd, CWnd* wnd);
    // Removes the entry only while it still belongs to wnd.
    void RemovePermanent(HWND hWnd, const CWnd* wnd);
    CWnd* LookupPermanent(HWND hWnd);

    // The calling thread's wrapper of the handle, made by make() on first use
    // and released by free() (which must not release the handle itself).
    CObject* Temporary(Kind kind, const void* handle, CObject* (*make)(const void*), FreeFn free);
    void DeleteTemporaries(DWORD threadId);
    size_t TemporaryCount();

    CHandleMap(const CHandleMap&) = delete;
    CHandleMap& operator=(const CHandleMap&) = delete;

private:
    CHandleMap();
    ~CHandleMap();
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// The calling thread's temporary T (a CGdiObject class) for a GDI handle.
template <class T>
T* TemporaryGdiObject(CHandleMap::Kind kind, HGDIOBJ handle) {
    auto make = [](const void* h) -> CObject* {
        T* object = new T;
        object->m_hObject = const_cast<void*>(h);
        return object;
    };
    auto free = [](CObject* object) {
        static_cast<T*>(object)->m_hObject = nullptr;
        delete object;
    };
    return static_cast<T*>(CHandleMap::Instance().Temporary(kind, handle, make, free));
}
