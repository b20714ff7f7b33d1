#pragma once
// A cabinet archive read with libmspack: the list of its files and the
// extraction of one file to a path. Files are read and written through the
// updater's own file layer, which counts every block written and stops
// between blocks when asked to.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct mscab_decompressor;
struct mscabd_cabinet;
struct mscabd_file;

class CabinetArchive {
public:
    struct Entry {
        std::string name;  // as stored: ANSI, or UTF-8 when utf8 is set
        bool utf8 = false;
        uint32_t length = 0;
        const mscabd_file* file = nullptr;
    };
    // Called after each block written with its size; false stops the
    // extraction (the file fails).
    using BlockWritten = std::function<bool(uint32_t bytes)>;
    // libmspack's warnings, for the log.
    using Warning = std::function<void(const char* text)>;

    CabinetArchive(BlockWritten blockWritten, Warning warning);
    ~CabinetArchive();
    CabinetArchive(const CabinetArchive&) = delete;
    CabinetArchive& operator=(const CabinetArchive&) = delete;

    // Opens the archive and reads its directory; false when it cannot be
    // read or is not a cabinet ("MSCF").
    bool Open(const std::string& path);
    const std::vector<Entry>& Entries() const { return m_entries; }
    uint64_t TotalSize() const;
    // Writes one file to outputPath (created or replaced). False on damaged
    // data, a failed write or a stop; LastError says which.
    bool Extract(const Entry& entry, const std::string& outputPath);
    // libmspack's code of the last failure (MSPACK_ERR_...).
    int LastError() const { return m_lastError; }

    struct System;  // libmspack's system interface, bound to this archive

private:
    std::unique_ptr<System> m_system;
    mscab_decompressor* m_decompressor = nullptr;
    mscabd_cabinet* m_cabinet = nullptr;
    std::vector<Entry> m_entries;
    int m_lastError = 0;
};
