// Comparison of a rendered page with its reference picture: exact first, then
// within a per-channel tolerance and a budget of differing pixels.
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace zeptest {

// An RGB picture as 0xRRGGBB values, row by row.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  bool empty() const { return pixels.empty(); }
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

inline Picture readPicture(const std::filesystem::path& file) {
  Picture p;
  cairo_surface_t* s = cairo_image_surface_create_from_png(file.c_str());
  if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(s);
    p.width = cairo_image_surface_get_width(s);
    p.height = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    p.pixels.resize(static_cast<std::size_t>(p.width) * p.height);
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        std::uint32_t v;
        std::memcpy(&v, data + y * stride + 4 * x, 4);
        p.pixels[static_cast<std::size_t>(y) * p.width + x] = v & 0xffffffu;
      }
  }
  cairo_surface_destroy(s);
  return p;
}

inline bool writePicture(const Picture& p, const std::filesystem::path& file) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, p.width, p.height);
  cairo_surface_flush(s);
  const int stride = cairo_image_surface_get_stride(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const std::uint32_t v = p.at(x, y);
      std::memcpy(data + y * stride + 4 * x, &v, 4);
    }
  cairo_surface_mark_dirty(s);
  const bool ok = cairo_surface_write_to_png(s, file.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(s);
  return ok;
}

// How much a page may differ from its reference.
struct Tolerance {
  int channel = 0;    // largest difference of one colour channel still taken as equal
  int maxPixels = 0;  // pixels allowed to differ by more than that
};

struct Comparison {
  bool sameSize = false;
  long differing = 0;   // pixels that differ at all
  long beyond = 0;      // pixels that differ by more than the tolerance
  int largest = 0;      // largest channel difference seen
  bool exact() const { return sameSize && differing == 0; }
  bool passes(const Tolerance& t) const { return sameSize && beyond <= t.maxPixels; }
};

inline int channelDifference(std::uint32_t a, std::uint32_t b) {
  int d = 0;
  for (int shift = 0; shift <= 16; shift += 8)
    d = std::max(d, std::abs(static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff)));
  return d;
}

// Compares; when `diff` is given it receives the difference image: the
// reference faded to grey, pixels beyond the tolerance in red, smaller
// differences in blue.
inline Comparison compare(const Picture& got, const Picture& want, const Tolerance& t, Picture* diff = nullptr) {
  Comparison c;
  c.sameSize = got.width == want.width && got.height == want.height && !got.empty();
  if (!c.sameSize) return c;
  if (diff) *diff = Picture{want.width, want.height, std::vector<std::uint32_t>(want.pixels.size())};
  for (std::size_t i = 0; i < want.pixels.size(); ++i) {
    const int d = channelDifference(got.pixels[i], want.pixels[i]);
    if (d > 0) ++c.differing;
    if (d > t.channel) ++c.beyond;
    c.largest = std::max(c.largest, d);
    if (diff) {
      const std::uint32_t w = want.pixels[i];
      const int grey = 192 + ((((w >> 16) & 0xff) + ((w >> 8) & 0xff) + (w & 0xff)) / 3) / 4;
      const std::uint32_t g = static_cast<std::uint32_t>(grey);
      diff->pixels[i] = d > t.channel ? 0xff0000u : d > 0 ? 0x0000ffu : (g << 16 | g << 8 | g);
    }
  }
  return c;
}

}  // namespace zeptest
