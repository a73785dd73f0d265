// The line pipeline against raw cairo: the same segments drawn through the
// library (user coordinates, every stage, the dispatcher and the driver) and
// stroked straight with cairo on a surface of the same size, one stroke per
// segment as the driver does. PNG pages are timed whole (drawing and writing
// the file); PDF pages are timed for the drawing part, since finishing the
// file is cairo's own work for both.
//
//   bench_lines_vs_cairo        (BENCH_REPS, BENCH_SCALE as in bench_support.hpp)
#include <cairo-pdf.h>
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include <zep/zep.hpp>

#include "bench_support.hpp"

namespace {

struct Segments {
  std::vector<float> x0, y0, x1, y1;
};

// n short segments at random places and angles, length about 0.01 of the frame.
Segments shortSegments(long n) {
  bench::Random rnd(1);
  Segments s;
  for (long i = 0; i < n; ++i) {
    const double x = 0.05 + 0.9 * rnd.next(), y = 0.05 + 0.9 * rnd.next();
    const double a = 6.283185307 * rnd.next();
    s.x0.push_back(static_cast<float>(x));
    s.y0.push_back(static_cast<float>(y));
    s.x1.push_back(static_cast<float>(x + 0.01 * std::cos(a)));
    s.y1.push_back(static_cast<float>(y + 0.01 * std::sin(a)));
  }
  return s;
}

// A random walk of n steps, kept inside the frame.
Segments randomWalk(long n) {
  bench::Random rnd(2);
  Segments s;
  double x = 0.5, y = 0.5;
  for (long i = 0; i < n; ++i) {
    const double a = 6.283185307 * rnd.next();
    double nx = x + 0.004 * std::cos(a), ny = y + 0.004 * std::sin(a);
    nx = std::clamp(nx, 0.02, 0.98);
    ny = std::clamp(ny, 0.02, 0.98);
    s.x0.push_back(static_cast<float>(x));
    s.y0.push_back(static_cast<float>(y));
    s.x1.push_back(static_cast<float>(nx));
    s.y1.push_back(static_cast<float>(ny));
    x = nx;
    y = ny;
  }
  return s;
}

// n long segments between random points of a region three times the frame:
// most of each is cut away by the viewport.
Segments longSegments(long n) {
  bench::Random rnd(3);
  Segments s;
  for (long i = 0; i < n; ++i) {
    s.x0.push_back(static_cast<float>(-1 + 3 * rnd.next()));
    s.y0.push_back(static_cast<float>(-1 + 3 * rnd.next()));
    s.x1.push_back(static_cast<float>(-1 + 3 * rnd.next()));
    s.y1.push_back(static_cast<float>(-1 + 3 * rnd.next()));
  }
  return s;
}

enum class Format { png, pdf };
enum class Style { solid, dashed };

// The page the library makes for workstation 2 in this format, in surface units.
struct Page {
  int width = 0, height = 0;
  // Viewport of the frame on the surface (the library's default viewport is
  // the whole frame; the baseline uses the same square region).
  double x0 = 0, y0 = 0, size = 0;
};

Page pngPage() {
  cairo_surface_t* png = cairo_image_surface_create_from_png("zep_0001.png");
  Page p;
  p.width = cairo_image_surface_get_width(png);
  p.height = cairo_image_surface_get_height(png);
  cairo_surface_destroy(png);
  return p;
}

void openSession(Format f) {
  zep::gliset("MSGLEV", 3);
  zep::swiset("IFL", f == Format::png ? 1 : 4);
  zep::sgopn(2);
  zep::sgfrm();
  zep::sgswnd(0, 1, 0, 1);
  zep::sgsvpt(0, 1, 0, 1);
  zep::sgstrn(1);
  zep::sgstrf();
}

// The library: one sglnu per segment (solid), or one two-point polyline of
// line type 2 per segment (dashed).
double library(const Segments& s, Format f, Style style, bool clipped, double& drawing) {
  const auto start = bench::Clock::now();
  openSession(f);
  zep::sglset("LCLIP", clipped);
  zep::sgslni(1);
  const auto draw = bench::Clock::now();
  const std::size_t n = s.x0.size();
  if (style == Style::solid) {
    for (std::size_t i = 0; i < n; ++i) zep::sglnu(s.x0[i], s.y0[i], s.x1[i], s.y1[i]);
  } else {
    float x[2], y[2];
    zep::sgsplt(2);
    zep::sgspli(1);
    for (std::size_t i = 0; i < n; ++i) {
      x[0] = s.x0[i];
      y[0] = s.y0[i];
      x[1] = s.x1[i];
      y[1] = s.y1[i];
      zep::sgplu(2, x, y);
    }
  }
  drawing = bench::seconds_since(draw);
  zep::sgcls();
  return bench::seconds_since(start);
}

// Raw cairo on a surface of the same size: the frame is the largest centred
// square, as the library's default frame on a landscape page.
double rawCairo(const Segments& s, Format f, Style style, bool clipped, const Page& png, double& drawing) {
  const auto start = bench::Clock::now();
  cairo_surface_t* surface = f == Format::png
                                 ? cairo_image_surface_create(CAIRO_FORMAT_ARGB32, png.width, png.height)
                                 : cairo_pdf_surface_create("raw.pdf", 842, 595);
  const double w = f == Format::png ? png.width : 842, h = f == Format::png ? png.height : 595;
  const double size = std::min(w, h), ox = 0.5 * (w - size), oy = 0.5 * (h - size);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, 1.0);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_BEVEL);
  if (style == Style::dashed) {
    const double dash[2] = {0.006 * size, 0.006 * size};
    cairo_set_dash(cr, dash, 2, 0);
  }
  if (clipped) {
    cairo_rectangle(cr, ox, oy, size, size);
    cairo_clip(cr);
  }
  const auto draw = bench::Clock::now();
  const std::size_t n = s.x0.size();
  for (std::size_t i = 0; i < n; ++i) {
    cairo_move_to(cr, ox + size * s.x0[i], oy + size * (1 - s.y0[i]));
    cairo_line_to(cr, ox + size * s.x1[i], oy + size * (1 - s.y1[i]));
    cairo_stroke(cr);
  }
  drawing = bench::seconds_since(draw);
  cairo_destroy(cr);
  if (f == Format::png) cairo_surface_write_to_png(surface, "raw.png");
  cairo_surface_finish(surface);
  cairo_surface_destroy(surface);
  return bench::seconds_since(start);
}

