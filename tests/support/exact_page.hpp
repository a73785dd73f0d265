// Figures on pages of an exact size: a session opened on one, the page read
// back as an image, and V points turned into its pixels.
#pragma once

#include <cmath>
#include <filesystem>
#include <functional>
#include <string>

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
