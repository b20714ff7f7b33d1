#pragma once
#include "CArray.h"

// Array of CObject pointers; owns none of them.
class CObArray : public CArray<CObject*> {};
