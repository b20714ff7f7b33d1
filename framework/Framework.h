#pragma once
// The framework layer in one include, for code that uses most of it.
#include "CArray.h"
#include "CCriticalSection.h"
#include "CException.h"
#include "CObArray.h"
#include "CObject.h"
#include "CPoint.h"
#include "CPtrArray.h"
#include "CRect.h"
#include "CSize.h"
#include "CString.h"
#include "CStringArray.h"
#include "CTypedPtrArray.h"
