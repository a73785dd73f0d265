// Stroke-font file (three length-framed binary records). A file the reader
// accepts must satisfy what the text engine relies on: every glyph index points
// into the arrays and every glyph ends before their end.
#include "fuzz_support.hpp"

#include "primitives/stroke_font.hpp"

using namespace zep::stroke_font;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static bool ready = (fuzz::quietReports(), true);
  (void)ready;
  const std::string path = fuzz::writeScratch("font", data, size);
  Tables t;
  if (!readFile(path, t).empty()) return 0;
  for (int code = 0; code < kGlyphs; ++code) {
    const int p = t.index[static_cast<std::size_t>(code)];
    if (p < 1 || p > kArrayBytes) std::abort();
    // The width pair in front of the strokes, as the extents read it.
    volatile int width = t.x[static_cast<std::size_t>(p - 1)] - t.y[static_cast<std::size_t>(p - 1)];
    (void)width;
    // The strokes, walked as the engine draws them.
    std::size_t j = static_cast<std::size_t>(p);
    while (j < t.x.size() && !(t.x[j] == 0 && t.y[j] == 0)) ++j;
    if (j >= t.x.size()) std::abort();
  }
  return 0;
}
