// Decodes a generated corpus of distorted QR pictures with our decoder, zbar
// and zxing-cpp in the same run, and prints per class how many pictures each
// read correctly and the median time per picture.
#include <zbar.h>

#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "codec/decoder/qr_decoder.h"

namespace fs = std::filesystem;

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    std::vector<std::string> expected; // sorted payloads
    std::string name;
};

bool ReadPgm(const fs::path& path, Picture* p) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    in >> magic >> p->width >> p->height >> maximum;
    in.get();
    if (!in || magic != "P5" || maximum != 255)
        return false;
    p->pixels.resize(static_cast<size_t>(p->width) * p->height);
    in.read(reinterpret_cast<char*>(p->pixels.data()),
            static_cast<std::streamsize>(p->pixels.size()));
    return static_cast<bool>(in);
}

std::vector<std::string> ReadLines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

using Texts = std::vector<std::string>;

Texts DecodeOurs(const Picture& p) {
    Texts out;
    for (const auto& s :
         kodaro::codec::DecodeQrSymbols({p.pixels.data(), p.width, p.height, p.width}))
        out.push_back(s.text);
    return out;
}

Texts DecodeZbar(const Picture& p) {
    Texts out;
    zbar::ImageScanner scanner;
    scanner.set_config(zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 0);
    scanner.set_config(zbar::ZBAR_QRCODE, zbar::ZBAR_CFG_ENABLE, 1);
    zbar::Image image(static_cast<unsigned>(p.width), static_cast<unsigned>(p.height), "Y800",
                      p.pixels.data(), p.pixels.size());
    scanner.scan(image);
    for (auto s = image.symbol_begin(); s != image.symbol_end(); ++s)
        out.push_back(s->get_data());
    image.set_data(nullptr, 0);
    return out;
}

Texts DecodeZxing(const Picture& p) {
    Texts out;
    const ZXing::ImageView view(p.pixels.data(), p.width, p.height, ZXing::ImageFormat::Lum);
    const auto hints = ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode);
    for (const auto& r : ZXing::ReadBarcodes(view, hints))
        if (r.isValid())
            out.push_back(r.text());
    return out;
}

struct Tally {
    int correct = 0;
    // Texts reported that the picture does not hold: worse than no read.
    int wrong = 0;
    // Lists this decoder's wrong texts and missed pictures.
    bool showWrong = false;
    std::vector<double> milliseconds;
};

double Median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Each decoder reads each picture a few times and keeps its fastest time, so
// the other work on a shared machine disturbs the comparison less.
constexpr int kTimings = 3;

template <typename Fn> void Run(Fn decode, const Picture& p, Tally* tally) {
    Texts texts;
    double best = 1e30;
    for (int k = 0; k < kTimings; ++k) {
        const auto start = std::chrono::steady_clock::now();
        texts = decode(p);
        const auto end = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
    }
    tally->milliseconds.push_back(best);
    std::sort(texts.begin(), texts.end());
    if (texts == p.expected)
        ++tally->correct;
    else if (tally->showWrong)
        std::printf("  missed %s\n", p.name.c_str());
    std::vector<std::string> unexpected;
    std::set_difference(texts.begin(), texts.end(), p.expected.begin(), p.expected.end(),
                        std::back_inserter(unexpected));
    tally->wrong += static_cast<int>(unexpected.size());
    if (tally->showWrong)
        for (const auto& text : unexpected)
            std::printf("  wrong text from %s: %s\n", p.name.c_str(), text.c_str());
}

void Add(Tally* all, const Tally& one) {
    all->correct += one.correct;
    all->wrong += one.wrong;
    all->milliseconds.insert(all->milliseconds.end(), one.milliseconds.begin(),
                             one.milliseconds.end());
}

// A phone photograph of 4000 x 3000 pixels: a cluttered, unevenly lit scene
// with one small symbol (taken from `symbol`) somewhere in it.
Picture PhoneScene(const Picture& symbol, uint32_t seed) {
    Picture scene;
    scene.width = 4000;
    scene.height = 3000;
    scene.pixels.resize(static_cast<size_t>(scene.width) * scene.height);
    uint32_t state = seed;
    auto random = [&] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int y = 0; y < scene.height; ++y)
        for (int x = 0; x < scene.width; ++x)
            scene.pixels[static_cast<size_t>(y) * scene.width + x] = static_cast<uint8_t>(
                90 + 100 * x / scene.width + 40 * y / scene.height + random() % 17);
    // Edges and blocks of a scene: boxes of other shades.
    for (int k = 0; k < 60; ++k) {
        const int w = 40 + static_cast<int>(random() % 400);
        const int h = 40 + static_cast<int>(random() % 300);
        const int x0 = static_cast<int>(random() % (scene.width - w));
        const int y0 = static_cast<int>(random() % (scene.height - h));
        const auto shade = static_cast<uint8_t>(random() % 256);
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                scene.pixels[static_cast<size_t>(y) * scene.width + x] = shade;
    }
    const int x0 = 600 + static_cast<int>(random() % 2400);
    const int y0 = 400 + static_cast<int>(random() % 1800);
    for (int y = 0; y < symbol.height && y0 + y < scene.height; ++y)
        for (int x = 0; x < symbol.width && x0 + x < scene.width; ++x)
            scene.pixels[static_cast<size_t>(y0 + y) * scene.width + x0 + x] =
                symbol.pixels[static_cast<size_t>(y) * symbol.width + x];
    scene.expected = symbol.expected;
    scene.name = "12-megapixel scene with " + symbol.name;
    return scene;
}

} // namespace

