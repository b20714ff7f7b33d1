#pragma once
// Looks at the headers of a .bmp file before the system loads it, so that a
// damaged or hostile skin bitmap (truncated, garbage, absurd sizes) is refused
// instead of making the loader allocate for pixels the file does not hold.

class BitmapFileCheck {
public:
    // The largest width and height of a skin bitmap, and of their product.
    static constexpr int kMaxSide = 8192;
    static constexpr long long kMaxPixels = 16LL * 1024 * 1024;

    // Null when the file looks like a loadable bitmap; otherwise why not.
    static const char* Check(const char* path);
};
