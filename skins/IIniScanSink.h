#pragma once
// Receives what IniScanner finds, in file order. Pointers point into the
// scanned buffer and are valid only during the call; nothing is NUL-terminated.
#include <cstdint>

class IIniScanSink {
public:
    // A "[name]" header in the first column; the name is never empty.
    virtual void OnSection(const char* name, uint32_t nameLength) = 0;
    // A "name = value" entry after the first header; the name is never empty,
    // the value may be (valueLength 0). quoted: the value stood in ' or ".
    virtual void OnEntry(const char* name, uint32_t nameLength, const char* value,
                         uint32_t valueLength, bool quoted) = 0;

protected:
    ~IIniScanSink() = default;
};