int main(int argc, char** argv) {
    // The corpus is generated once into the build folder, never into the sources.
    const fs::path corpus =
        argc > 1 ? fs::path(argv[1]) : fs::path(KODARO_BENCH_DIR) / "decoder_corpus";
    if (!fs::exists(corpus / ".complete")) {
        const std::string command = std::string("bash \"") + KODARO_SOURCE_DIR +
                                    "/bench/decoder/make_corpus.sh\" \"" + corpus.string() + "\"";
        std::printf("generating the corpus: %s\n", command.c_str());
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "corpus generation failed\n");
            return 1;
        }
    }
    // No outside encoder writes the old model; our own writer adds its class.
    if (!fs::exists(corpus / "model1")) {
        const std::string command = std::string("bash \"") + KODARO_SOURCE_DIR +
                                    "/bench/decoder/make_model1_class.sh\" \"" + corpus.string() +
                                    "\" \"" + KODARO_MODEL1_SYMBOL + "\"";
        std::printf("adding the old model's class: %s\n", command.c_str());
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "generating the old model's class failed\n");
            return 1;
        }
    }
    std::vector<fs::path> classes;
    for (const auto& entry : fs::directory_iterator(corpus))
        if (entry.is_directory())
            classes.push_back(entry.path());
    std::sort(classes.begin(), classes.end());

    std::printf("%-12s %4s | %5s %5s %5s | %5s %5s %5s | %8s %8s %8s\n", "class", "n", "ours",
                "zbar", "zxing", "wrong", "zbar", "zxing", "ours ms", "zbar ms", "zxing ms");
    Tally allOurs, allZbar, allZxing;
    allOurs.showWrong = true;
    int total = 0;
    std::vector<Picture> sceneSymbols;
    for (const auto& dir : classes) {
        Tally ours, zbarTally, zxingTally;
        ours.showWrong = true;
        int n = 0;
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.path().extension() == ".pgm")
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            Picture p;
            if (!ReadPgm(file, &p))
                continue;
            p.expected = ReadLines(fs::path(file).replace_extension(".txt"));
            p.name = dir.filename().string() + "/" + file.filename().string();
            ++n;
            Run(DecodeOurs, p, &ours);
            Run(DecodeZbar, p, &zbarTally);
            Run(DecodeZxing, p, &zxingTally);
            if (dir.filename() == "perspective" && sceneSymbols.size() < 5)
                sceneSymbols.push_back(p);
        }
        const int best = std::max(zbarTally.correct, zxingTally.correct);
        std::printf("%-12s %4d | %5d %5d %5d | %5d %5d %5d | %8.2f %8.2f %8.2f%s\n",
                    dir.filename().string().c_str(), n, ours.correct, zbarTally.correct,
                    zxingTally.correct, ours.wrong, zbarTally.wrong, zxingTally.wrong,
                    Median(ours.milliseconds), Median(zbarTally.milliseconds),
                    Median(zxingTally.milliseconds),
                    ours.correct < best         ? "  below the best peer"
                    : ours.correct * 10 < n * 9 ? "  below 90 %"
                                                : "");
        total += n;
        Add(&allOurs, ours);
        Add(&allZbar, zbarTally);
        Add(&allZxing, zxingTally);
    }
    const double share = 100.0 / std::max(total, 1);
    std::printf("%-12s %4d | %4.1f%% %4.1f%% %4.1f%% | %5d %5d %5d | %8.2f %8.2f %8.2f\n", "all",
                total, allOurs.correct * share, allZbar.correct * share, allZxing.correct * share,
                allOurs.wrong, allZbar.wrong, allZxing.wrong, Median(allOurs.milliseconds),
                Median(allZbar.milliseconds), Median(allZxing.milliseconds));
    std::printf("ours - zxing: %+.1f points; median time ours / zxing: %.2f; ours / zbar: %.2f\n",
                (allOurs.correct - allZxing.correct) * share,
                Median(allOurs.milliseconds) / std::max(Median(allZxing.milliseconds), 1e-9),
                Median(allOurs.milliseconds) / std::max(Median(allZbar.milliseconds), 1e-9));

    // Large pictures: what a phone camera delivers.
    Tally sceneOurs, sceneZxing;
    sceneOurs.showWrong = true;
    for (size_t i = 0; i < sceneSymbols.size(); ++i) {
        const Picture scene = PhoneScene(sceneSymbols[i], static_cast<uint32_t>(i + 1));
        Run(DecodeOurs, scene, &sceneOurs);
        Run(DecodeZxing, scene, &sceneZxing);
    }
    std::printf("12-megapixel photographs: ours read %d of %zu, median %.1f ms (zxing %d, %.1f "
                "ms)\n",
                sceneOurs.correct, sceneSymbols.size(), Median(sceneOurs.milliseconds),
                sceneZxing.correct, Median(sceneZxing.milliseconds));
    return 0;
}
