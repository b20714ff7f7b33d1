#include "SoundBaseFolder.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <fstream>

namespace {

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data{};
    const HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + "\\");
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

void PutLittleEndian(std::string& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

SoundBaseFolder::SoundBaseFolder() {
    static std::atomic<unsigned> s_serial{0};
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    m_path = std::string(temp) + "orv-sounds-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++s_serial) + "\\";
    CreateDirectoryA(m_path.c_str(), nullptr);
}

SoundBaseFolder::~SoundBaseFolder() { RemoveTree(m_path); }

void SoundBaseFolder::MakeFolder(const std::string& relative) const {
    std::string path = m_path;
    for (char ch : relative) {
        if (ch == '\\' || ch == '/') CreateDirectoryA(path.c_str(), nullptr);
        path += ch;
    }
    CreateDirectoryA(path.c_str(), nullptr);
}

void SoundBaseFolder::WriteFile(const std::string& relative, const std::string& bytes) const {
    const size_t separator = relative.find_last_of("\\/");
    if (separator != std::string::npos) MakeFolder(relative.substr(0, separator));
    std::ofstream(m_path + relative, std::ios::binary | std::ios::trunc) << bytes;
}

void SoundBaseFolder::WriteWave(const std::string& relative) const {
    constexpr uint32_t kRate = 8000;
    constexpr uint32_t kSamples = 400;
    std::string samples;
    for (uint32_t i = 0; i < kSamples; ++i) PutLittleEndian(samples, (i % 20 < 10) ? 4000 : 0xF060, 2);
    std::string wave = "RIFF";
    PutLittleEndian(wave, 36 + static_cast<uint32_t>(samples.size()), 4);
    wave += "WAVEfmt ";
    PutLittleEndian(wave, 16, 4);
    PutLittleEndian(wave, 1, 2);  // PCM
    PutLittleEndian(wave, 1, 2);  // mono
    PutLittleEndian(wave, kRate, 4);
    PutLittleEndian(wave, kRate * 2, 4);
    PutLittleEndian(wave, 2, 2);
    PutLittleEndian(wave, 16, 2);
    wave += "data";
    PutLittleEndian(wave, static_cast<uint32_t>(samples.size()), 4);
    WriteFile(relative, wave + samples);
}

void SoundBaseFolder::Remove(const std::string& relative) const {
    const std::string path = m_path + relative;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path + "\\");
    else
        DeleteFileA(path.c_str());
}

void SoundBaseFolder::MakeThema(const std::string& directory, const std::string& description,
                                std::initializer_list<const char*> waves) const {
    MakeFolder(directory);
    WriteFile(directory + "\\Theme.txt", description);
    for (const char* wave : waves) WriteWave(directory + "\\" + wave);
}

std::string Description(const std::string& name, std::initializer_list<const char*> eventLines) {
    std::string text = "[Theme]\r\nName=" + name + "\r\n[Events]\r\n";
    for (const char* line : eventLines) text += std::string(line) + "\r\n";
    return text;
}
