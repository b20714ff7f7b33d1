#include "COrvDropTarget.h"

const char* COrvDropTarget::GetRuntimeClassName() const { return "COrvDropTarget"; }
