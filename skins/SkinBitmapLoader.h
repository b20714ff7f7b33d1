#pragma once
// Loads a skin's .bmp file into a ClsBitMap after looking at its headers, so
// that a damaged or hostile file (truncated, garbage, absurd sizes) is
// refused instead of making the system allocate for pixels the file does not
// hold. The file is read once; the usual kinds (uncompressed or bit-field
// pixels after a Windows information header) become a DIB section straight
// from that read, the rest (run lengths, the old core header) goes to the
// system's loader once its headers passed.
class ClsBitMap;

class SkinBitmapLoader {
public:
    // The largest width and height of a skin bitmap, and of their product.
    static constexpr int kMaxSide = 8192;
    static constexpr long long kMaxPixels = 16LL * 1024 * 1024;

    // Null when image now holds the file's bitmap; otherwise why not (the
    // image is then empty).
    static const char* Load(const char* path, ClsBitMap& image);
};
