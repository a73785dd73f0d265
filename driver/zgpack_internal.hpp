// Shared state of the output driver (zgpack) and the driver routines whose
// arguments are toolkit or cairo types. Every driver source file includes this;
// nothing outside driver/ (apart from tests) should need it.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <cairo.h>
#include <gtk/gtk.h>
#include <pango/pango.h>

#include "driver/zgpack_entries.hpp"

namespace zep {

// Owners for cairo handles: the driver replaces surfaces and contexts at page
// boundaries, and a forgotten release would leave a file unfinished.
struct CairoSurfaceRelease {
  void operator()(cairo_surface_t* s) const noexcept { cairo_surface_destroy(s); }
};
struct CairoContextRelease {
  void operator()(cairo_t* c) const noexcept { cairo_destroy(c); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, CairoSurfaceRelease>;
using ContextPtr = std::unique_ptr<cairo_t, CairoContextRelease>;

// One colour table entry, 16 bits per channel.
struct ZgColor {
  std::uint16_t r = 0, g = 0, b = 0;
};

// One record of the tone bitmap pattern file.
struct ZgBitmapRecord {
  int nn1 = 0, nn2 = 0, nx = 0, ny = 0;
  std::string bmline;
};

inline constexpr int kZgColors = 255;          // colour table entries
inline constexpr int kZgMaxBitmaps = 300;      // records of the pattern file
inline constexpr int kZgMaxBitmapWord = 259;   // characters of a pattern word
inline constexpr int kZgNameLength = 79;       // file stem and window title
inline constexpr int kZgSuffixLength = 7;      // image file suffix
inline constexpr int kZgMaxSurfaceSide = 32767;  // cairo's largest image side

inline constexpr std::array<double, 9> kZgLineWidths{1.0, 1.5, 2.0, 2.5, 3.0, 3.5, 4.0, 4.5, 5.0};
inline constexpr std::array<double, 9> kZgEpsLineWidths{2, 4, 6, 8, 10, 11, 12, 13, 14};

// The whole driver state. There is exactly one (zgstate()); it lives for the
// whole process, as the window and the single PDF file may.
struct ZgState {
  ZgState() = default;
  ZgState(const ZgState&) = delete;
  ZgState& operator=(const ZgState&) = delete;
  // A process that exits in the middle of a session still completes its open
  // file: the surface writes its rest through csr_fp, which must outlive it.
  ~ZgState() {
    cr.reset();
    csr.reset();
    if (csr_fp != nullptr) std::fclose(csr_fp);
  }

  // device and format
  int idev_type = 0;
  int jdev_type = 0;
  int ifl = 1;
  int iwidth = 900, iheight = 650;
  int wsxwd = 0, wsywd = 0;
  // the height the y axis is turned about (wsywd, or an exact page's fractional height)
  double wsyflip = 0.0;
  // a page of exact size (zgspag) for file output; zero width: the design's layout
  double page_wcm = 0.0, page_hcm = 0.0, page_dpi = 100.0;
  bool exact = false;     // the open device uses it
  double exact_w = 0.0, exact_h = 0.0;  // its size in surface units

  // paper layout of PDF and EPS
  int iPS_PAGE_WIDTH = 0, iPS_PAGE_HEIGHT = 0;
  double offx = 0.0, offy = 0.0;
  double ddvscale = 1.0;
  double dlnscale = 1.0;
  bool turned = false;  // zgcatl turned the plot onto the portrait sheet
  std::array<double, 9> linewidth = kZgLineWidths;

  // pages and files
  int page = 0;
  int dmpdgt = 4;
  std::string dmpfile = "zep";
  std::string xtitle;
  std::string imgfmt = "png";
  float imgcmp = -1.0f;

  // behaviour switches
  bool wait_np = true, wait_op = false, wait_cl = true;
  bool key = true;
  bool dump = false, dumpz = false;
  bool fgbg = false;
  bool sep = false;
  bool laltz = false;
  bool wnd = true;
  bool pngstdout = false;
  int posx = -999, posy = -999;
  bool lzeponly = false;
  bool pactive = false;
  bool opening = false;  // zgdopn is making its provisional context

  // waits
  int ifunc = 0;
  bool next = false;

  // window
  GtkWidget* window = nullptr;
  GtkWidget* drawing_area = nullptr;
  bool window_shown = false;  // mapped, with its event handlers connected

  // drawing surface and context of the current page
  SurfacePtr csr;
  ContextPtr cr;
  // the file the surface writes through zgwritefile (none for raster pages)
  std::string csr_file;
  std::FILE* csr_fp = nullptr;
  int csr_errno = 0;        // of the first failed write
  bool csr_failed = false;  // its failure is already recorded

  // the first file that could not be written since the last query, and why
  std::string failed_file, failed_cause;
  bool finishing = false;  // zgfinishoutput is running

  // dirty rectangle of the window, surface coordinates; all zero = empty
  int irxb = 0, iryb = 0, irxt = 0, iryt = 0;
  int irwidth = 1;

  // parameter slots handed over by the dispatcher
  std::array<bool, 2> zglparm{true, false};
  std::array<int, 3> zgiparm{124, 95, 34};
  std::array<double, 2> zgrparm{0.7, 0.3};

  // copies of the text-control slots taken at open
  bool lfprop = true, lcntl = false;
  int isup = 124, isub = 95, irst = 34;
  double small = 0.7, shift = 0.3;

  // colour table and drawing attributes
  std::array<ZgColor, kZgColors> cx{};
  int iclidz = 1;
  int iwdidz = 1;
  bool lfcmod = false;
  double rwxold = 0.0, rwyold = 0.0;
  bool lclatrz = true;
  int iwtroz = 1;

  // image being assembled between zgiopn and zgicls
  int ixz = 0, iyz = 0, iwz = 0, ihz = 0, ixxz = 0, iyyz = 0;
  long long image_filled = 0;  // pixels stored so far
  SurfacePtr csi;
  unsigned char* pixels = nullptr;
  int rows = 0;  // row stride in bytes

  // tone bitmap patterns
  int nbmap = 0;
  std::vector<ZgBitmapRecord> bitmaps;

  // system-font state, shared with the text and font-catalogue routines
  std::string fontfamily = "Sans Normal 12";
  PangoFontDescription* font_desc = nullptr;
};

ZgState& zgstate();

inline constexpr const char* kZgDefaultFont = "Sans Normal 12";
inline constexpr const char* kZgErrorPrefix = "*** Error in zgdopn : ";

// The first n characters of a text, trailing blanks and NULs removed.
std::string zgtrim(std::string_view text, std::size_t n);

// Surfaces and page layout.
cairo_t* zgcsfc();
void zgcatl();

// What differs between the window and the file formats, one row per output.
// The rest of the driver reads the row of the open device (zgformat()), so a
// new format is one more row.
struct ZgFormat {
  const char* name;    // "DISP" for the window, else the format's name
  const char* suffix;  // file suffix; raster pages are named by CIMGFMT instead
  bool raster;         // image surface, background painted, written as PNG
  bool paper;          // laid out on the A4 sheet; the page rectangle is the layout's
  bool rotated;        // the plot is turned on the portrait sheet
  bool multipage;      // one file holds every page unless LSEP asks for one per page
  bool tone_outline;   // tones also stroke their outline against hairline gaps
  double line_scale;   // fixed scale of all line widths; 0 keeps the caller's
  double page_width, page_height;  // sheet in points; 0: the surface size
  // Makes the page surface of this row writing to `file` (ignored by raster
  // formats).
  cairo_surface_t* (*create)(const ZgFormat& row, const std::string& file);
  // Ends the current file page: written, shown or finished, and released.
  void (*end_page)();
};

// The row of the open device: the window for device 1, else the file format
// IFL (the default PDF for a number that names none).
const ZgFormat& zgformat();
// The row of file format `ifl`, or null when it names none.
const ZgFormat* zgfileformat(int ifl);
// True when the open device makes one file per page (not the single PDF file).
bool zgperpagefile();
// "%s_%0*d.%s" with the stem, the page number and `suffix`.
std::string zgpagefilename(std::string_view suffix);
// Writes the current page surface as a PNG image file named by CIMGFMT.
void zgwritepageimage();

// Files that could not be written: the first since the last zgqfer, with the
// reason. A surface in error draws nothing, so this is the only trace.
void zgfilefailed(const std::string& file, const std::string& cause);
// Opens the file of the surface about to be made (a failure is recorded), and
// the write callback of vector surfaces into it.
void zgopenfile(const std::string& file);
cairo_status_t zgwritefile(void* closure, const unsigned char* data, unsigned int length);
// Records a failure of the current file when its surface is in error.
void zgchecksurface();
// Releases the page context and surface, finishing the surface and closing
// its file; a write that failed on the way is recorded.
void zgreleasesurface();

// Completes whatever the driver has written before the process ends abnormally
// or on the user's request: finished pages stay valid and the page in progress
// is kept where its file can take it. Returns a note about an incomplete page
// (empty when there is none). Safe to call more than once.
std::string zgfinishoutput();

// Truncation toward zero that saturates instead of overflowing: coordinates and
// sizes far outside any page, or taken from odd parameter values, stay defined.
inline int zgtrunc(double v) {
  if (!(v == v)) return 0;  // NaN
  return static_cast<int>(std::clamp(v, -1.0e9, 1.0e9));
}

// Conversion from workstation to surface coordinates.
inline double zgxs(double x) { return (x + 0.5) * zgstate().ddvscale; }
inline double zgys(double y) { return (zgstate().wsyflip - y + 0.5) * zgstate().ddvscale; }

// Surface coordinates to the page of the current context: turned exactly by 90
// degrees onto the portrait sheet after zgcatl (the context itself keeps the
// identity, so that cairo writes plain coordinates without a transformation
// around every stroke).
struct ZgPoint {
  double x, y;
};
inline ZgPoint zgturn(double xs, double ys) {
  const ZgState& s = zgstate();
  if (!s.turned) return {xs, ys};
  return {ys + s.offx, s.ddvscale * s.iPS_PAGE_HEIGHT + s.offy - xs};
}
// The same turn as a transformation of cr, for what cairo places itself
// (system-font text, images); nothing without zgcatl.
void zgturncontext(cairo_t* cr);
// Whether the open device's pages are turned onto the A4 sheet (not on exact pages).
bool zgturnspage();

// Strokes the polylines gathered so far; anything else that draws, changes the
// drawing state or ends a page calls it first.
void zgflushstroke();

// Draws the glyphs of PDF pages that zgglyph gathered into a run (zgflushstroke
// calls it first).
void zgflushglyphs();

// The raster glyph masks and PDF glyph shapes of zgglyph: dropped at every
// page, and the bytes they hold (at most kZgGlyphCacheBytes each; all are
// dropped when a new one would not fit).
inline constexpr std::size_t kZgGlyphCacheBytes = std::size_t{4} << 20;
void zgglyphclear();
std::size_t zgglyphbytes();

// Drawing colour from entry k of the colour table.
void zgsetcolor(cairo_t* cr, int k);

// Colormap and pattern files: the whole file is read or the process ends with
// the driver's message and status 1.
void zgreadcolormap(std::string_view file, bool lfgbg);
void zgreadbitmap(std::string_view file);

// Window event handlers.
gboolean zg_key_press_event(GtkWidget* widget, GdkEventKey* event, gpointer data);
gboolean zg_button_press_event(GtkWidget* widget, GdkEventButton* event, gpointer data);
gboolean zg_expose_event(GtkWidget* widget, GdkEventExpose* event, gpointer data);
void zg_destroy_event(GtkWidget* widget, gpointer data);

// Write callback of the PNG stream; the closure is a FILE*.
cairo_status_t png2stdout(void* closure, const unsigned char* data, unsigned int length);

// Writes an image surface as PNG through `write` (a cairo stream callback), at
// the zlib level RIMGCMP chooses (fast by default); the status of the write.
using ZgPngWrite = cairo_write_func_t;
cairo_status_t zgwritepng(cairo_surface_t* surface, float imgcmp, ZgPngWrite write, void* closure);

// The zlib level of written files: RIMGCMP from 0 to 1 spans levels 0 to 9;
// any other value (the default -1) takes the fast level 1.
int zgzliblevel(float imgcmp);

// While one lives, cairo's streams of PDF (and PostScript images) that this
// thread compresses at zlib's default level take the level RIMGCMP chooses
// instead: cairo has no setting of its own, and its default level costs four
// times the fast one on the paths of a map for files a sixth smaller. What
// the files show is the same at every level.
class ZgStreamLevel {
 public:
  explicit ZgStreamLevel(float imgcmp);
  ~ZgStreamLevel();
  ZgStreamLevel(const ZgStreamLevel&) = delete;
  ZgStreamLevel& operator=(const ZgStreamLevel&) = delete;

 private:
  int previous_;
};

// System-font text. The current font description (made from the default name
// when none is set yet) and its replacement, which takes ownership of `desc`.
PangoFontDescription* zgfontdesc();
void zgsetfontdesc(PangoFontDescription* desc);
// Markup of the first n bytes of text for a font of fsize Pango units, of any
// length (zeptext2pangomarkup is the same into a fixed buffer).
std::string zgmarkup(std::string_view text, int n, double fsize);
// Draws markup at the current point with the current font; false when Pango
// rejects the markup (nothing is drawn then).
bool rendertext(cairo_t* context, const char* markup);
// Logical width and height of markup in surface units; zero for rejected markup.
void get_pangostring_width_height(cairo_t* context, const char* markup, double& w, double& h);

// Font selection dialog: response handler, and the window's drawing area (null
// before a window exists).
void font_dialog_response(GtkDialog* dialog, gint response, gpointer data = nullptr);
GtkWidget* zgqdrw();

}  // namespace zep
