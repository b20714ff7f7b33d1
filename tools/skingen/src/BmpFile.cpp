#include "BmpFile.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace skingen {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
// Caps what a damaged header can make us allocate.
constexpr int64_t kMaxSide = 16384;

size_t rowStride(int width) { return (size_t(width) * 3 + 3) & ~size_t(3); }

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
uint32_t get16(const std::vector<uint8_t>& in, size_t at) { return uint32_t(in[at]) | uint32_t(in[at + 1]) << 8; }
uint32_t get32(const std::vector<uint8_t>& in, size_t at) { return get16(in, at) | get16(in, at + 2) << 16; }

}  // namespace

std::vector<uint8_t> encodeBmp(const RgbImage& image) {
    const size_t stride = rowStride(image.width());
    const size_t pixelBytes = stride * size_t(image.height());
    const size_t offset = kFileHeaderSize + kInfoHeaderSize;
    std::vector<uint8_t> out;
    out.reserve(offset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, uint32_t(offset + pixelBytes));
    put32(out, 0);  // two reserved words
    put32(out, uint32_t(offset));
    put32(out, uint32_t(kInfoHeaderSize));
    put32(out, uint32_t(image.width()));
    put32(out, uint32_t(image.height()));  // positive: bottom-up
    put16(out, 1);                         // planes
    put16(out, 24);                        // bits per pixel
    put32(out, 0);                         // no compression
    put32(out, uint32_t(pixelBytes));
    put32(out, 2835);  // 72 dpi, as most tools write
    put32(out, 2835);
    put32(out, 0);  // no colour table
    put32(out, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            Rgb c = image.at(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        out.resize(out.size() + stride - size_t(image.width()) * 3, 0);
    }
    return out;
}

std::optional<RgbImage> decodeBmp(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    const size_t offset = get32(bytes, 10);
    const uint32_t infoSize = get32(bytes, 14);
    const int64_t width = int32_t(get32(bytes, 18));
    const int64_t signedHeight = int32_t(get32(bytes, 22));
    const uint32_t planes = get16(bytes, 26), bits = get16(bytes, 28), compression = get32(bytes, 30);
    if (infoSize < kInfoHeaderSize || planes != 1 || bits != 24 || compression != 0)
        return std::nullopt;
    const int64_t height = signedHeight < 0 ? -signedHeight : signedHeight;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return std::nullopt;
    const size_t stride = rowStride(int(width));
    if (offset < kFileHeaderSize + infoSize || offset > bytes.size() ||
        bytes.size() - offset < stride * size_t(height))
        return std::nullopt;
    RgbImage image{int(width), int(height)};
    for (int64_t row = 0; row < height; ++row) {
        const int y = int(signedHeight > 0 ? height - 1 - row : row);
        const uint8_t* p = bytes.data() + offset + size_t(row) * stride;
        for (int x = 0; x < int(width); ++x, p += 3)
            image.set(x, y, Rgb(p[2], p[1], p[0]));
    }
    return image;
}

bool writeBmpFile(const std::string& path, const RgbImage& image) {
    const std::vector<uint8_t> bytes = encodeBmp(image);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}

std::optional<RgbImage> readBmpFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return decodeBmp(bytes);
}

}  // namespace skingen
