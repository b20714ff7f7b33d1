#pragma once
#include "EException.h"

// An index or a node state outside what the tree knows.
class TREE_API CIndexOfBoundException : public EException {
public:
    using EException::EException;
    const char* GetRuntimeClassName() const override;
    const char* GetClassLabel() const override;
};
