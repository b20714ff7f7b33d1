#pragma once
// Texts in the fixed-size character fields of the stored records.
#include "CString.h"

#include <algorithm>
#include <cstring>

namespace orvreg {

// Cut to the field's limit (its size less the NUL) and followed by a NUL;
// the bytes behind the NUL keep what they held.
template <size_t N>
void StoreFixedText(char (&field)[N], const CString& text) {
    const size_t length = std::min(static_cast<size_t>(text.GetLength()), N - 1);
    std::memcpy(field, text.GetString(), length);
    field[length] = 0;
}

// Up to the field's NUL; a field without one (a damaged record) ends at its
// last byte instead of running into the next field.
template <size_t N>
CString LoadFixedText(const char (&field)[N]) {
    return CString(field, static_cast<int>(strnlen(field, N)));
}

}  // namespace orvreg
