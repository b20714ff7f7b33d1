#pragma once
#include "CObject.h"

#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

// Shared body of the framework's arrays. Indices outside the array never
// touch memory: reads give a value-initialised element, writes are ignored,
// removals are clamped to what exists. ElementAt and the non-const
// operator[] hand out a reference, and there is none to an element that does
// not exist: they throw std::out_of_range instead.
template <typename T>
class CArray : public CObject {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_items.empty(); }

    // New elements are value-initialised; growBy is accepted for
    // compatibility, growth is geometric anyway.
    void SetSize(int newSize, int growBy = -1) {
        (void)growBy;
        m_items.resize(static_cast<size_t>(std::max(newSize, 0)));
    }
    void FreeExtra() { m_items.shrink_to_fit(); }
    void RemoveAll() { m_items.clear(); }

    T GetAt(int index) const { return InRange(index) ? m_items[static_cast<size_t>(index)] : T(); }
    void SetAt(int index, const T& item) {
        if (InRange(index)) m_items[static_cast<size_t>(index)] = item;
    }
    // Grows the array when index is past the end; a negative index is ignored.
    void SetAtGrow(int index, const T& item) {
        if (index < 0) return;
        // item may be an element of this array, which growing moves.
        T copy(item);
        if (index >= GetSize()) SetSize(index + 1);
        m_items[static_cast<size_t>(index)] = std::move(copy);
    }
    // Throws std::out_of_range for an index outside the array.
    T& ElementAt(int index) { return m_items.at(static_cast<size_t>(index)); }
    T operator[](int index) const { return GetAt(index); }
    T& operator[](int index) { return ElementAt(index); }
    T* GetData() { return m_items.data(); }
    const T* GetData() const { return m_items.data(); }

    int Add(const T& item) {
        m_items.push_back(item);
        return GetUpperBound();
    }
    int Append(const CArray& other) {
        const int first = GetSize();
        if (&other == this) {
            // Inserting a vector's own range into it is undefined.
            const std::vector<T> copy(m_items);
            m_items.insert(m_items.end(), copy.begin(), copy.end());
        } else {
            m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
        }
        return first;
    }
    void Copy(const CArray& other) { m_items = other.m_items; }
    // Inserting past the end grows the array up to the index first.
    void InsertAt(int index, const T& item, int count = 1) {
        if (index < 0 || count <= 0) return;
        // item may be an element of this array, which growing moves.
        const T copy(item);
        if (index > GetSize()) SetSize(index);
        m_items.insert(m_items.begin() + index, static_cast<size_t>(count), copy);
    }
    void RemoveAt(int index, int count = 1) {
        if (index < 0 || index >= GetSize() || count <= 0) return;
        count = std::min(count, GetSize() - index);
        m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
    }

private:
    bool InRange(int index) const { return index >= 0 && index < GetSize(); }
    std::vector<T> m_items;
};
