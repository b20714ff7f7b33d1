#pragma once
#include "CArray.h"

// Array of untyped pointers; owns none of them.
class CPtrArray : public CArray<void*> {};
