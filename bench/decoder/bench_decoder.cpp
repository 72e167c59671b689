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
    std::vector<double> milliseconds;
};

double Median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename Fn> void Run(Fn decode, const Picture& p, Tally* tally) {
    const auto start = std::chrono::steady_clock::now();
    Texts texts = decode(p);
    const auto end = std::chrono::steady_clock::now();
    tally->milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    std::sort(texts.begin(), texts.end());
    if (texts == p.expected)
        ++tally->correct;
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
    std::vector<fs::path> classes;
    for (const auto& entry : fs::directory_iterator(corpus))
        if (entry.is_directory())
            classes.push_back(entry.path());
    std::sort(classes.begin(), classes.end());

    std::printf("%-12s %5s | %6s %6s %6s | %9s %9s %9s\n", "class", "n", "ours", "zbar", "zxing",
                "ours ms", "zbar ms", "zxing ms");
    Tally allOurs, allZbar, allZxing;
    int total = 0;
    // zxing-cpp 1.4 has no light-on-dark mode, so the totals are also shown
    // without that class.
    int invertedPictures = 0;
    int invertedOurs = 0;
    int invertedZxing = 0;
    for (const auto& dir : classes) {
        Tally ours, zbarTally, zxingTally;
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
            ++n;
            Run(DecodeOurs, p, &ours);
            Run(DecodeZbar, p, &zbarTally);
            Run(DecodeZxing, p, &zxingTally);
        }
        std::printf("%-12s %5d | %6d %6d %6d | %9.2f %9.2f %9.2f%s\n",
                    dir.filename().string().c_str(), n, ours.correct, zbarTally.correct,
                    zxingTally.correct, Median(ours.milliseconds), Median(zbarTally.milliseconds),
                    Median(zxingTally.milliseconds),
                    ours.correct < zbarTally.correct ? "  < zbar" : "");
        total += n;
        if (dir.filename() == "inverted") {
            invertedPictures = n;
            invertedOurs = ours.correct;
            invertedZxing = zxingTally.correct;
        }
        allOurs.correct += ours.correct;
        allZbar.correct += zbarTally.correct;
        allZxing.correct += zxingTally.correct;
        for (const auto& pair : {std::pair{&allOurs, &ours}, std::pair{&allZbar, &zbarTally},
                                 std::pair{&allZxing, &zxingTally}})
            pair.first->milliseconds.insert(pair.first->milliseconds.end(),
                                            pair.second->milliseconds.begin(),
                                            pair.second->milliseconds.end());
    }
    const double share = 100.0 / std::max(total, 1);
    std::printf("%-12s %5d | %5.1f%% %5.1f%% %5.1f%% | %9.2f %9.2f %9.2f\n", "all", total,
                allOurs.correct * share, allZbar.correct * share, allZxing.correct * share,
                Median(allOurs.milliseconds), Median(allZbar.milliseconds),
                Median(allZxing.milliseconds));
    std::printf("ours - zxing: %+.1f points; median time ours / zxing: %.2f; ours / zbar: %.2f\n",
                (allOurs.correct - allZxing.correct) * share,
                Median(allOurs.milliseconds) / std::max(Median(allZxing.milliseconds), 1e-9),
                Median(allOurs.milliseconds) / std::max(Median(allZbar.milliseconds), 1e-9));
    const double restShare = 100.0 / std::max(total - invertedPictures, 1);
    std::printf("without the inverted class: ours %.1f%%, zxing %.1f%%\n",
                (allOurs.correct - invertedOurs) * restShare,
                (allZxing.correct - invertedZxing) * restShare);
    return 0;
}
