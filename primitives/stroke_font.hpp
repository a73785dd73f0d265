// The loaded stroke font, shared by the text engine and the labelled lines.
#pragma once

#include <array>
#include <string>

namespace zep::stroke_font {

constexpr int kGlyphs = 256;
constexpr int kArrayBytes = 6000;
constexpr int kBias = 64;  // a stored coordinate is its value plus 64

struct Tables {
  std::array<int, kGlyphs> index{};  // 1-based position of each code's width pair
  std::array<unsigned char, kArrayBytes> x{};
  std::array<unsigned char, kArrayBytes> y{};
};

// Reads a stroke-font file. Returns an empty text on success, otherwise the
// problem (upper case, ready for a report); `tables` is then left unchanged.
std::string readFile(const std::string& path, Tables& tables);

// The font selected by IFONT, loaded on demand (szfint); false when no font
// could be loaded. The references stay valid for the process.
bool ensureLoaded();
const Tables& tables();
// Grows whenever the tables or the extents change, so that copies made from
// them can tell that they are stale.
int generation();
float leftExtent(unsigned char code);
float rightExtent(unsigned char code);

}  // namespace zep::stroke_font
