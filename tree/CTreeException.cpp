#include "CTreeException.h"

const char* CTreeException::GetRuntimeClassName() const { return "CTreeException"; }

const char* CTreeException::GetClassLabel() const { return "ETreeException"; }
