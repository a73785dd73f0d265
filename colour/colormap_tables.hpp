// Published colormap tables, as 0xRRGGBB.
#pragma once

#include <array>
#include <cstdint>

namespace zep::colour {

extern const std::array<std::uint32_t, 256> kViridis;
extern const std::array<std::uint32_t, 256> kPlasma;
extern const std::array<std::uint32_t, 256> kInferno;
extern const std::array<std::uint32_t, 256> kMagma;

}  // namespace zep::colour
