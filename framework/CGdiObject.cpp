#include "CGdiObject.h"

#include "HandleMap.h"

#include <utility>

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject::CGdiObject(CGdiObject&& other) noexcept : m_hObject(other.m_hObject) {
    other.m_hObject = nullptr;
}

CGdiObject& CGdiObject::operator=(CGdiObject&& other) noexcept {
    if (this != &other) {
        DeleteObject();
        m_hObject = std::exchange(other.m_hObject, nullptr);
    }
    return *this;
}

bool CGdiObject::Attach(HGDIOBJ object) {
    if (!object) return false;
    if (object != m_hObject) DeleteObject();
    m_hObject = object;
    return true;
}

HGDIOBJ CGdiObject::Detach() { return std::exchange(m_hObject, nullptr); }

bool CGdiObject::DeleteObject() {
    if (!m_hObject) return false;
    return ::DeleteObject(std::exchange(m_hObject, nullptr)) != 0;
}

int CGdiObject::GetObject(int size, void* buffer) const {
    return m_hObject ? ::GetObjectA(m_hObject, size, buffer) : 0;
}

UINT CGdiObject::GetObjectType() const {
    return m_hObject ? ::GetObjectType(m_hObject) : 0;
}

bool CGdiObject::CreateStockObject(int index) { return Attach(::GetStockObject(index)); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) {
    return TemporaryGdiObject<CGdiObject>(CHandleMap::Kind::Gdi, object);
}

const char* CGdiObject::GetRuntimeClassName() const { return "CGdiObject"; }
