// Figures on pages of an exact size: a session opened on one, the page read
// back as an image, and V points turned into its pixels.
#pragma once

#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <zep/zep.hpp>

#include "support/png_image.hpp"
#include "support/test_support.hpp"

namespace zeptest {

// Opens workstation 2 with format `ifl` (1 PNG, 2 EPS, 3 SVG, 4 PDF) on a page
// of width x height cm, progress messages off, runs `draw` and closes.
inline void drawExactPage(int ifl, float widthCm, float heightCm, const std::function<void()>& draw) {
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", ifl);
  zep::fgpage(widthCm, heightCm, "CM");
  zep::sgopn(2);
  draw();
  zep::sgcls();
}

// The PNG file of one such page, drawn in a temporary directory.
inline std::string exactPngFile(float widthCm, float heightCm, const std::function<void()>& draw) {
  TempWorkDir dir;
  drawExactPage(1, widthCm, heightCm, draw);
  return readFile(dir.path() / "zep_0001.png");
}

// Pixels of a PNG page whose V runs over [0, 1] along its longer side.
struct PagePixels {
  const Png& png;
  double scale() const { return std::max(png.width(), png.height()); }
  int x(double vx) const { return static_cast<int>(std::lround(vx * scale())); }
  int y(double vy) const { return png.height() - static_cast<int>(std::lround(vy * scale())); }
  bool ink(int px, int py) const {
    return px >= 0 && py >= 0 && px < png.width() && py < png.height() && png.pixel(px, py) != 0xFFFFFF;
  }
  // Inked pixels in the rectangle of pixel columns [x0, x1] and rows [y0, y1].
  int inkIn(int x0, int x1, int y0, int y1) const {
    int n = 0;
    for (int py = y0; py <= y1; ++py)
      for (int px = x0; px <= x1; ++px) n += ink(px, py) ? 1 : 0;
    return n;
  }
};

// What lies beyond side `side` ('B', 'T', 'L', 'R') of a viewport, out to the
// edge of its cell (both V rectangles x0, x1, y0, y1): entry k counts the
// inked pixels of the row (or column) k + 1 pixels out from the viewport's
// edge, across the side's length less two pixels at each end.
inline std::vector<int> outwardProfile(const PagePixels& p, char side, const std::array<float, 4>& vp,
                                       const std::array<float, 4>& cell) {
  const int x0 = p.x(vp[0]), x1 = p.x(vp[1]), top = p.y(vp[3]), bottom = p.y(vp[2]);
  std::vector<int> out;
  switch (side) {
    case 'B':
      for (int y = bottom + 1; y <= p.y(cell[2]); ++y) out.push_back(p.inkIn(x0 + 2, x1 - 2, y, y));
      break;
    case 'T':
      for (int y = top - 1; y >= p.y(cell[3]); --y) out.push_back(p.inkIn(x0 + 2, x1 - 2, y, y));
      break;
    case 'R':
      for (int x = x1 + 1; x <= p.x(cell[1]); ++x) out.push_back(p.inkIn(x, x, top + 2, bottom - 2));
      break;
    default:
      for (int x = x0 - 1; x >= p.x(cell[0]); --x) out.push_back(p.inkIn(x, x, top + 2, bottom - 2));
      break;
  }
  return out;
}

// The runs of inked entries of a profile, as [first, last] pairs.
inline std::vector<std::pair<int, int>> inkRuns(const std::vector<int>& profile, int from = 0) {
  std::vector<std::pair<int, int>> runs;
  for (int k = from; k < static_cast<int>(profile.size()); ++k) {
    if (profile[static_cast<std::size_t>(k)] == 0) continue;
    if (runs.empty() || runs.back().second != k - 1) runs.emplace_back(k, k);
    else runs.back().second = k;
  }
  return runs;
}

// The boxes (V) and texts of the labels of the last map frame.
struct MapLabel {
  float x0, x1, y0, y1;
  std::string text;
};
inline std::vector<MapLabel> mapLabels() {
  int n = 0;
  zep::axqmln(n);
  std::vector<MapLabel> labels;
  for (int i = 1; i <= n; ++i) {
    MapLabel b{};
    std::string t(40, ' ');
    zep::axqmlb(i, b.x0, b.x1, b.y0, b.y1, t);
    b.text = t.substr(0, t.find_last_not_of(' ') + 1);
    labels.push_back(b);
  }
  return labels;
}

// pdfinfo's value for `label` ("Page size", "Page rot"), blanks trimmed.
inline std::string pdfinfoValue(const std::filesystem::path& pdf, const std::string& label) {
  const std::string info = runCommand("pdfinfo '" + pdf.string() + "' 2>&1");
  const std::size_t at = info.find(label + ":");
  if (at == std::string::npos) return "";
  std::size_t from = info.find_first_not_of(' ', at + label.size() + 1);
  const std::size_t to = info.find('\n', from);
  return info.substr(from, to - from);
}

}  // namespace zeptest
