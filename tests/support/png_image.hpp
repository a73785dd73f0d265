// Reading back the PNG images that the library writes.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "support/test_support.hpp"

namespace zeptest {

namespace fs = std::filesystem;

// A PNG image read back; pixel() gives 0xRRGGBB.
class Png {
 public:
  explicit Png(const fs::path& p) : s_(cairo_image_surface_create_from_png(p.c_str())) {}
  explicit Png(cairo_surface_t* s) : s_(s) {}
  ~Png() { cairo_surface_destroy(s_); }
  Png(const Png&) = delete;
  Png& operator=(const Png&) = delete;
  bool ok() const { return cairo_surface_status(s_) == CAIRO_STATUS_SUCCESS; }
  int width() const { return cairo_image_surface_get_width(s_); }
  int height() const { return cairo_image_surface_get_height(s_); }
  std::uint32_t pixel(int x, int y) const {
    cairo_surface_flush(s_);
    const unsigned char* row = cairo_image_surface_get_data(s_) + y * cairo_image_surface_get_stride(s_);
    std::uint32_t v;
    std::memcpy(&v, row + 4 * x, 4);
    return v & 0xffffffu;
  }

 private:
  cairo_surface_t* s_;
};

inline bool isPng(const fs::path& p) {
  return readFile(p).rfind("\x89PNG\r\n\x1a\n", 0) == 0;
}

// Counts the pixels of colour `rgb` inside a rectangle of the image.
inline int countPixels(const Png& png, std::uint32_t rgb, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1 && y < png.height(); ++y)
    for (int x = x0; x < x1 && x < png.width(); ++x)
      if (png.pixel(x, y) == rgb) ++n;
  return n;
}

}  // namespace zeptest
