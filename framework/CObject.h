#pragma once
#include "FrameworkExport.h"

// Root of the framework's polymorphic classes: a virtual destructor and a
// run-time class name, nothing else.
class FW_API CObject {
public:
    CObject() = default;
    virtual ~CObject();
    virtual const char* GetRuntimeClassName() const;

protected:
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};
