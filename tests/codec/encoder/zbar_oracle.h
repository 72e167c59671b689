#pragma once
// Reads symbols back with the outside decoder zbarimg, many files per run.
#include "codec/encoder/raster.h"

#include <string>
#include <vector>

namespace kodaro::codec::testing {

// True when zbarimg can be started.
bool ZbarAvailable();

// Writes a binary PGM (P5) file.
bool WritePgm(const std::string& path, const GrayRaster& raster);

// Decodes the files in one zbarimg run; every decoded text is followed by a
// newline, in file order.
std::string ZbarRawOutput(const std::vector<std::string>& paths);

// Checks that file i reads back as expected[i]. When the batch output differs,
// each file is decoded alone to name the ones that fail. Returns one message
// per failing file (empty when all read back).
std::vector<std::string> VerifyWithZbar(const std::vector<std::string>& paths,
                                        const std::vector<std::string>& expected);

// A fresh, empty folder for a test's image files.
std::string MakeTempFolder(const std::string& name);

} // namespace kodaro::codec::testing
