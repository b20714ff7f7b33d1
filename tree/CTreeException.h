#pragma once
#include "EException.h"

// A tree that cannot be built or drawn: too few records, or no skin yet.
class TREE_API CTreeException : public EException {
public:
    using EException::EException;
    const char* GetRuntimeClassName() const override;
    const char* GetClassLabel() const override;
};
