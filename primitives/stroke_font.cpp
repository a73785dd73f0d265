// Stroke-font tables: loading the font files, the extents, and the copies that
// other users of the tables take (szfint, szqfnt, szqfnw).
#include "primitives/stroke_font.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include <zep/zep.hpp>

#include "foundation/fixed_text.hpp"
#include "foundation/report_context.hpp"
#include "foundation/units.hpp"
#include "workstation/data_files.hpp"

namespace zep::stroke_font {
namespace {

struct FontState {
  Tables tables;
  std::array<float, kGlyphs> left{};
  std::array<float, kGlyphs> right{};
  int font = 0;            // loaded font number, 0 before the first load
  bool proportional = true;
  int counter = 0;         // grows whenever the tables or the extents change
} state;

// One record of a sequential unformatted file: a 32-bit little-endian byte count,
// the payload, the count again. The count must be what this format expects.
std::string readRecord(std::FILE* f, unsigned char* payload, std::size_t expected) {
  auto readCount = [f](std::uint32_t& n) {
    unsigned char b[4];
    if (std::fread(b, 1, 4, f) != 4) return false;
    n = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
  };
  std::uint32_t head = 0, tail = 0;
  if (!readCount(head)) return "IS TRUNCATED.";
  if (head != expected) return "HAS A RECORD OF WRONG LENGTH.";
  if (std::fread(payload, 1, expected, f) != expected) return "IS TRUNCATED.";
  if (!readCount(tail)) return "IS TRUNCATED.";
  if (tail != head) return "HAS A RECORD OF WRONG LENGTH.";
  return "";
}

std::string codeText(int code) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%d", code);
  return buf;
}

// Every glyph must start inside the arrays and end (two zero bytes) before
// their end, so that drawing never walks out of them.
std::string checkGlyphs(const Tables& t) {
  for (int code = 0; code < kGlyphs; ++code) {
    const int p = t.index[static_cast<std::size_t>(code)];
    if (p < 1 || p > kArrayBytes) return "GLYPH INDEX OF CHARACTER " + codeText(code) + " IS OUT OF RANGE.";
    bool ended = false;
    for (int j = p; j < kArrayBytes && !ended; ++j) ended = t.x[static_cast<std::size_t>(j)] == 0 && t.y[static_cast<std::size_t>(j)] == 0;
    if (!ended) return "GLYPH OF CHARACTER " + codeText(code) + " HAS NO END.";
  }
  return "";
}

void computeExtents() {
  for (std::size_t k = 0; k < kGlyphs; ++k) {
    if (state.proportional) {
      const std::size_t p = static_cast<std::size_t>(state.tables.index[k] - 1);
      state.left[k] = static_cast<float>(state.tables.x[p] - kBias);
      state.right[k] = static_cast<float>(state.tables.y[p] - kBias);
    } else {
      state.left[k] = -12.0F;
      state.right[k] = 12.0F;
    }
  }
}

// Loads font 1 or 2 into the tables; false (after a report) when it cannot.
bool loadFont(int font) {
  std::string parameter = "FONT#";
  chngi(parameter, "#", font, "(I1)");
  std::string file(80, ' ');
  swqfnm(parameter, file);
  const std::string path(text::trimmed(file));
  if (path.empty()) {
    const reports::ErrorContext context(data_files::notFoundLines(parameter));
    msgdmp("E", "SZFONT", "FONT FILE DOES NOT EXIST.");
    return false;
  }
  Tables loaded;
  const std::string problem = readFile(path, loaded);
  if (!problem.empty()) {
    msgdmp("E", "SZFONT", "FONT FILE <" + path + "> " + problem);
    return false;
  }
  state.tables = loaded;
  state.font = font;
  return true;
}

// The font and extents that IFONT and LFPROP ask for; false when no font is
// loaded. A failed load leaves the previous font in place.
bool refresh() {
  int font = 0;
  bool proportional = true;
  sgiget("IFONT", font);
  sglget("LFPROP", proportional);
  if (font != 1 && font != 2) {
    msgdmp("E", "SZINIT", "FONT NUMBER IS OUT OF RANGE.");
    return state.counter > 0;
  }
  if (state.counter > 0 && font == state.font && proportional == state.proportional) return true;
  if (font != state.font && !loadFont(font)) return state.counter > 0;
  state.proportional = proportional;
  computeExtents();
  ++state.counter;
  return true;
}

}  // namespace

std::string readFile(const std::string& path, Tables& tables) {
  // Three records of a few kilobytes; anything far larger is not a font file.
  constexpr std::size_t kMaxFontBytes = std::size_t{1} << 16;
  units::ScopedUnit unit(path, "rb", kMaxFontBytes);
  if (!unit.isOpen()) {
    const std::string problem = units::describe(unit.problem(), kMaxFontBytes);
    return problem.empty() ? "CANNOT BE OPENED." : problem;
  }
  std::FILE* f = units::stream(unit.unit());
  std::rewind(f);
  std::array<unsigned char, kGlyphs * 4> indexBytes{};
  Tables t;
  std::string problem = readRecord(f, indexBytes.data(), indexBytes.size());
  if (problem.empty()) problem = readRecord(f, t.x.data(), t.x.size());
  if (problem.empty()) problem = readRecord(f, t.y.data(), t.y.size());
  if (!problem.empty()) return problem;
  for (std::size_t k = 0; k < kGlyphs; ++k) {
    const unsigned char* b = &indexBytes[4 * k];
    const std::uint32_t u = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    t.index[k] = static_cast<std::int32_t>(u);
  }
  problem = checkGlyphs(t);
  if (!problem.empty()) return problem;
  tables = t;
  return "";
}

bool ensureLoaded() { return refresh(); }
const Tables& tables() { return state.tables; }
int generation() { return state.counter; }
float leftExtent(unsigned char code) { return state.left[code]; }
float rightExtent(unsigned char code) { return state.right[code]; }

}  // namespace zep::stroke_font

namespace zep {

void szfint(int& ncnt) {
  stroke_font::refresh();
  ncnt = stroke_font::state.counter;
}

void szqfnt(int* iposx, std::span<char> ckx, std::span<char> cky) {
  using namespace stroke_font;
  if (state.counter == 0) {
    msgdmp("E", "SZQFNT", "FONT FILE HAS NOT BEEN LOADED.");
    return;
  }
  std::copy(state.tables.index.begin(), state.tables.index.end(), iposx);
  auto copyBytes = [](const std::array<unsigned char, kArrayBytes>& from, std::span<char> to) {
    const std::size_t n = std::min(to.size(), from.size());
    std::transform(from.begin(), from.begin() + static_cast<std::ptrdiff_t>(n), to.begin(),
                   [](unsigned char b) { return static_cast<char>(b); });
    std::fill(to.begin() + static_cast<std::ptrdiff_t>(n), to.end(), ' ');
  };
  copyBytes(state.tables.x, ckx);
  copyBytes(state.tables.y, cky);
}

void szqfnw(float* wx1, float* wx2) {
  using namespace stroke_font;
  if (state.counter == 0) {
    msgdmp("E", "SZQFNW", "FONT FILE HAS NOT BEEN LOADED.");
    return;
  }
  std::copy(state.left.begin(), state.left.end(), wx1);
  std::copy(state.right.begin(), state.right.end(), wx2);
}

}  // namespace zep
