#pragma once
#include "CArray.h"
#include "CString.h"

// Array of strings, held by value.
class CStringArray : public CArray<CString> {};
