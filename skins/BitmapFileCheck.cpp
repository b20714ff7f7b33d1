#include "BitmapFileCheck.h"

#include "FileHandle.h"

#include <windows.h>

#include <cstdint>

namespace {

uint16_t Read16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }
uint32_t Read32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
           (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kLargestInfoHeader = 124;  // BITMAPV5HEADER

}  // namespace

const char* BitmapFileCheck::Check(const char* path) {
    if (!path || !*path) return "no file name";
    FileHandle file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return "file not found or not readable";
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) return "file size unknown";
    const int64_t fileSize = size.QuadPart;

    uint8_t head[kFileHeaderSize + kInfoHeaderSize] = {};
    DWORD read = 0;
    if (!::ReadFile(file.Get(), head, sizeof head, &read, nullptr)) return "file not readable";
    if (read < kFileHeaderSize + kCoreHeaderSize) return "too short for a bitmap";
    if (head[0] != 'B' || head[1] != 'M') return "not a bitmap file";

    const uint32_t pixelOffset = Read32(head + 10);
    const uint8_t* info = head + kFileHeaderSize;
    const uint32_t infoSize = Read32(info);
    int64_t width = 0, height = 0;
    uint32_t planes = 0, bits = 0, compression = BI_RGB;
    if (infoSize == kCoreHeaderSize) {
        width = Read16(info + 4);
        height = Read16(info + 6);
        planes = Read16(info + 8);
        bits = Read16(info + 10);
    } else if (infoSize >= kInfoHeaderSize && infoSize <= kLargestInfoHeader) {
        if (read < kFileHeaderSize + kInfoHeaderSize) return "bitmap header truncated";
        width = static_cast<int32_t>(Read32(info + 4));
        height = static_cast<int32_t>(Read32(info + 8));
        planes = Read16(info + 12);
        bits = Read16(info + 14);
        compression = Read32(info + 16);
    } else {
        return "unknown bitmap header";
    }
    if (kFileHeaderSize + int64_t{infoSize} > fileSize) return "bitmap header truncated";

    if (height < 0) height = -height;
    if (width < 1 || height < 1) return "empty bitmap";
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) return "bitmap too large";
    if (planes != 1) return "bad plane count";
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return "unsupported pixel depth";
    if (pixelOffset >= fileSize) return "pixels missing";

    switch (compression) {
    case BI_RGB:
    case BI_BITFIELDS: {
        const int64_t stride = (width * bits + 31) / 32 * 4;
        if (pixelOffset + stride * height > fileSize) return "pixels truncated";
        return nullptr;
    }
    case BI_RLE8:
    case BI_RLE4:
        // Run-length data has no fixed size; the loader stops at its end.
        return nullptr;
    default:
        return "unsupported compression";
    }
}
