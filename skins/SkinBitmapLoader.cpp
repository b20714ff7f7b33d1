#include "SkinBitmapLoader.h"

#include "FileHandle.h"

#include "ClsBitMap.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace {

uint16_t Read16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }
uint32_t Read32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
           (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

constexpr int64_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kLargestInfoHeader = 124;  // BITMAPV5HEADER
constexpr int64_t kLargestColorTable = 256 * 4;
// Headers, the largest colour table and 32-bit pixels of the largest bitmap.
constexpr int64_t kMaxFileSize =
    kFileHeaderSize + kLargestInfoHeader + kLargestColorTable + SkinBitmapLoader::kMaxPixels * 4;

// What the headers say, once they made sense.
struct Layout {
    uint32_t infoSize = 0;
    uint32_t pixelOffset = 0;
    int64_t height = 0;  // rows, without the sign
    int64_t stride = 0;
    uint32_t compression = BI_RGB;
};

const char* ReadLayout(const uint8_t* file, int64_t fileSize, Layout& layout) {
    if (fileSize < kFileHeaderSize + kCoreHeaderSize) return "too short for a bitmap";
    if (file[0] != 'B' || file[1] != 'M') return "not a bitmap file";
    layout.pixelOffset = Read32(file + 10);
    const uint8_t* info = file + kFileHeaderSize;
    layout.infoSize = Read32(info);
    int64_t width = 0, height = 0;
    uint32_t planes = 0, bits = 0, colorsUsed = 0;
    if (layout.infoSize == kCoreHeaderSize) {
        width = Read16(info + 4);
        height = Read16(info + 6);
        planes = Read16(info + 8);
        bits = Read16(info + 10);
    } else if (layout.infoSize >= kInfoHeaderSize && layout.infoSize <= kLargestInfoHeader) {
        if (kFileHeaderSize + layout.infoSize > fileSize) return "bitmap header truncated";
        width = static_cast<int32_t>(Read32(info + 4));
        height = static_cast<int32_t>(Read32(info + 8));
        planes = Read16(info + 12);
        bits = Read16(info + 14);
        layout.compression = Read32(info + 16);
        colorsUsed = Read32(info + 32);
    } else {
        return "unknown bitmap header";
    }
    if (kFileHeaderSize + layout.infoSize > fileSize) return "bitmap header truncated";
    if (height < 0) height = -height;
    if (width < 1 || height < 1) return "empty bitmap";
    if (width > SkinBitmapLoader::kMaxSide || height > SkinBitmapLoader::kMaxSide ||
        width * height > SkinBitmapLoader::kMaxPixels)
        return "bitmap too large";
    if (planes != 1) return "bad plane count";
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return "unsupported pixel depth";
    if (layout.pixelOffset >= fileSize) return "pixels missing";
    layout.height = height;
    layout.stride = (width * bits + 31) / 32 * 4;

    // The colour table (or the three masks after a plain information
    // header) lies between the header and the pixels.
    int64_t table = 0;
    if (layout.infoSize == kCoreHeaderSize) {
        table = bits <= 8 ? (int64_t{1} << bits) * 3 : 0;
    } else if (bits <= 8) {
        if (colorsUsed > (1u << bits)) return "colour table too long";
        table = int64_t{colorsUsed ? colorsUsed : (1u << bits)} * 4;
    } else {
        if (colorsUsed > 256) return "colour table too long";
        table = int64_t{colorsUsed} * 4;
        if (layout.compression == BI_BITFIELDS && layout.infoSize == kInfoHeaderSize) table += 12;
    }
    if (kFileHeaderSize + layout.infoSize + table > layout.pixelOffset) return "colour table truncated";

    switch (layout.compression) {
    case BI_RGB:
    case BI_BITFIELDS:
        if (layout.pixelOffset + layout.stride * height > fileSize) return "pixels truncated";
        return nullptr;
    case BI_RLE8:
    case BI_RLE4:
        // Run-length data has no fixed size; the system's loader stops at its end.
        return nullptr;
    default:
        return "unsupported compression";
    }
}

}  // namespace

const char* SkinBitmapLoader::Load(const char* path, ClsBitMap& image) {
    image.DeleteObject();
    if (!path || !*path) return "no file name";
    FileHandle file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return "file not found or not readable";
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) return "file size unknown";
    if (size.QuadPart > kMaxFileSize) return "bitmap file too large";
    const auto fileSize = static_cast<DWORD>(size.QuadPart);
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[fileSize ? fileSize : 1]);
    if (!bytes) return "out of memory";
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.get(), fileSize, &read, nullptr) || read != fileSize) return "file not readable";
    file.Reset();

    Layout layout;
    if (const char* refused = ReadLayout(bytes.get(), fileSize, layout)) return refused;
    if (layout.infoSize == kCoreHeaderSize || layout.compression == BI_RLE8 || layout.compression == BI_RLE4) {
        bytes.reset();
        return image.LoadFromFile(path) ? nullptr : "the system could not load the bitmap";
    }
    // The information header and its table, as the file holds them, describe
    // the section; the pixel rows are copied in as they stand.
    void* pixels = nullptr;
    image.Attach(::CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(bytes.get() + kFileHeaderSize),
                                    DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!image.GetIsValid() || !pixels) {
        image.DeleteObject();
        return "the system could not make the bitmap";
    }
    std::memcpy(pixels, bytes.get() + layout.pixelOffset, static_cast<size_t>(layout.stride * layout.height));
    return nullptr;
}
