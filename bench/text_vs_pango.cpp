// Text against raw Pango and PLplot: 10^4 strings of 20 characters on one PDF
// page (and on one PNG page), timed whole, finishing the file included.
//   stroke fonts   (SYSFONT false)  against PLplot's Hershey text (plptex on its
//                  pdf device with text=0: its cairo devices always draw text
//                  with Pango, so on PNG the baseline is PLplot's pngcairo text)
//   system fonts   (SYSFONT true)   against raw Pango and PLplot's Pango text
//
//   bench_text_vs_pango          (BENCH_REPS, BENCH_SCALE as in bench_support.hpp)
#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>
#include <plplot.h>

#include <cstdio>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "bench_support.hpp"

namespace {

struct Strings {
  std::vector<float> x, y;
  std::vector<std::string> text;
};

Strings strings(long n) {
  bench::Random rnd(11);
  Strings s;
  for (long i = 0; i < n; ++i) {
    s.x.push_back(static_cast<float>(0.1 + 0.8 * rnd.next()));
    s.y.push_back(static_cast<float>(0.05 + 0.9 * rnd.next()));
    char buf[64];
    std::snprintf(buf, sizeof buf, "Label %06ld x=%.3f", i, s.x.back());
    s.text.emplace_back(buf, 20);
  }
  return s;
}

enum class Format { png, pdf };

double library(const Strings& s, Format f, bool sysfont) {
  const auto start = bench::Clock::now();
  zep::gliset("MSGLEV", 3);
  zep::swiset("IFL", f == Format::png ? 1 : 4);
  zep::swlset("SYSFONT", sysfont);
  zep::sgopn(2);
  zep::sgfrm();
  zep::sgswnd(0, 1, 0, 1);
  zep::sgstrn(1);
  zep::sgstrf();
  zep::sgstxs(0.012F);
  for (std::size_t i = 0; i < s.x.size(); ++i) zep::sgtxv(s.x[i], s.y[i], s.text[i]);
  zep::sgcls();
  return bench::seconds_since(start);
}

// PLplot: Hershey strokes on its pdf device (text=0), its cairo devices otherwise.
double plplot(const Strings& s, Format f, bool hershey) {
  const auto start = bench::Clock::now();
  const bool strokes = hershey && f == Format::pdf;
  plsdev(strokes ? "pdf" : f == Format::png ? "pngcairo" : "pdfcairo");
  plsfnam(f == Format::png ? "plplot.png" : "plplot.pdf");
  if (strokes) plsetopt("drvopt", "text=0");
  plspage(0, 0, 842, 595, 0, 0);
  plscolbg(255, 255, 255);
  plinit();
  pladv(0);
  plvpor(0, 1, 0, 1);
  plwind(0, 1, 0, 1);
  plscol0(1, 0, 0, 0);
  plcol0(1);
  plschr(0, 0.6);
  for (std::size_t i = 0; i < s.x.size(); ++i) plptex(s.x[i], s.y[i], 1, 0, 0.5, s.text[i].c_str());
  plend();
  return bench::seconds_since(start);
}

double rawPango(const Strings& s, Format f) {
  const auto start = bench::Clock::now();
  cairo_surface_t* surface = f == Format::png ? cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1124, 796)
                                              : cairo_pdf_surface_create("raw.pdf", 842, 595);
  const double w = f == Format::png ? 1124 : 842, h = f == Format::png ? 796 : 595;
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string("Sans 7");
  pango_layout_set_font_description(layout, font);
  for (std::size_t i = 0; i < s.x.size(); ++i) {
    pango_layout_set_text(layout, s.text[i].c_str(), -1);
    int lw = 0, lh = 0;
    pango_layout_get_pixel_size(layout, &lw, &lh);
    cairo_move_to(cr, w * s.x[i] - 0.5 * lw, h * (1 - s.y[i]) - 0.5 * lh);
    pango_cairo_show_layout(cr, layout);
  }
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_destroy(cr);
  if (f == Format::png) cairo_surface_write_to_png(surface, "raw.png");
  cairo_surface_finish(surface);
  cairo_surface_destroy(surface);
  return bench::seconds_since(start);
}

}  // namespace

int main() {
  const Strings s = strings(bench::scaled(10000));
  for (Format f : {Format::pdf, Format::png}) {
    const std::string page = f == Format::pdf ? "PDF" : "PNG";
    bench::row("1e4 stroke-font strings, " + page,
               bench::alternate([&] { return library(s, f, false); }, [&] { return plplot(s, f, true); }),
               f == Format::pdf ? "PLplot Hershey text" : "PLplot pngcairo text", 1.0);
    bench::row("1e4 system-font strings, " + page,
               bench::alternate([&] { return library(s, f, true); }, [&] { return rawPango(s, f); }), "raw Pango");
    bench::row("1e4 system-font strings, " + page,
               bench::alternate([&] { return library(s, f, true); }, [&] { return plplot(s, f, false); }),
               "PLplot Pango text");
  }
  return 0;
}
