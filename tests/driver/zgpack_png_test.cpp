// The PNG writer of image pages: the file decodes (with cairo's reader) to the
// very pixels that cairo's own writer gives, opaque or not, at every level.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "driver/zgpack_internal.hpp"

namespace {

cairo_status_t toString(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

struct ReadState {
  const std::string* bytes;
  std::size_t at = 0;
};

cairo_status_t fromString(void* closure, unsigned char* data, unsigned int length) {
  auto* r = static_cast<ReadState*>(closure);
  if (r->at + length > r->bytes->size()) return CAIRO_STATUS_READ_ERROR;
  r->bytes->copy(reinterpret_cast<char*>(data), length, r->at);
  r->at += length;
  return CAIRO_STATUS_SUCCESS;
}

struct Surface {
  cairo_surface_t* s;
  explicit Surface(cairo_surface_t* surface) : s(surface) {}
  ~Surface() { cairo_surface_destroy(s); }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
};

// A page with antialiased lines, a translucent fill and a gradient: many
// distinct colours, on a white page or on nothing (transparent).
cairo_surface_t* drawnPage(bool background) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 301, 157);
  cairo_t* cr = cairo_create(s);
  if (background) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
  }
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 301, 0);
  cairo_pattern_add_color_stop_rgba(g, 0, 0.1, 0.5, 0.9, 1);
  cairo_pattern_add_color_stop_rgba(g, 1, 0.9, 0.2, 0.1, 0.3);
  cairo_set_source(cr, g);
  cairo_rectangle(cr, 10, 10, 280, 40);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_set_source_rgba(cr, 0.2, 0.7, 0.3, 0.45);
  cairo_arc(cr, 150, 100, 45, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, 0.7);
  for (int i = 0; i < 40; ++i) cairo_line_to(cr, 5 + 7.3 * i, 80 + 60 * std::sin(i * 0.37));
  cairo_stroke(cr);
  cairo_destroy(cr);
  cairo_surface_flush(s);
  return s;
}

cairo_surface_t* decode(const std::string& bytes) {
  ReadState r{&bytes};
  return cairo_image_surface_create_from_png_stream(&fromString, &r);
}

// Number of pixels (as read back, 32 bits each) that differ.
int differing(cairo_surface_t* a, cairo_surface_t* b) {
  if (cairo_image_surface_get_width(a) != cairo_image_surface_get_width(b) ||
      cairo_image_surface_get_height(a) != cairo_image_surface_get_height(b))
    return -1;
  const int w = cairo_image_surface_get_width(a), h = cairo_image_surface_get_height(a);
  const bool alphaA = cairo_image_surface_get_format(a) == CAIRO_FORMAT_ARGB32;
  const bool alphaB = cairo_image_surface_get_format(b) == CAIRO_FORMAT_ARGB32;
  if (alphaA != alphaB) return -2;
  int n = 0;
  for (int y = 0; y < h; ++y) {
    const auto* ra = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(a) +
                                                            y * cairo_image_surface_get_stride(a));
    const auto* rb = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(b) +
                                                            y * cairo_image_surface_get_stride(b));
    for (int x = 0; x < w; ++x) {
      const std::uint32_t mask = alphaA ? 0xffffffffu : 0xffffffu;
      if ((ra[x] & mask) != (rb[x] & mask)) ++n;
    }
  }
  return n;
}

int colourType(const std::string& png) { return png.size() > 25 ? static_cast<unsigned char>(png[25]) : -1; }

TEST(ZgpackPng, SamePixelsAsCairosWriterOpaqueOrNot) {
  for (const bool background : {true, false}) {
    SCOPED_TRACE(background ? "opaque page" : "transparent page");
    Surface page(drawnPage(background));
    std::string ours, cairos;
    ASSERT_EQ(zep::zgwritepng(page.s, -1.0f, &toString, &ours), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_surface_write_to_png_stream(page.s, &toString, &cairos), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(ours.rfind("\x89PNG\r\n\x1a\n", 0), 0u);
    // RGB for an opaque page, RGBA otherwise, as cairo writes them.
    EXPECT_EQ(colourType(ours), colourType(cairos));
    EXPECT_EQ(colourType(ours), background ? 2 : 6);
    Surface a(decode(ours)), b(decode(cairos));
    ASSERT_EQ(cairo_surface_status(a.s), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_surface_status(b.s), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(differing(a.s, b.s), 0);
  }
}

TEST(ZgpackPng, CompressionValueChoosesTheLevelNeverThePixels) {
  Surface page(drawnPage(true));
  std::string cairos;
  ASSERT_EQ(cairo_surface_write_to_png_stream(page.s, &toString, &cairos), CAIRO_STATUS_SUCCESS);
  Surface reference(decode(cairos));
  std::size_t stored = 0, fast = 0, best = 0;
  for (const float value : {0.0f, -1.0f, 0.5f, 1.0f, 7.0f}) {
    SCOPED_TRACE(value);
    std::string ours;
    ASSERT_EQ(zep::zgwritepng(page.s, value, &toString, &ours), CAIRO_STATUS_SUCCESS);
    Surface back(decode(ours));
    ASSERT_EQ(cairo_surface_status(back.s), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(differing(back.s, reference.s), 0);
    if (value == 0.0f) stored = ours.size();
    if (value == -1.0f) fast = ours.size();
    if (value == 1.0f) best = ours.size();
    // Out of range: the default, fast.
    if (value == 7.0f) {
      EXPECT_EQ(ours.size(), fast);
    }
  }
  // Level 0 stores the rows: 3 bytes a pixel and a filter byte a row at least.
  EXPECT_GE(stored, 157u * (301u * 3u + 1u));
  EXPECT_LT(fast, stored / 4);
  EXPECT_LE(best, fast);
}

TEST(ZgpackPng, AFailedWriteIsReportedNotSwallowed) {
  Surface page(drawnPage(true));
  struct Budget {
    std::size_t left;
  } budget{100};
  const auto limited = [](void* closure, const unsigned char*, unsigned int length) {
    auto* b = static_cast<Budget*>(closure);
    if (length > b->left) return CAIRO_STATUS_WRITE_ERROR;
    b->left -= length;
    return CAIRO_STATUS_SUCCESS;
  };
  EXPECT_EQ(zep::zgwritepng(page.s, -1.0f, limited, &budget), CAIRO_STATUS_WRITE_ERROR);
}

}  // namespace
