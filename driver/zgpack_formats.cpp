// Output driver: the table of output formats (the window, PNG, EPS, SVG, PDF),
// with each format's surface and page end, the names of page files, failures
// to write them, and the completion of everything written when the process
// ends early.
#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <cairo-svg.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <zep/driver.hpp>

#include "driver/zgpack_internal.hpp"

namespace zep {

namespace {

// The zlib level that streams of this thread asked at the default level take;
// the default itself while no ZgStreamLevel lives.
thread_local int stream_level = Z_DEFAULT_COMPRESSION;

}  // namespace

int zgzliblevel(float imgcmp) {
  if (imgcmp >= 0.0f && imgcmp <= 1.0f) return static_cast<int>(imgcmp * 9.0f + 0.5f);
  return 1;
}

ZgStreamLevel::ZgStreamLevel(float imgcmp) : previous_(stream_level) { stream_level = zgzliblevel(imgcmp); }

ZgStreamLevel::~ZgStreamLevel() { stream_level = previous_; }

namespace {

// ---------------------------------------------------------------------------
// Surfaces
// ---------------------------------------------------------------------------

cairo_surface_t* create_image(const ZgFormat&, const std::string&) {
  const ZgState& s = zgstate();
  return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, s.wsxwd, s.wsywd);
}

// Landscape EPS page; the plot lies in its top left corner.
cairo_surface_t* create_eps(const ZgFormat& f, const std::string& file) {
  ZgState& s = zgstate();
  s.ddvscale = 1.0;
  zgopenfile(file);
  const double w = s.exact ? s.exact_w : f.page_width, h = s.exact ? s.exact_h : f.page_height;
  cairo_surface_t* surface = cairo_ps_surface_create_for_stream(&zgwritefile, nullptr, w, h);
  cairo_ps_surface_set_eps(surface, TRUE);
  // EPS lines keep their own widths for the rest of the session, whatever RLWFACT says.
  s.linewidth = kZgEpsLineWidths;
  return surface;
}

cairo_surface_t* create_svg(const ZgFormat&, const std::string& file) {
  const ZgState& s = zgstate();
  zgopenfile(file);
  if (s.exact) return cairo_svg_surface_create_for_stream(&zgwritefile, nullptr, s.exact_w, s.exact_h);
  return cairo_svg_surface_create_for_stream(&zgwritefile, nullptr, s.wsxwd, s.wsywd);
}

// Portrait A4 page; zgcatl turns the plot onto it.
cairo_surface_t* create_pdf(const ZgFormat& f, const std::string& file) {
  const ZgState& s = zgstate();
  zgstate().ddvscale = 1.0;
  zgopenfile(file);
  if (s.exact) return cairo_pdf_surface_create_for_stream(&zgwritefile, nullptr, s.exact_w, s.exact_h);
  return cairo_pdf_surface_create_for_stream(&zgwritefile, nullptr, f.page_width, f.page_height);
}

// ---------------------------------------------------------------------------
// Page ends
// ---------------------------------------------------------------------------

void end_png_page() {
  ZgState& s = zgstate();
  zgflushstroke();
  if (s.csr) {
    cairo_surface_flush(s.csr.get());
    if (s.pngstdout) {
      // A short write of the stream is the stream's own error; no message.
      zgwritepng(s.csr.get(), s.imgcmp, png2stdout, stdout);
      std::fflush(stdout);
    } else {
      zgwritepageimage();
    }
  }
  zgreleasesurface();
}

void end_pdf_page() {
  ZgState& s = zgstate();
  // After the close of the single file the page had no context to go to.
  if (!s.cr) return;
  zgflushstroke();
  {
    const ZgStreamLevel level(s.imgcmp);
    cairo_show_page(s.cr.get());
  }
  if (s.sep)
    zgreleasesurface();
  else
    zgchecksurface();
}

// ---------------------------------------------------------------------------
// The table
// ---------------------------------------------------------------------------

// name, suffix, raster, paper, rotated, multipage, tone outline, line scale,
// sheet width and height, surface, page end. The window ends its pages itself
// (waits and dumps).
constexpr ZgFormat kWindow{"DISP", nullptr, true, false, false, false, false, 0.0, 0, 0, &create_image, nullptr};
constexpr std::array<ZgFormat, 4> kFileFormats{{
    {"PNG", "png", true, false, false, false, false, 0.0, 0, 0, &create_image, &end_png_page},
    {"EPS", "eps", false, true, false, false, false, 0.1, 842, 595, &create_eps, &zgreleasesurface},
    {"SVG", "svg", false, false, false, false, false, 0.0, 0, 0, &create_svg, &zgreleasesurface},
    {"PDF", "pdf", false, true, true, true, true, 0.0, 595, 842, &create_pdf, &end_pdf_page},
}};
constexpr int kDefaultFileFormat = 4;

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

const ZgFormat* zgfileformat(int ifl) {
  if (ifl < 1 || ifl > static_cast<int>(kFileFormats.size())) return nullptr;
  return &kFileFormats[static_cast<std::size_t>(ifl - 1)];
}

const ZgFormat& zgformat() {
  const ZgState& s = zgstate();
  if (s.idev_type != 2) return kWindow;
  const ZgFormat* f = zgfileformat(s.ifl);
  return f != nullptr ? *f : *zgfileformat(kDefaultFileFormat);
}

bool zgperpagefile() { return !zgformat().multipage || zgstate().sep; }

std::string zgpagefilename(std::string_view suffix) {
  const ZgState& s = zgstate();
  int len = std::snprintf(nullptr, 0, "%s_%0*d.%.*s", s.dmpfile.c_str(), s.dmpdgt, s.page,
                          static_cast<int>(suffix.size()), suffix.data());
  std::string name(static_cast<std::size_t>(std::max(len, 0)) + 1, '\0');
  std::snprintf(name.data(), name.size(), "%s_%0*d.%.*s", s.dmpfile.c_str(), s.dmpdgt, s.page,
                static_cast<int>(suffix.size()), suffix.data());
  name.resize(static_cast<std::size_t>(std::max(len, 0)));
  return name;
}

namespace {

// A PNG image file of our own, so that a failed write or close is seen.
struct PngFile {
  std::FILE* fp = nullptr;
  int error = 0;
};

int last_error() { return errno != 0 ? errno : EIO; }

cairo_status_t write_png(void* closure, const unsigned char* data, unsigned int length) {
  auto* f = static_cast<PngFile*>(closure);
  if (std::fwrite(data, 1, length, f->fp) == length) return CAIRO_STATUS_SUCCESS;
  if (f->error == 0) f->error = last_error();
  return CAIRO_STATUS_WRITE_ERROR;
}

std::string cause_of(int error) { return upper(std::strerror(error)); }

}  // namespace

void zgwritepageimage() {
  ZgState& s = zgstate();
  zgflushstroke();
  if (!s.csr) return;
  if (s.imgcmp > 1.0f) {
    std::fputs(" *** Error in zgdopn : ", stderr);
    std::fputs("Image compression must be 0-1.\n", stderr);
  }
  cairo_surface_flush(s.csr.get());
  const std::string file = zgpagefilename(s.imgfmt);
  PngFile png;
  errno = 0;
  png.fp = std::fopen(file.c_str(), "wb");
  if (png.fp == nullptr) {
    zgfilefailed(file, cause_of(last_error()));
    return;
  }
  const cairo_status_t st = zgwritepng(s.csr.get(), s.imgcmp, &write_png, &png);
  if (std::fclose(png.fp) != 0 && png.error == 0) png.error = last_error();
  if (png.error != 0)
    zgfilefailed(file, cause_of(png.error));
  else if (st != CAIRO_STATUS_SUCCESS)
    zgfilefailed(file, upper(cairo_status_to_string(st)));
}

void zgfilefailed(const std::string& file, const std::string& cause) {
  ZgState& s = zgstate();
  if (!s.failed_file.empty()) return;  // the first failure is the one to fix
  s.failed_file = file.empty() ? std::string("?") : file;
  s.failed_cause = cause;
}

void zgopenfile(const std::string& file) {
  ZgState& s = zgstate();
  s.csr_file = file;
  s.csr_errno = 0;
  s.csr_failed = false;
  errno = 0;
  s.csr_fp = std::fopen(file.c_str(), "wb");
  if (s.csr_fp == nullptr) {
    zgfilefailed(file, cause_of(last_error()));
    s.csr_failed = true;
  }
}

cairo_status_t zgwritefile(void*, const unsigned char* data, unsigned int length) {
  ZgState& s = zgstate();
  if (s.csr_fp == nullptr) return CAIRO_STATUS_WRITE_ERROR;
  // cairo hands PostScript and PDF over a few bytes at a time, a number or an
  // operator each: the stream's lock would cost more than the copy. Only this
  // thread writes the page file.
  if (fwrite_unlocked(data, 1, length, s.csr_fp) == length) return CAIRO_STATUS_SUCCESS;
  if (s.csr_errno == 0) s.csr_errno = last_error();
  return CAIRO_STATUS_WRITE_ERROR;
}

void zgchecksurface() {
  ZgState& s = zgstate();
  if (s.csr_file.empty() || s.csr_failed) return;
  if (s.csr_fp != nullptr && std::fflush(s.csr_fp) != 0 && s.csr_errno == 0) s.csr_errno = last_error();
  const cairo_status_t st = s.csr ? cairo_surface_status(s.csr.get()) : CAIRO_STATUS_SUCCESS;
  if (s.csr_errno != 0)
    zgfilefailed(s.csr_file, cause_of(s.csr_errno));
  else if (st != CAIRO_STATUS_SUCCESS)
    zgfilefailed(s.csr_file, upper(cairo_status_to_string(st)));
  else
    return;
  s.csr_failed = true;
}

void zgreleasesurface() {
  ZgState& s = zgstate();
  zgflushstroke();
  s.cr.reset();
  // Finishing writes what the surface still holds; a full disk shows here.
  if (s.csr && !s.csr_file.empty()) {
    const ZgStreamLevel level(s.imgcmp);
    cairo_surface_finish(s.csr.get());
  }
  zgchecksurface();
  s.csr.reset();
  if (s.csr_fp != nullptr) {
    if (std::fclose(s.csr_fp) != 0 && s.csr_errno == 0) s.csr_errno = last_error();
    s.csr_fp = nullptr;
    zgchecksurface();
  }
  s.csr_file.clear();
  s.csr_errno = 0;
  s.csr_failed = false;
}

void zgqfer(std::span<char> file, std::span<char> cause, bool& failed) {
  ZgState& s = zgstate();
  failed = !s.failed_file.empty();
  auto put = [](std::span<char> out, const std::string& text) {
    std::fill(out.begin(), out.end(), ' ');
    std::copy_n(text.begin(), std::min(text.size(), out.size()), out.begin());
  };
  put(file, s.failed_file);
  put(cause, s.failed_cause);
  s.failed_file.clear();
  s.failed_cause.clear();
}

std::string zgfinishoutput() {
  ZgState& s = zgstate();
  if (s.finishing) return {};
  s.finishing = true;
  std::string note;
  // An image still being assembled has no place on the page yet.
  s.csi.reset();
  s.pixels = nullptr;
  const ZgFormat& f = zgformat();
  if (s.pactive && s.cr) {
    // A polyline begun and not yet stroked is part of what was drawn.
    zgflushstroke();
    cairo_stroke(s.cr.get());
    std::string kept;
    if (s.idev_type == 1) {
      if (s.dump) {
        zgwritepageimage();
        kept = zgpagefilename(s.imgfmt);
      }
    } else {
      kept = f.raster ? (s.pngstdout ? std::string("STANDARD OUTPUT") : zgpagefilename(s.imgfmt)) : s.csr_file;
      f.end_page();
    }
    if (!kept.empty()) note = "PAGE " + std::to_string(s.page) + " IS INCOMPLETE; KEPT AS DRAWN IN " + kept + ".";
  }
  s.pactive = false;
  // The single PDF file with its finished pages, or a context left from an
  // open without pages.
  if (s.idev_type == 2) zgreleasesurface();
  s.finishing = false;
  return note;
}

}  // namespace zep

// zlib's own deflateInit_ is this same call with the level asked for. The
// program's cairo binds to this one, which changes the default level only
// while a ZgStreamLevel lives on the calling thread; every other caller, and
// every other moment, gets what zlib gives.
extern "C" int deflateInit_(z_streamp strm, int level, const char* version, int stream_size) {
  if (level == Z_DEFAULT_COMPRESSION) level = zep::stream_level;
  constexpr int kMemLevel = 8;  // zlib's default
  return deflateInit2_(strm, level, Z_DEFLATED, MAX_WBITS, kMemLevel, Z_DEFAULT_STRATEGY, version, stream_size);
}
