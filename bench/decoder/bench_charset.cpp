// Prints the confusion table of the charset guess for data without an ECI:
// rows are the charsets the samples were written in, columns the guesses.
// Samples come from make_charset_samples.py (generated into the build folder
// on first use) or from the file given.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "codec/decoder/text_decoding.h"

namespace fs = std::filesystem;

namespace {

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    using kodaro::codec::Charset;
    const fs::path samples =
        argc > 1 ? fs::path(argv[1]) : fs::path(KODARO_BENCH_DIR) / "charset_samples.txt";
    if (!fs::exists(samples)) {
        const std::string command = std::string("python3 \"") + KODARO_SOURCE_DIR +
                                    "/bench/decoder/make_charset_samples.py\" > \"" +
                                    samples.string() + "\"";
        std::printf("generating the samples: %s\n", command.c_str());
        if (std::system(command.c_str()) != 0) {
            fs::remove(samples);
            std::fprintf(stderr, "sample generation failed\n");
            return 1;
        }
    }
    const std::vector<Charset> columns = {Charset::Gbk,   Charset::Big5,   Charset::ShiftJis,
                                          Charset::EucKr, Charset::Latin1, Charset::Utf8};
    std::map<std::string, std::map<Charset, int>> table;
    std::vector<std::string> rows;
    std::ifstream in(samples);
    int total = 0;
    int wrong = 0;
    for (std::string line; std::getline(in, line);) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        const std::string truth = line.substr(0, tab);
        const Charset guess = kodaro::codec::GuessCharset(FromHex(line.substr(tab + 1)),
                                                          kodaro::codec::ModeHint::None);
        if (!table.count(truth))
            rows.push_back(truth);
        ++table[truth][guess];
        ++total;
        wrong += truth != kodaro::codec::CharsetName(guess) ? 1 : 0;
    }
    std::printf("%-12s", "written in");
    for (Charset c : columns)
        std::printf(" %10s", kodaro::codec::CharsetName(c));
    std::printf("\n");
    for (const auto& row : rows) {
        std::printf("%-12s", row.c_str());
        for (Charset c : columns)
            std::printf(" %10d", table[row][c]);
        std::printf("\n");
    }
    std::printf("guessed right: %d of %d (%.2f%%)\n", total - wrong, total,
                100.0 * (total - wrong) / std::max(total, 1));
    return 0;
}
