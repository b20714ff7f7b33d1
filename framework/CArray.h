#pragma once
#include "CObject.h"

#include <algorithm>
#include <vector>

// Shared body of the framework's arrays. Indices outside the array never
// touch memory: reads give a value-initialised element, writes are ignored,
// removals are clamped to what exists.
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
        if (index >= GetSize()) SetSize(index + 1);
        m_items[static_cast<size_t>(index)] = item;
    }
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
        m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
        return first;
    }
    void Copy(const CArray& other) { m_items = other.m_items; }
    // Inserting past the end grows the array up to the index first.
    void InsertAt(int index, const T& item, int count = 1) {
        if (index < 0 || count <= 0) return;
        if (index > GetSize()) SetSize(index);
        m_items.insert(m_items.begin() + index, static_cast<size_t>(count), item);
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
