#include "tests/codec/encoder/zbar_oracle.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace kodaro::codec::testing {

namespace {

std::string Quote(const std::string& s) {
    return "'" + s + "'";
}

std::string RunAndRead(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    pclose(pipe);
    return output;
}

} // namespace

bool ZbarAvailable() {
    return std::system("zbarimg --version >/dev/null 2>&1") == 0;
}

bool WritePgm(const std::string& path, const GrayRaster& raster) {
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << raster.width << " " << raster.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(raster.pixels.data()),
              static_cast<std::streamsize>(raster.pixels.size()));
    return static_cast<bool>(out);
}

std::string ZbarRawOutput(const std::vector<std::string>& paths) {
    if (paths.empty())
        return {};
    std::string command = "zbarimg -Sdisable -Sqrcode.enable --raw -q";
    for (const std::string& p : paths)
        command += " " + Quote(p);
    return RunAndRead(command + " 2>/dev/null");
}

std::vector<std::string> VerifyWithZbar(const std::vector<std::string>& paths,
                                        const std::vector<std::string>& expected) {
    std::string joined;
    for (const std::string& e : expected)
        joined += e + "\n";
    if (ZbarRawOutput(paths) == joined)
        return {};
    std::vector<std::string> failures;
    for (size_t i = 0; i < paths.size(); ++i) {
        const std::string got = ZbarRawOutput({paths[i]});
        if (got != expected[i] + "\n")
            failures.push_back(paths[i] + ": expected \"" + expected[i] + "\", read \"" + got +
                               "\"");
    }
    if (failures.empty())
        failures.push_back("batch output differs although every file reads back alone");
    return failures;
}

std::string MakeTempFolder(const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("kodaro-" + name + "-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

} // namespace kodaro::codec::testing
