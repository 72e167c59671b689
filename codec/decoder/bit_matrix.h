#pragma once
// A grid of dark/light cells: the thresholded picture, or the modules sampled
// from one symbol. One byte per cell keeps access simple and fast.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kodaro::codec {

// A greyscale picture owned by the caller: rows of `width` bytes, `stride`
// bytes apart, 0 = black, 255 = white.
struct GreyImage {
    const uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

class BitMatrix {
public:
    BitMatrix() = default;
    BitMatrix(int width, int height)
        : width_(width), height_(height), cells_(static_cast<size_t>(width) * height, 0) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Get(int x, int y) const { return cells_[static_cast<size_t>(y) * width_ + x] != 0; }
    // Cells outside the grid read as light.
    bool GetSafe(int x, int y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_ && Get(x, y);
    }
    void Set(int x, int y, bool dark) {
        cells_[static_cast<size_t>(y) * width_ + x] = dark ? 1 : 0;
    }
    void Flip(int x, int y) { cells_[static_cast<size_t>(y) * width_ + x] ^= 1; }
    const uint8_t* Row(int y) const { return cells_.data() + static_cast<size_t>(y) * width_; }
    uint8_t* Row(int y) { return cells_.data() + static_cast<size_t>(y) * width_; }

    void Invert() {
        for (auto& c : cells_)
            c ^= 1;
    }
    // Swaps rows and columns: a mirrored symbol read the right way round.
    BitMatrix Transposed() const {
        BitMatrix t(height_, width_);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                t.Set(y, x, Get(x, y));
        return t;
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> cells_;
};

} // namespace kodaro::codec
