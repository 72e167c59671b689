// Writes one symbol of the old QR model as a PGM picture for the benchmark
// corpus (no outside encoder writes them):
//   model1_symbol OUTPUT.pgm VERSION LEVEL(0-3) MASK(0-7) MODULE_PIXELS TEXT
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/codec/decoder/model1_writer.h"

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s OUTPUT.pgm VERSION LEVEL MASK MODULE_PIXELS TEXT\n",
                     argv[0]);
        return 2;
    }
    const int version = std::atoi(argv[2]);
    const int level = std::atoi(argv[3]);
    const int mask = std::atoi(argv[4]);
    const int scale = std::atoi(argv[5]);
    if (version < 1 || version > 14 || level < 0 || level > 3 || mask < 0 || mask > 7 ||
        scale < 1 || scale > 20) {
        std::fprintf(stderr, "version 1-14, level 0-3, mask 0-7, 1-20 pixels a module\n");
        return 2;
    }
    const auto modules = kodaro::codec::testing::WriteModel1Symbol(
        argv[6], version, static_cast<kodaro::codec::EcLevel>(level), mask);
    if (modules.empty()) {
        std::fprintf(stderr, "the text does not fit\n");
        return 1;
    }
    const int size = 17 + 4 * version;
    const int side = (size + 8) * scale; // four light modules round it
    std::string pixels(static_cast<size_t>(side) * side, '\xff');
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int row = y / scale - 4;
            const int col = x / scale - 4;
            if (row >= 0 && row < size && col >= 0 && col < size &&
                modules[static_cast<size_t>(row * size + col)])
                pixels[static_cast<size_t>(y) * side + x] = 0;
        }
    std::ofstream out(argv[1], std::ios::binary);
    out << "P5\n" << side << ' ' << side << "\n255\n" << pixels;
    return out ? 0 : 1;
}
