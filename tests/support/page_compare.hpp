// Pages written twice, through two driver ports (a shape shown whole against
// its strokes), and compared as rasterised pages.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include <zep/zep.hpp>

#include "support/png_image.hpp"
#include "workstation/driver_port.hpp"

namespace zeptest {

// Writes `draw` as zep.<suffix> in format ifl through `port`, renamed to `name`.
inline void writeThrough(const zep::workstation::DriverPort& port, const std::function<void()>& draw, int iws,
                         int ifl, const std::string& name) {
  zep::workstation::setDriverPort(&port);
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", ifl);
  zep::sgopn(iws);
  zep::sgfrm();
  draw();
  zep::sgcls();
  zep::workstation::setDriverPort(nullptr);
  for (const auto& e : std::filesystem::directory_iterator(std::filesystem::current_path()))
    if (e.path().filename().string().rfind("zep", 0) == 0) std::filesystem::rename(e.path(), name);
}

inline int countOf(const std::string& text, const std::string& what) {
  int n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// How far two rasterised pages of the same drawing differ. Viewers place
// glyphs on whole pixels, strokes not: an ink pixel of one page must find one
// of about its colour within a pixel on the other.
struct Difference {
  int ink = 0, unmatched = 0;
  std::string text() const {
    return std::to_string(unmatched) + " of " + std::to_string(ink) + " ink pixels without a match";
  }
};

inline bool nearColour(std::uint32_t p, std::uint32_t q) {
  for (int sh : {0, 8, 16})
    if (std::abs(static_cast<int>((p >> sh) & 0xFF) - static_cast<int>((q >> sh) & 0xFF)) > 96) return false;
  return true;
}

inline bool dark(std::uint32_t p) { return ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) < 3 * 160; }

// Ink pixels of `a` with no pixel of about their colour around them in `b`.
inline int unmatched(const Png& a, const Png& b, int& ink) {
  int n = 0;
  for (int y = 1; y + 1 < a.height(); ++y)
    for (int x = 1; x + 1 < a.width(); ++x) {
      const std::uint32_t p = a.pixel(x, y);
      if (!dark(p)) continue;
      ++ink;
      bool found = false;
      for (int j = -1; j <= 1 && !found; ++j)
        for (int i = -1; i <= 1 && !found; ++i) found = nearColour(p, b.pixel(x + i, y + j));
      n += !found;
    }
  return n;
}

inline Difference difference(const Png& got, const Png& want) {
  Difference d;
  if (!got.ok() || !want.ok() || got.width() != want.width() || got.height() != want.height()) {
    d.unmatched = 999999;
    return d;
  }
  int inkGot = 0;
  d.unmatched = unmatched(want, got, d.ink) + unmatched(got, want, inkGot);
  // Missing or doubled ink shows in its amount too.
  if (std::abs(inkGot - d.ink) > d.ink / 20) d.unmatched += std::abs(inkGot - d.ink);
  return d;
}

}  // namespace zeptest
