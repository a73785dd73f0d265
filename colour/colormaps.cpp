// Colormaps: the built-in ones, user maps from a list of colours or a CPT
// file, and the choice of the current map.
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <zep/colour.hpp>
#include <zep/foundation.hpp>

#include "colour/colormap_tables.hpp"
#include "colour/colour_state.hpp"
#include "foundation/fixed_text.hpp"

namespace zep {
namespace colour {
namespace {

// CIELAB (D65) from and to packed sRGB: the generated maps are interpolated
// in it so that lightness changes evenly along them.
struct Lab {
  double l, a, b;
};

double toLinear(double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }
double fromLinear(double c) { return c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055; }
constexpr double kXn = 0.95047, kYn = 1.0, kZn = 1.08883;
double labF(double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; }
double labFInverse(double f) { return f * f * f > 216.0 / 24389 ? f * f * f : (116 * f - 16) * 27 / 24389; }

Lab toLab(std::uint32_t rgb) {
  const double r = toLinear(((rgb >> 16) & 0xff) / 255.0), g = toLinear(((rgb >> 8) & 0xff) / 255.0),
               b = toLinear((rgb & 0xff) / 255.0);
  const double x = 0.4124564 * r + 0.3575761 * g + 0.1804375 * b;
  const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
  const double z = 0.0193339 * r + 0.1191920 * g + 0.9503041 * b;
  const double fx = labF(x / kXn), fy = labF(y / kYn), fz = labF(z / kZn);
  return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

std::uint32_t channel(double c) {
  return static_cast<std::uint32_t>(std::lround(std::clamp(fromLinear(c), 0.0, 1.0) * 255));
}

std::uint32_t fromLab(const Lab& c) {
  const double fy = (c.l + 16) / 116, fx = fy + c.a / 500, fz = fy - c.b / 200;
  const double x = kXn * labFInverse(fx), y = kYn * labFInverse(fy), z = kZn * labFInverse(fz);
  const double r = 3.2404542 * x - 1.5371385 * y - 0.4985314 * z;
  const double g = -0.9692660 * x + 1.8760108 * y + 0.0415560 * z;
  const double b = 0.0556434 * x - 0.2040259 * y + 1.0572252 * z;
  return channel(r) << 16 | channel(g) << 8 | channel(b);
}

// A table of n colours through the anchors, evenly spaced in t and
// interpolated in CIELAB; with `cyclic` the last anchor is followed by the
// first and entry i sits at i / n (else at i / (n - 1)).
std::vector<std::uint32_t> throughAnchors(const std::vector<std::uint32_t>& anchors, int n, bool cyclic) {
  std::vector<Lab> lab;
  for (std::uint32_t a : anchors) lab.push_back(toLab(a));
  if (cyclic) lab.push_back(lab.front());
  const double pieces = static_cast<double>(lab.size() - 1);
  std::vector<std::uint32_t> out;
  for (int i = 0; i < n; ++i) {
    const double t = cyclic ? static_cast<double>(i) / n : static_cast<double>(i) / (n - 1);
    const double s = t * pieces;
    const auto k = std::min(static_cast<std::size_t>(s), lab.size() - 2);
    const double f = s - static_cast<double>(k);
    const Lab& p = lab[k];
    const Lab& q = lab[k + 1];
    // Anchors are hit exactly, so that the diverging map's middle is neutral.
    if (f == 0) out.push_back(cyclic && k == 0 ? anchors[0] : anchors[k % anchors.size()]);
    else out.push_back(fromLab({p.l + f * (q.l - p.l), p.a + f * (q.a - p.a), p.b + f * (q.b - p.b)}));
  }
  return out;
}

Colormap fromTable(const std::array<std::uint32_t, 256>& t) {
  Colormap m;
  m.table.assign(t.begin(), t.end());
  return m;
}

std::map<std::string, Colormap> builtIn() {
  std::map<std::string, Colormap> maps;
  maps["VIRIDIS"] = fromTable(kViridis);
  maps["PLASMA"] = fromTable(kPlasma);
  maps["INFERNO"] = fromTable(kInferno);
  maps["MAGMA"] = fromTable(kMagma);
  // An odd count puts one entry on the middle, neutral grey.
  maps["DIVERGING"].table = throughAnchors({0x3b4cc0, 0xdddddd, 0xb40426}, 255, false);
  maps["CYCLIC"].table = throughAnchors({0xe2d9e2, 0x5f73b8, 0x2f1436, 0xb0504a}, 256, true);
  Colormap& grey = maps["GREY"];
  for (std::uint32_t i = 0; i < 256; ++i) grey.table.push_back(i << 16 | i << 8 | i);
  return maps;
}

const std::map<std::string, Colormap>& builtInMaps() {
  static const std::map<std::string, Colormap> maps = builtIn();
  return maps;
}

std::string upper(std::string_view s) {
  std::string out(text::trimmed(s));
  out.erase(0, std::min(out.size(), out.find_first_not_of(' ')));
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool validName(const std::string& name) {
  if (name.empty() || name.size() > 32) return false;
  for (char c : name)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-')) return false;
  return name.size() < 2 || name.compare(name.size() - 2, 2, "_R") != 0;
}

// ---------------------------------------------------------------------------
// CPT files
// ---------------------------------------------------------------------------

constexpr std::size_t kCptLineLimit = 1024;
constexpr std::size_t kCptSegmentLimit = 65536;
constexpr std::uintmax_t kCptFileLimit = 16u << 20;

bool number(const std::string& word, double& v) {
  if (word.empty()) return false;
  char* end = nullptr;
  v = std::strtod(word.c_str(), &end);
  return end == word.c_str() + word.size() && std::isfinite(v);
}

bool component(const std::string& word, std::uint32_t& c) {
  double v = 0;
  if (!number(word, v) || v < 0 || v > 255) return false;
  c = static_cast<std::uint32_t>(std::lround(v));
  return true;
}

// One colour from words[k...]: "r g b" (when `triple`), "r/g/b", "#rrggbb"
// or a grey level; k moves past it.
bool parseColour(const std::vector<std::string>& w, std::size_t& k, bool triple, std::uint32_t& rgb) {
  if (k >= w.size()) return false;
  const std::string& s = w[k];
  if (s.size() == 7 && s[0] == '#') {
    for (std::size_t i = 1; i < 7; ++i)
      if (!std::isxdigit(static_cast<unsigned char>(s[i]))) return false;
    rgb = static_cast<std::uint32_t>(std::stoul(s.substr(1), nullptr, 16));
    ++k;
    return true;
  }
  if (s.find('/') != std::string::npos) {
    std::array<std::uint32_t, 3> c{};
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
      const std::size_t slash = s.find('/', start);
      if ((i < 2) != (slash != std::string::npos)) return false;
      if (!component(s.substr(start, slash == std::string::npos ? std::string::npos : slash - start),
                     c[static_cast<std::size_t>(i)]))
        return false;
      start = slash + 1;
    }
    rgb = c[0] << 16 | c[1] << 8 | c[2];
    ++k;
    return true;
  }
  std::uint32_t r = 0, g = 0, b = 0;
  if (triple) {
    if (k + 2 >= w.size() || !component(w[k], r) || !component(w[k + 1], g) || !component(w[k + 2], b)) return false;
    rgb = r << 16 | g << 8 | b;
    k += 3;
    return true;
  }
  if (!component(w[k], r)) return false;
  rgb = r << 16 | r << 8 | r;
  ++k;
  return true;
}

bool isNumber(const std::string& word) {
  double v = 0;
  return number(word, v);
}

void reportLine(std::string_view file, int line, const char* what) {
  msgdmp("E", "CMRCPT", "LINE " + std::to_string(line) + " OF CPT FILE " + std::string(file) + " " + what);
}

}  // namespace

std::uint32_t Colormap::at(double t) const {
  t = std::clamp(t, 0.0, 1.0);
  if (!table.empty()) {
    const double n = static_cast<double>(table.size());
    return table[std::min(static_cast<std::size_t>(t * n), table.size() - 1)];
  }
  if (segments.empty()) return 0;
  auto seg = std::upper_bound(segments.begin(), segments.end(), t,
                              [](double v, const Segment& s) { return v < s.t1; });
  if (seg == segments.end()) --seg;
  const double span = seg->t1 - seg->t0;
  const double f = span > 0 ? std::clamp((t - seg->t0) / span, 0.0, 1.0) : 0.0;
  auto mix = [f](std::uint32_t a, std::uint32_t b, int shift) {
    const double x = ((a >> shift) & 0xff), y = ((b >> shift) & 0xff);
    return static_cast<std::uint32_t>(std::lround(x + f * (y - x))) << shift;
  };
  return mix(seg->c0, seg->c1, 16) | mix(seg->c0, seg->c1, 8) | mix(seg->c0, seg->c1, 0);
}

State::State() = default;

State& state() {
  static State s;
  return s;
}

const Colormap* findMap(std::string_view name, bool& reversed) {
  std::string n = upper(name);
  reversed = n.size() > 2 && n.compare(n.size() - 2, 2, "_R") == 0;
  if (reversed) n.resize(n.size() - 2);
  const auto& b = builtInMaps();
  if (auto it = b.find(n); it != b.end()) return &it->second;
  const auto& u = state().user;
  if (auto it = u.find(n); it != u.end()) return &it->second;
  return nullptr;
}

std::uint32_t mapColour(double t) {
  bool reversed = false;
  const Colormap* m = findMap(state().current, reversed);
  if (m == nullptr) return 0;
  return m->at(reversed ? 1 - t : t);
}

namespace {

std::uint32_t endColour(const char* parameter, bool low) {
  int given = -1;
  cmiget(parameter, given);
  if (given >= 0) return static_cast<std::uint32_t>(given) & 0xffffff;
  bool reversed = false;
  const Colormap* m = findMap(state().current, reversed);
  if (m != nullptr) {
    const int own = low != reversed ? m->under : m->over;
    if (own >= 0) return static_cast<std::uint32_t>(own);
  }
  return mapColour(low ? 0.0 : 1.0);
}

}  // namespace

std::uint32_t underColour() { return endColour("IUNDER", true); }
std::uint32_t overColour() { return endColour("IOVER", false); }

int colourAt(double t) {
  if (std::isnan(t)) return -1;
  if (t < 0) return static_cast<int>(underColour());
  if (t > 1) return static_cast<int>(overColour());
  return static_cast<int>(mapColour(t));
}

}  // namespace colour

using colour::state;

void cmsmap(std::string_view name) {
  bool reversed = false;
  if (colour::findMap(name, reversed) == nullptr) {
    msgdmp("E", "CMSMAP", "COLORMAP " + colour::upper(name) + " IS NOT DEFINED.");
    return;
  }
  state().current = colour::upper(name);
}

void cmqmap(std::span<char> name) { text::assign(name, state().current); }

void cmdfmp(std::string_view name, int n, const int* rgb) {
  const std::string key = colour::upper(name);
  if (!colour::validName(key)) {
    msgdmp("E", "CMDFMP", "COLORMAP NAME " + key + " IS INVALID (1 TO 32 LETTERS, DIGITS, _ OR -, NOT ENDING IN _R).");
    return;
  }
  if (n < 2 || rgb == nullptr) {
    msgdmp("E", "CMDFMP", "A COLORMAP NEEDS AT LEAST 2 COLOURS.");
    return;
  }
  colour::Colormap m;
  for (int i = 0; i + 1 < n; ++i) {
    if (rgb[i] < 0 || rgb[i] > 0xffffff || rgb[i + 1] < 0 || rgb[i + 1] > 0xffffff) {
      msgdmp("E", "CMDFMP", "COLOUR " + std::to_string(rgb[i] < 0 || rgb[i] > 0xffffff ? i + 1 : i + 2) +
                                " IS NOT A COLOUR 0XRRGGBB.");
      return;
    }
    m.segments.push_back({static_cast<double>(i) / (n - 1), static_cast<double>(i + 1) / (n - 1),
                          static_cast<std::uint32_t>(rgb[i]), static_cast<std::uint32_t>(rgb[i + 1])});
  }
  state().user[key] = std::move(m);
}

void cmrcpt(std::string_view name, std::string_view file) {
  const std::string key = colour::upper(name);
  if (!colour::validName(key)) {
    msgdmp("E", "CMRCPT", "COLORMAP NAME " + key + " IS INVALID (1 TO 32 LETTERS, DIGITS, _ OR -, NOT ENDING IN _R).");
    return;
  }
  const std::string path(text::trimmed(file));
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  std::ifstream in(path, std::ios::binary);
  if (ec || !in) {
    msgdmp("E", "CMRCPT", "CPT FILE " + path + " CANNOT BE OPENED.");
    return;
  }
  if (size > colour::kCptFileLimit) {
    msgdmp("E", "CMRCPT", "CPT FILE " + path + " IS LARGER THAN 16 MB.");
    return;
  }
  struct Piece {
    double z0, z1;
    std::uint32_t c0, c1;
  };
  std::vector<Piece> pieces;
  int under = -1, over = -1;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (line.size() > colour::kCptLineLimit) {
      colour::reportLine(path, number, "IS LONGER THAN 1024 CHARACTERS.");
      return;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find('\0') != std::string::npos) {
      colour::reportLine(path, number, "IS NOT TEXT.");
      return;
    }
    // Comment lines start with '#' ("#rrggbb" colours do not); a label after
    // ';' is not read.
    const std::string upperLine = colour::upper(line);
    if (upperLine.find("COLOR_MODEL") != std::string::npos && upperLine.find("RGB") == std::string::npos) {
      colour::reportLine(path, number, "ASKS FOR A COLOUR MODEL OTHER THAN RGB.");
      return;
    }
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    line = line.substr(0, line.find(';'));
    std::vector<std::string> w;
    for (std::size_t p = 0; p < line.size();) {
      while (p < line.size() && std::isspace(static_cast<unsigned char>(line[p]))) ++p;
      std::size_t e = p;
      while (e < line.size() && !std::isspace(static_cast<unsigned char>(line[e]))) ++e;
      if (e > p) w.push_back(line.substr(p, e - p));
      p = e;
    }
    if (w.empty()) continue;
    const std::string head = colour::upper(w[0]);
    if (head == "B" || head == "F" || head == "N") {
      std::size_t k = 1;
      std::uint32_t c = 0;
      if (w.size() == 2 && w[1] == "-") continue;  // "no colour": the ends stand
      if (!colour::parseColour(w, k, w.size() == 4, c) || k != w.size()) {
        colour::reportLine(path, number, "IS MALFORMED (B, F OR N NEEDS ONE COLOUR).");
        return;
      }
      if (head == "B") under = static_cast<int>(c);
      if (head == "F") over = static_cast<int>(c);
      continue;
    }
    Piece piece{};
    std::size_t k = 1;
    // "z0 r g b z1 r g b", "z0 grey z1 grey", or either colour as r/g/b or #rrggbb.
    const bool firstTriple = w.size() == 8 || (w.size() == 6 && colour::isNumber(w[1]) && colour::isNumber(w[2]) &&
                                               colour::isNumber(w[3]) && colour::isNumber(w[4]));
    bool ok = colour::number(w[0], piece.z0) && colour::parseColour(w, k, firstTriple, piece.c0) && k < w.size() &&
              colour::number(w[k], piece.z1);
    ++k;
    ok = ok && colour::parseColour(w, k, w.size() - k == 3, piece.c1) && k == w.size();
    if (!ok) {
      colour::reportLine(path, number, "IS MALFORMED (WANTED: Z0 COLOUR Z1 COLOUR).");
      return;
    }
    if (!(piece.z1 > piece.z0) || (!pieces.empty() && piece.z0 < pieces.back().z1)) {
      colour::reportLine(path, number, "DOES NOT FOLLOW ON: Z VALUES MUST INCREASE.");
      return;
    }
    if (pieces.size() >= colour::kCptSegmentLimit) {
      colour::reportLine(path, number, "IS ONE SEGMENT TOO MANY (65536 AT MOST).");
      return;
    }
    pieces.push_back(piece);
  }
  if (pieces.empty()) {
    msgdmp("E", "CMRCPT", "CPT FILE " + path + " HAS NO COLOUR SEGMENTS.");
    return;
  }
  // Positions on the map follow the file's z values, from the first to the last.
  colour::Colormap m;
  const double z0 = pieces.front().z0, span = pieces.back().z1 - z0;
  for (const Piece& p : pieces) m.segments.push_back({(p.z0 - z0) / span, (p.z1 - z0) / span, p.c0, p.c1});
  m.under = under;
  m.over = over;
  state().user[key] = std::move(m);
}

void cmqrgb(float t, int& rgb) {
  rgb = std::isnan(t) ? -1 : static_cast<int>(colour::mapColour(t));
}

}  // namespace zep
