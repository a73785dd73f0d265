// Shared pieces of the driver tests: opening the driver with the defaults the
// dispatcher would hand over, small colormap and pattern files, and readers for
// what the driver wrote.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <zep/driver.hpp>

#include "driver/zgpack_internal.hpp"
#include "support/png_image.hpp"
#include "support/test_support.hpp"

namespace zgtest {

namespace fs = std::filesystem;

// Colours 0 white, 1 black, 2 red, 3 blue.
inline const char* kColormap =
    "4 : test\n"
    " 65535 65535 65535 : white\n"
    "     0     0     0 : black\n"
    " 65535     0     0 : red\n"
    "     0     0 65535 : blue\n";

inline const char* kBitmap =
    "2\n"
    "   1   1 16 16 8000000000000000000000000000000000000000000000000000000000000000\n"
    "   2   4 16 16 8080000000000000000000000000000080800000000000000000000000000000\n";

inline void writeText(const fs::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary);
  out << text;
}

// What the dispatcher hands to zgdopn with the workstation defaults.
struct Opts {
  int iws = 2;
  int iwidth = 900, iheight = 650;
  int iposx = -999, iposy = -999;
  int idmpdgt = 4, ibgpage = 1;
  float rlwfact = 0.2f;
  bool lwait = true, lwait0 = false, lwait1 = true, lalt = false, lstdot = false, lkey = true;
  bool ldump = false, lwnd = true, lfgbg = false, lsep = false;
  int ifl = 4;
  std::string cimgfmt = "png";
  float rimgcmp = -1.0f;
  std::string clrmap = "cmap.x11", bitmap = "bitmap.x11", fname = "zep", title = "zgtest";
  bool writeData = true;  // write the test colormap and pattern files when missing
};

// Writes the test colormap and pattern files (unless present) into the working
// directory and opens the driver. Texts go in blank-padded as the dispatcher
// passes them.
inline void open(const Opts& o) {
  if (o.writeData && !fs::exists(o.clrmap)) writeText(o.clrmap, kColormap);
  if (o.writeData && !fs::exists(o.bitmap)) writeText(o.bitmap, kBitmap);
  auto pad = [](std::string s, std::size_t n) {
    s.resize(std::max(n, s.size()), ' ');
    return s;
  };
  zep::zgdopn(o.iws, o.iwidth, o.iheight, o.iposx, o.iposy, o.idmpdgt, o.ibgpage, o.rlwfact, o.lwait,
              o.lwait0, o.lwait1, o.lalt, o.lstdot, o.lkey, o.ldump, o.lwnd, o.lfgbg, o.lsep, o.ifl,
              pad(o.cimgfmt, 8), o.rimgcmp, pad(o.clrmap, 80), pad(o.bitmap, 80), pad(o.fname, 80),
              pad(o.title, 80));
}

// A horizontal line from (x0, y) to (x1, y) in workstation coordinates.
inline void hline(double x0, double x1, double y, int color, int width = 1) {
  zep::zgswdi(width);
  zep::zgscli(color);
  zep::zggopn();
  zep::zggmov(x0, y);
  zep::zggplt(x1, y);
  zep::zggcls();
}

inline void box(float x0, float y0, float x1, float y1, int itpat) {
  const float xs[4] = {x0, x1, x1, x0};
  const float ys[4] = {y0, y0, y1, y1};
  zep::zggton(4, xs, ys, itpat);
}

using zeptest::isPng;
using zeptest::Png;

}  // namespace zgtest
