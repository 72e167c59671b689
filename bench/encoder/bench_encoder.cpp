// Encoder against libqrencode on the same payloads and levels: how often our
// symbol is smaller, equal or larger, and encodes per second for each, with
// ratios. Timing rounds alternate between the two so load on the machine hits
// both alike; the best round of each counts.
#include "codec/encoder/qr_encoder.h"
#include "tests/codec/encoder/payload_set.h"

#include <qrencode.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using kodaro::codec::EcLevel;

constexpr QRecLevel kTheirLevels[] = {QR_ECLEVEL_L, QR_ECLEVEL_M, QR_ECLEVEL_Q, QR_ECLEVEL_H};

int OurVersion(const std::string& text, int level) {
    const auto s = kodaro::codec::EncodeQr(text, {static_cast<EcLevel>(level), 1, -1});
    return s ? s->version : 0;
}

int TheirVersion(const std::string& text, int level) {
    QRcode* code = QRcode_encodeString(text.c_str(), 0, kTheirLevels[level], QR_MODE_8, 1);
    const int v = code ? code->version : 0;
    QRcode_free(code);
    return v;
}

// Encodes of the whole set (every payload at every level) per second.
template <typename Encode>
double Rate(const std::vector<std::string>& set, Encode encode, double seconds) {
    size_t count = 0;
    const auto start = Clock::now();
    const auto stop = start + std::chrono::duration<double>(seconds);
    unsigned sink = 0;
    do {
        for (const std::string& text : set)
            for (int level = 0; level < 4; ++level, ++count)
                sink += static_cast<unsigned>(encode(text, level));
    } while (Clock::now() < stop);
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    if (sink == 1)
        std::puts("");
    return static_cast<double>(count) / elapsed;
}

struct Group {
    const char* name;
    std::vector<std::string> payloads;
};

} // namespace

int main() {
    const std::vector<std::string> all = kodaro::codec::testing::PayloadSet();

    int smaller = 0, equal = 0, larger = 0, neither = 0, onlyOurs = 0, onlyTheirs = 0;
    for (const std::string& text : all) {
        for (int level = 0; level < 4; ++level) {
            const int ours = OurVersion(text, level);
            const int theirs = TheirVersion(text, level);
            if (ours == 0 && theirs == 0)
                ++neither;
            else if (theirs == 0)
                ++onlyOurs;
            else if (ours == 0)
                ++onlyTheirs;
            else if (ours < theirs)
                ++smaller;
            else if (ours == theirs)
                ++equal;
            else
                ++larger;
        }
    }
    std::printf("version chosen vs libqrencode over %zu payloads x 4 levels: ours smaller %d, "
                "equal %d, larger %d; too long for both %d, fits only ours %d, fits only "
                "libqrencode %d\n",
                all.size(), smaller, equal, larger, neither, onlyOurs, onlyTheirs);

    Group groups[] = {{"short (<= 100 bytes)", {}}, {"long (> 100 bytes)", {}}, {"all", all}};
    for (const std::string& text : all)
        groups[text.size() <= 100 ? 0 : 1].payloads.push_back(text);

    for (const Group& g : groups) {
        double ours = 0, theirs = 0;
        for (int round = 0; round < 3; ++round) {
            ours = std::max(ours, Rate(g.payloads, OurVersion, 0.4));
            theirs = std::max(theirs, Rate(g.payloads, TheirVersion, 0.4));
        }
        std::printf("%-22s ours %9.0f encodes/s, libqrencode %9.0f encodes/s, ours/libqrencode "
                    "speed ratio %.2f\n",
                    g.name, ours, theirs, ours / theirs);
    }
    return 0;
}