void compare(const char* name, const Segments& s, Format f, Style style, bool clipped, const Page& png,
             double target) {
  // PNG: whole page; PDF: the drawing part.
  auto subject = [&] {
    double drawing = 0;
    const double total = library(s, f, style, clipped, drawing);
    return f == Format::png ? total : drawing;
  };
  auto baseline = [&] {
    double drawing = 0;
    const double total = rawCairo(s, f, style, clipped, png, drawing);
    return f == Format::png ? total : drawing;
  };
  bench::row(name, bench::alternate(subject, baseline), style == Style::dashed ? "cairo dashes" : "raw cairo",
             target);
}

}  // namespace

int main() {
  // One warm-up page tells the PNG size the library uses.
  {
    double unused = 0;
    library(shortSegments(10), Format::png, Style::solid, false, unused);
  }
  const Page png = pngPage();

  const Segments shortOnes = shortSegments(bench::scaled(1000000));
  const Segments walk = randomWalk(bench::scaled(100000));
  const Segments longOnes = longSegments(bench::scaled(20000));
  const Segments fewShort = shortSegments(bench::scaled(100000));
  const Segments dashedOnes = longSegments(bench::scaled(20000));

  compare("1e6 short segments, PNG", shortOnes, Format::png, Style::solid, false, png, 1.1);
  compare("1e5-step random walk, PNG", walk, Format::png, Style::solid, false, png, 1.2);
  compare("2e4 long clipped segments, PNG", longOnes, Format::png, Style::solid, true, png, 0);
  compare("1e5 short segments, PDF drawing", fewShort, Format::pdf, Style::solid, false, png, 1.3);
  compare("1e5-step random walk, PDF drawing", walk, Format::pdf, Style::solid, false, png, 1.3);
  compare("2e4 long dashed segments, PNG", dashedOnes, Format::png, Style::dashed, true, png, 1.3);
  compare("2e4 long dashed segments, PDF drawing", dashedOnes, Format::pdf, Style::dashed, true, png, 1.3);
  return 0;
}
