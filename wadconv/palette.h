#pragma once

// The standard Quake palette, used for textures of WADs that carry no palette of their own.

#include <array>
#include <cstdint>

#include "wadconv/wad_layout.h"

namespace wadconv {

const std::array<std::uint8_t, kPaletteBytes>& QuakePalette();

}  // namespace wadconv
