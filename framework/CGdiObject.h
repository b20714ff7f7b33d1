#pragma once
#include "CObject.h"
#include "FrameworkExport.h"

#include <windows.h>

// Owns one GDI object (bitmap, font, brush, pen, region) and deletes it when
// it dies. Copying is deleted, so no handle is ever deleted twice; moving
// hands the handle on. FromHandle wraps a handle the framework does not own
// in a temporary object of the calling thread that never deletes it.
class FW_API CGdiObject : public CObject {
public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept;
    CGdiObject& operator=(CGdiObject&& other) noexcept;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }

    // Takes ownership; an object already held is deleted first.
    bool Attach(HGDIOBJ object);
    // Gives up ownership without deleting.
    HGDIOBJ Detach();
    // Deletes the held object; false when there was none or GDI refused.
    bool DeleteObject();

    int GetObject(int size, void* buffer) const;
    UINT GetObjectType() const;
    // Stock objects are never really deleted by GDI, so holding one is safe.
    bool CreateStockObject(int index);

    static CGdiObject* FromHandle(HGDIOBJ object);
    const char* GetRuntimeClassName() const override;

    HGDIOBJ m_hObject = nullptr;
};
