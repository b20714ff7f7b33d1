#include "ClsIniFileParser.h"

#include "FileHandle.h"
#include "IniScanner.h"

#include <windows.h>

#include <cstring>
#include <exception>
#include <new>

ClsIniFileParser::ClsIniFileParser(const char* path) {
    if (!ReadWholeFile(path)) return;
    // Running out of memory half-way leaves nothing half-built.
    try {
        IniScanner scanner(m_contents.get(), m_size);
        scanner.Scan(*this);
    } catch (const std::exception&) {
        Clear();
    }
    m_current = nullptr;
}

ClsIniFileParser::~ClsIniFileParser() = default;

bool ClsIniFileParser::ReadWholeFile(const char* path) {
    if (!path) return false;
    // Shared for writing too: a skin editor may hold the file open.
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > UINT32_MAX)
        return false;
    const auto byteCount = static_cast<uint32_t>(size.QuadPart);
    std::unique_ptr<char[]> contents(new (std::nothrow) char[byteCount]);
    if (!contents) return false;
    DWORD read = 0;
    if (!ReadFile(file.Get(), contents.get(), byteCount, &read, nullptr) || read != byteCount)
        return false;
    m_contents = std::move(contents);
    m_size = byteCount;
    return true;
}

void ClsIniFileParser::Clear() {
    m_sections.clear();
    m_sections.shrink_to_fit();
    m_current = nullptr;
    m_contents.reset();
    m_size = 0;
}

ClsIniFileSection* ClsIniFileParser::FindSection(const char* name) const {
    if (!name) return nullptr;
    for (const auto& section : m_sections) {
        if (std::strcmp(section->GetName(), name) == 0) return section.get();
    }
    return nullptr;
}

void ClsIniFileParser::OnSection(const char* name, uint32_t nameLength) {
    m_sections.push_back(std::make_unique<ClsIniFileSection>(name, nameLength));
    m_current = m_sections.back().get();
}

void ClsIniFileParser::OnEntry(const char* name, uint32_t nameLength, const char* value,
                               uint32_t valueLength, bool quoted) {
    // The scanner reports entries only after a header.
    if (!m_current) return;
    m_current->AddToken(std::make_unique<ClsIniFileToken>(name, nameLength, value, valueLength, quoted));
}
