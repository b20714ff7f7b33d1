#include "CObject.h"

CObject::~CObject() = default;

const char* CObject::GetRuntimeClassName() const { return "CObject"; }
