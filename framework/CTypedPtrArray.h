#pragma once
#include "CObArray.h"
#include "CPtrArray.h"

// Typed view of a pointer array (BASE is CPtrArray or CObArray): the same
// storage, with element access in terms of TYPE. Owns none of the pointers.
template <class BASE, class TYPE>
class CTypedPtrArray : public BASE {
public:
    TYPE GetAt(int index) const { return static_cast<TYPE>(BASE::GetAt(index)); }
    TYPE operator[](int index) const { return GetAt(index); }
    TYPE& ElementAt(int index) { return reinterpret_cast<TYPE&>(BASE::ElementAt(index)); }
    TYPE& operator[](int index) { return ElementAt(index); }
    void SetAt(int index, TYPE item) { BASE::SetAt(index, item); }
    void SetAtGrow(int index, TYPE item) { BASE::SetAtGrow(index, item); }
    int Add(TYPE item) { return BASE::Add(item); }
    void InsertAt(int index, TYPE item, int count = 1) { BASE::InsertAt(index, item, count); }
    TYPE* GetData() { return reinterpret_cast<TYPE*>(BASE::GetData()); }
};
