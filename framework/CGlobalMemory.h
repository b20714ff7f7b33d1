#pragma once
#include <windows.h>

#include <cstddef>
#include <utility>

// The one owner of a global memory block (GlobalAlloc), freed with
// GlobalFree. Copying is deleted; moving hands the block on.
class CGlobalMemory {
public:
    CGlobalMemory() = default;
    explicit CGlobalMemory(HGLOBAL block) : m_block(block) {}
    ~CGlobalMemory() { Reset(); }
    CGlobalMemory(const CGlobalMemory&) = delete;
    CGlobalMemory& operator=(const CGlobalMemory&) = delete;
    CGlobalMemory(CGlobalMemory&& other) noexcept : m_block(other.Release()) {}
    CGlobalMemory& operator=(CGlobalMemory&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    // A zero-filled movable block; empty when the system has no memory.
    static CGlobalMemory Allocate(size_t bytes, UINT flags = GMEM_MOVEABLE | GMEM_ZEROINIT) {
        return CGlobalMemory(::GlobalAlloc(flags, bytes));
    }
    // A block of the same size and bytes as source; empty when source
    // cannot be read or no memory is left.
    static CGlobalMemory CopyOf(HGLOBAL source);

    HGLOBAL Get() const { return m_block; }
    explicit operator bool() const { return m_block != nullptr; }
    size_t Size() const { return m_block ? ::GlobalSize(m_block) : 0; }
    // Gives the block up without freeing it.
    HGLOBAL Release() { return std::exchange(m_block, nullptr); }
    void Reset(HGLOBAL block = nullptr) {
        if (m_block) ::GlobalFree(m_block);
        m_block = block;
    }

private:
    HGLOBAL m_block = nullptr;
};

// A global block locked for a scope. Get() is null when the block could not
// be locked (none, discarded, or not a block at all); Size() is the size the
// system reports, 0 then.
class CGlobalLock {
public:
    explicit CGlobalLock(HGLOBAL block)
        : m_block(block), m_data(block ? ::GlobalLock(block) : nullptr),
          m_size(m_data ? ::GlobalSize(block) : 0) {}
    ~CGlobalLock() {
        if (m_data) ::GlobalUnlock(m_block);
    }
    CGlobalLock(const CGlobalLock&) = delete;
    CGlobalLock& operator=(const CGlobalLock&) = delete;

    void* Get() const { return m_data; }
    template <class T>
    T* As() const { return static_cast<T*>(m_data); }
    size_t Size() const { return m_size; }

private:
    HGLOBAL m_block;
    void* m_data;
    size_t m_size;
};

inline CGlobalMemory CGlobalMemory::CopyOf(HGLOBAL source) {
    CGlobalLock from(source);
    if (!from.Get()) return CGlobalMemory();
    CGlobalMemory copy = Allocate(from.Size() ? from.Size() : 1);
    CGlobalLock to(copy.Get());
    if (!to.Get()) return CGlobalMemory();
    if (from.Size()) ::CopyMemory(to.Get(), from.Get(), from.Size());
    return copy;
}
