// Artwork the framework carries inside the program as RCDATA resources.
#pragma once

#include "ui/draw/image.h"

#include <cstdint>
#include <span>

namespace kodaro::ui {

// The bytes of an RCDATA resource of the program (they live as long as the
// program); empty when there is no such resource.
std::span<const std::uint8_t> EmbeddedBytes(int resourceId);

// The picture of an RCDATA resource of the program; empty when the program
// has no such resource or it is no picture.
MemoryImage LoadEmbeddedImage(int resourceId);

} // namespace kodaro::ui
