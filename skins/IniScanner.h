#pragma once
// The byte scanner of skin description files. Lines end at CR (one LF right
// after it belongs to the line end; a lone LF is an ordinary byte). Comments
// (#, ;, //) and headers ([name]) count only in the first column; whatever
// cannot be read is skipped, never reported.
#include "IIniScanSink.h"

#include <cstddef>
#include <cstdint>

class IniScanner {
public:
    // The buffer is borrowed and must outlive Scan.
    IniScanner(const char* bytes, uint32_t size);
    IniScanner(const IniScanner&) = delete;
    IniScanner& operator=(const IniScanner&) = delete;

    // One pass over the whole buffer, reporting headers and entries in order.
    void Scan(IIniScanSink& sink);
    // Byte reads of the last Scan: every byte is read a few times at most, so
    // the work of a scan stays proportional to the size of the buffer.
    uint64_t GetBytesExamined() const { return m_examined; }

private:
    char At(size_t pos) {
        ++m_examined;
        return m_bytes[pos];
    }
    bool IsLineEnd(size_t pos) { return pos >= m_size || At(pos) == '\r'; }
    bool StartsComment(char first, size_t pos);
    size_t SkipBlanks(size_t pos);
    // Past the next CR (and one LF right after it), or the end.
    size_t SkipLine(size_t pos);
    // These return where scanning goes on; skipRest asks for the rest of that
    // line to be skipped.
    size_t ScanHeader(size_t pos, IIniScanSink& sink, bool& skipRest);
    size_t ScanEntry(size_t pos, IIniScanSink& sink, bool& skipRest);
    size_t ScanQuotedValue(size_t pos, const char* name, uint32_t nameLength, IIniScanSink& sink,
                           bool& skipRest);

    const char* m_bytes;
    size_t m_size;
    bool m_inSection = false;
    uint64_t m_examined = 0;
};
