#pragma once
// Contact arrays the program keeps for later (the current tree, the last
// search result, the member's own contact list): one block with the count
// stored just ahead of the first record. OrvContactArray is the one owner of
// such a block; Get() is the record pointer that travels with Count().
#include "CException.h"
#include "OrvContactInfo.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace orv_detail {
// The count sits in a header as wide as the record's alignment, so the
// records behind it stay aligned.
constexpr size_t kContactArrayHeader = alignof(ORVCONTACTINFO) > sizeof(int32_t)
                                           ? alignof(ORVCONTACTINFO)
                                           : sizeof(int32_t);
}  // namespace orv_detail

class OrvContactArray {
public:
    OrvContactArray() = default;
    // count default records; a negative count gives an empty array.
    explicit OrvContactArray(int count) { Allocate(count); }
    // Copies count records; records may be null when count is 0.
    OrvContactArray(const ORVCONTACTINFO* records, int count) {
        Allocate(count);
        for (int i = 0; i < Count(); ++i) m_records[i] = records[i];
    }
    ~OrvContactArray() { Free(); }
    OrvContactArray(const OrvContactArray&) = delete;
    OrvContactArray& operator=(const OrvContactArray&) = delete;
    OrvContactArray(OrvContactArray&& other) noexcept : m_records(other.m_records) {
        other.m_records = nullptr;
    }
    OrvContactArray& operator=(OrvContactArray&& other) noexcept {
        if (this != &other) {
            Free();
            m_records = other.m_records;
            other.m_records = nullptr;
        }
        return *this;
    }

    ORVCONTACTINFO* Get() { return m_records; }
    const ORVCONTACTINFO* Get() const { return m_records; }
    int Count() const { return m_records ? CountOf(m_records) : 0; }
    ORVCONTACTINFO& operator[](int index) { return m_records[index]; }
    const ORVCONTACTINFO& operator[](int index) const { return m_records[index]; }

    // The count stored ahead of a block made by this class.
    static int CountOf(const ORVCONTACTINFO* records) {
        return *reinterpret_cast<const int32_t*>(reinterpret_cast<const char*>(records) -
                                                 orv_detail::kContactArrayHeader);
    }

private:
    void Allocate(int count) {
        if (count <= 0) return;
        const size_t limit = (SIZE_MAX - orv_detail::kContactArrayHeader) / sizeof(ORVCONTACTINFO);
        if (static_cast<size_t>(count) > limit) AfxThrowMemoryException();
        char* block = static_cast<char*>(std::malloc(
            orv_detail::kContactArrayHeader + sizeof(ORVCONTACTINFO) * static_cast<size_t>(count)));
        if (!block) AfxThrowMemoryException();
        *reinterpret_cast<int32_t*>(block) = count;
        auto* records = reinterpret_cast<ORVCONTACTINFO*>(block + orv_detail::kContactArrayHeader);
        for (int i = 0; i < count; ++i) new (&records[i]) ORVCONTACTINFO();
        m_records = records;
    }
    // Record by record, then the block.
    void Free() {
        if (!m_records) return;
        const int count = CountOf(m_records);
        for (int i = 0; i < count; ++i) m_records[i].~ORVCONTACTINFO();
        std::free(reinterpret_cast<char*>(m_records) - orv_detail::kContactArrayHeader);
        m_records = nullptr;
    }

    ORVCONTACTINFO* m_records = nullptr;
};
