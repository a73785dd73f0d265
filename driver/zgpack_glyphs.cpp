// Stroke-font glyphs painted whole. On raster pages a glyph shape at one size,
// angle, line width and quarter-pixel position is stroked once into an alpha
// mask, which is then painted in the current colour wherever the glyph recurs:
// cairo's image stroker costs many times more per glyph than painting a small
// mask. On PDF pages each shape becomes a glyph of a cairo user font, which the
// file holds once as a Type 3 glyph of strokes: printing every coordinate of
// every stroke is what makes text-heavy PDF pages slow to finish. Markers on
// PDF pages are glyphs of the same font (zgmark): a filled marker's outline is
// filled and stroked inside its glyph, so a page of markers holds each shape
// once and a position per point, however many points there are.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

#include <zep/driver.hpp>

#include "driver/zgpack_internal.hpp"

namespace zep {
namespace {

constexpr int kPhases = 4;          // positions per pixel and axis a glyph may take
constexpr int kMaxMaskSide = 256;   // larger glyphs are rare and stroked as lines
constexpr std::size_t kEntryOverhead = 256;  // the surface object and the map node

struct GlyphKey {
  long long shape = 0;
  double a = 0, b = 0, c = 0, d = 0;  // glyph units to surface pixels
  double width = 0;
  int phaseX = 0, phaseY = 0;
  int antialias = 0;
  double tolerance = 0;
  bool filled = false;  // line 0 is an outline, filled as well (markers)
  bool operator==(const GlyphKey&) const = default;
};

struct GlyphKeyHash {
  std::size_t operator()(const GlyphKey& k) const noexcept {
    std::uint64_t h = 1469598103934665603ULL;
    auto mix = [&h](std::uint64_t v) {
      h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    };
    auto bits = [](double v) {
      std::uint64_t u = 0;
      std::memcpy(&u, &v, sizeof u);
      return u;
    };
    mix(static_cast<std::uint64_t>(k.shape));
    for (double v : {k.a, k.b, k.c, k.d, k.width, k.tolerance}) mix(bits(v));
    mix(static_cast<std::uint64_t>(k.phaseX * 64 + k.phaseY * 8 + k.antialias + (k.filled ? 4096 : 0)));
    return static_cast<std::size_t>(h);
  }
};

// The mask of one glyph; its top left corner lies (left, top) pixels from the
// whole pixel of the glyph's origin. Empty glyphs have no surface.
struct GlyphMask {
  SurfacePtr mask;
  int left = 0, top = 0, width = 0, height = 0;
};

struct GlyphCache {
  std::unordered_map<GlyphKey, GlyphMask, GlyphKeyHash> masks;
  std::size_t bytes = 0;
  void clear() {
    masks.clear();
    bytes = 0;
  }
} cache;

// -0 and +0 must make the same key.
double normalized(double v) { return v + 0.0; }

// Strokes the glyph's lines, offset by the phase, into a new mask; false when
// the glyph is too large for one.
bool makeMask(const GlyphKey& k, int nline, const int* npts, const float* u, const float* v, GlyphMask& out) {
  const double px = static_cast<double>(k.phaseX) / kPhases, py = static_cast<double>(k.phaseY) / kPhases;
  auto at = [&](int i, double& x, double& y) {
    x = px + k.a * u[i] + k.b * v[i];
    y = py + k.c * u[i] + k.d * v[i];
  };
  int total = 0;
  for (int i = 0; i < nline; ++i) total += std::max(npts[i], 0);
  if (total == 0) return true;
  double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
  for (int i = 0; i < total; ++i) {
    double x = 0, y = 0;
    at(i, x, y);
    x0 = std::min(x0, x);
    x1 = std::max(x1, x);
    y0 = std::min(y0, y);
    y1 = std::max(y1, y);
  }
  // Round caps reach half the width beyond the points; antialiasing one more pixel.
  const double pad = 0.5 * k.width + 2.0;
  if (!(x1 - x0 + 2 * pad < kMaxMaskSide && y1 - y0 + 2 * pad < kMaxMaskSide)) return false;
  out.left = static_cast<int>(std::floor(x0 - pad));
  out.top = static_cast<int>(std::floor(y0 - pad));
  out.width = static_cast<int>(std::ceil(x1 + pad)) - out.left;
  out.height = static_cast<int>(std::ceil(y1 + pad)) - out.top;
  SurfacePtr mask(cairo_image_surface_create(CAIRO_FORMAT_A8, out.width, out.height));
  if (cairo_surface_status(mask.get()) != CAIRO_STATUS_SUCCESS) return false;
  ContextPtr m(cairo_create(mask.get()));
  cairo_set_antialias(m.get(), static_cast<cairo_antialias_t>(k.antialias));
  cairo_set_tolerance(m.get(), k.tolerance);
  if (k.filled && nline > 0 && npts[0] >= 3) {
    // As a tone fills it, then stroked like the rest.
    for (int n = 0; n < npts[0]; ++n) {
      double x = 0, y = 0;
      at(n, x, y);
      n == 0 ? cairo_move_to(m.get(), x - out.left, y - out.top) : cairo_line_to(m.get(), x - out.left, y - out.top);
    }
    cairo_close_path(m.get());
    // Tones on image pages are filled without antialiasing; the outline's
    // stroke smooths the edge.
    cairo_set_antialias(m.get(), CAIRO_ANTIALIAS_NONE);
    cairo_fill(m.get());
    cairo_set_antialias(m.get(), static_cast<cairo_antialias_t>(k.antialias));
  }
  cairo_set_line_width(m.get(), k.width);
  cairo_set_line_cap(m.get(), CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(m.get(), CAIRO_LINE_JOIN_BEVEL);
  for (int i = 0, j = 0; i < nline; ++i) {
    for (int n = 0; n < npts[i]; ++n, ++j) {
      double x = 0, y = 0;
      at(j, x, y);
      x -= out.left;
      y -= out.top;
      n == 0 ? cairo_move_to(m.get(), x, y) : cairo_line_to(m.get(), x, y);
    }
  }
  cairo_stroke(m.get());
  m.reset();
  cairo_surface_flush(mask.get());
  out.mask = std::move(mask);
  return true;
}

// --- PDF pages ----------------------------------------------------------------

// A glyph shape as the page sees it: the linear part of glyph units to page
// points (the turn of a turned page included) and the line width. The colour
// is the text's: a Type 3 glyph of strokes sets none.
struct VectorKey {
  long long shape = 0;
  double a = 0, b = 0, c = 0, d = 0;
  double width = 0;
  bool filled = false;  // the first line is an outline, filled as well
  bool operator==(const VectorKey&) const = default;
};

struct VectorKeyHash {
  std::size_t operator()(const VectorKey& k) const noexcept {
    return GlyphKeyHash{}(GlyphKey{k.shape, k.a, k.b, k.c, k.d, k.width, 0, 0, k.filled ? 1 : 0, 0.0});
  }
};

// The strokes of one glyph in page points from its origin.
struct VectorShape {
  double width = 0;
  bool filled = false;
  std::vector<int> npts;
  std::vector<double> xy;
};

// The shapes of one font face. cairo owns it with the face (user data), since
// it renders glyphs again whenever its glyph cache lets one go, the last time
// when the file is finished, long after the page that used them.
struct VectorFont {
  std::vector<VectorShape> shapes;
};

cairo_user_data_key_t vectorFontKey;

void destroyVectorFont(void* font) { delete static_cast<VectorFont*>(font); }

cairo_status_t renderVectorGlyph(cairo_scaled_font_t* scaled, unsigned long glyph, cairo_t* cr,
                                 cairo_text_extents_t* extents) {
  const auto* font =
      static_cast<const VectorFont*>(cairo_font_face_get_user_data(cairo_scaled_font_get_font_face(scaled), &vectorFontKey));
  // Ink extents are left for cairo to measure from what is drawn.
  extents->x_advance = extents->y_advance = 0;
  if (font == nullptr || glyph >= font->shapes.size()) return CAIRO_STATUS_SUCCESS;
  const VectorShape& g = font->shapes[glyph];
  if (g.filled && !g.npts.empty()) {
    // Filled as a tone is: the non-zero rule over the outline.
    for (int i = 0; i < g.npts[0]; ++i)
      i == 0 ? cairo_move_to(cr, g.xy[0], g.xy[1]) : cairo_line_to(cr, g.xy[2 * i], g.xy[2 * i + 1]);
    cairo_close_path(cr);
    cairo_fill(cr);
  }
  cairo_set_line_width(cr, g.width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_BEVEL);
  std::size_t j = 0;
  for (int n : g.npts)
    for (int i = 0; i < n; ++i, j += 2)
      i == 0 ? cairo_move_to(cr, g.xy[j], g.xy[j + 1]) : cairo_line_to(cr, g.xy[j], g.xy[j + 1]);
  cairo_stroke(cr);
  return CAIRO_STATUS_SUCCESS;
}

// cairo bounds what glyphs may cover by the font's extents, one em by default,
// which is one point here: the font claims the size of any page instead.
cairo_status_t initVectorFont(cairo_scaled_font_t*, cairo_t*, cairo_font_extents_t* extents) {
  constexpr double kReach = 1.0e4;
  extents->ascent = extents->descent = extents->height = kReach;
  extents->max_x_advance = extents->max_y_advance = kReach;
  return CAIRO_STATUS_SUCCESS;
}

struct FontFaceRelease {
  void operator()(cairo_font_face_t* f) const noexcept { cairo_font_face_destroy(f); }
};

// Measured with cairo 1.16: finishing a PDF page costs more than linearly in
// its drawing operations, so glyphs are shown in runs rather than one by one.
constexpr std::size_t kVectorRun = 1024;
constexpr std::size_t kVectorShapeOverhead = 128;  // map node and vectors

struct VectorGlyphs {
  std::unique_ptr<cairo_font_face_t, FontFaceRelease> face;
  VectorFont* font = nullptr;  // owned by face
  std::unordered_map<VectorKey, unsigned long, VectorKeyHash> ids;
  std::size_t bytes = 0;
  std::vector<cairo_glyph_t> run;  // shown but not yet drawn, in the current colour
  cairo_t* runcr = nullptr;

  // A new face; the old one stays alive for as long as cairo holds it.
  bool renew() {
    face.reset();
    font = nullptr;
    ids.clear();
    bytes = 0;
    std::unique_ptr<cairo_font_face_t, FontFaceRelease> f(cairo_user_font_face_create());
    if (cairo_font_face_status(f.get()) != CAIRO_STATUS_SUCCESS) return false;
    cairo_user_font_face_set_init_func(f.get(), &initVectorFont);
    cairo_user_font_face_set_render_glyph_func(f.get(), &renderVectorGlyph);
    auto* owned = new VectorFont;
    if (cairo_font_face_set_user_data(f.get(), &vectorFontKey, owned, &destroyVectorFont) != CAIRO_STATUS_SUCCESS) {
      delete owned;
      return false;
    }
    font = owned;
    face = std::move(f);
    return true;
  }
} vector;

// Draws the pending run on its context, if that is still the page's.
void flushVectorRun() {
  if (vector.run.empty()) return;
  cairo_t* cr = zgstate().cr.get();
  if (cr != nullptr && cr == vector.runcr && vector.face) {
    // Page points are the font's units: the page context keeps the identity
    // transformation, and the font's size is one point.
    cairo_save(cr);
    cairo_set_font_face(cr, vector.face.get());
    cairo_set_font_size(cr, 1.0);
    cairo_show_glyphs(cr, vector.run.data(), static_cast<int>(vector.run.size()));
    cairo_restore(cr);
  }
  vector.run.clear();
  vector.runcr = nullptr;
}

void clearVector() {
  flushVectorRun();
  vector.face.reset();
  vector.font = nullptr;
  vector.ids.clear();
  vector.bytes = 0;
}

// The page's glyph number of a shape, made on first use; false when there is
// no font to hold it.
bool vectorGlyph(const VectorKey& k, int nline, const int* npts, const float* u, const float* v,
                 unsigned long& id) {
  if (vector.face) {
    auto found = vector.ids.find(k);
    if (found != vector.ids.end()) {
      id = found->second;
      return true;
    }
  }
  VectorShape g;
  g.width = k.width;
  g.filled = k.filled;
  int total = 0;
  for (int i = 0; i < nline; ++i) {
    const int n = std::max(npts[i], 0);
    g.npts.push_back(n);
    total += n;
  }
  g.xy.reserve(2 * static_cast<std::size_t>(total));
  for (int i = 0; i < total; ++i) {
    g.xy.push_back(k.a * u[i] + k.b * v[i]);
    g.xy.push_back(k.c * u[i] + k.d * v[i]);
  }
  const std::size_t bytes = kVectorShapeOverhead + g.npts.size() * sizeof(int) + g.xy.size() * sizeof(double);
  // A full font is let go (after its pending glyphs) for a new one.
  if (!vector.face || vector.bytes + bytes > kZgGlyphCacheBytes) {
    flushVectorRun();
    if (!vector.renew()) return false;
  }
  id = vector.font->shapes.size();
  vector.font->shapes.push_back(std::move(g));
  vector.ids.emplace(k, id);
  vector.bytes += bytes;
  return true;
}

// Shows the glyph at the page point of (x, y) in W; false when it must be stroked.
bool vectorPaint(long long shape, double x, double y, double a, double b, double c, double d, int nline,
                 const int* npts, const float* u, const float* v, bool filled = false) {
  ZgState& s = zgstate();
  cairo_t* cr = s.cr.get();
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) return false;
  const double k = s.ddvscale;
  // Glyph units to surface units, then the turn (x, y) -> (y, -x) of zgturn.
  double ga = k * a, gb = k * b, gc = -k * c, gd = -k * d;
  if (s.turned) {
    const double ta = gc, tb = gd;
    gc = -ga;
    gd = -gb;
    ga = ta;
    gb = tb;
  }
  const ZgPoint o = zgturn(zgxs(x), zgys(y));
  VectorKey key;
  key.shape = shape;
  key.a = normalized(ga);
  key.b = normalized(gb);
  key.c = normalized(gc);
  key.d = normalized(gd);
  key.width = s.linewidth[static_cast<std::size_t>(s.iwdidz - 1)] * s.dlnscale;
  key.filled = filled && nline > 0 && npts[0] >= 3;
  for (double t : {o.x, o.y, key.a, key.b, key.c, key.d, key.width})
    if (!std::isfinite(t) || std::fabs(t) > 1.0e7) return false;
  int total = 0;
  for (int i = 0; i < nline; ++i) total += std::max(npts[i], 0);
  if (total > 0) {
    unsigned long id = 0;
    if (!vectorGlyph(key, nline, npts, u, v, id)) return false;
    // Lines drawn before the run are stroked first; while a run is pending
    // none are (a polyline's open draws the run).
    if (vector.run.empty() || vector.runcr != cr) {
      zgflushstroke();
      vector.runcr = cr;
    }
    vector.run.push_back(cairo_glyph_t{id, o.x, o.y});
    if (vector.run.size() >= kVectorRun) flushVectorRun();
  }
  return true;
}

}  // namespace

void zgflushglyphs() { flushVectorRun(); }

namespace {

// As after the strokes: the last point is remembered, and the polyline's end
// ends full-colour mode.
void rememberLastPoint(double x, double y, double a, double b, double c, double d, int nline, const int* npts,
                       const float* u, const float* v) {
  ZgState& s = zgstate();
  int total = 0;
  for (int i = 0; i < nline; ++i) total += std::max(npts[i], 0);
  if (total > 0) {
    s.rwxold = x + a * u[total - 1] + b * v[total - 1];
    s.rwyold = y + c * u[total - 1] + d * v[total - 1];
  }
  s.lfcmod = false;
}

}  // namespace

namespace {

// The glyph painted from its mask on a raster page; false when it must be stroked.
bool rasterPaint(long long shape, double x, double y, double a, double b, double c, double d, int nline,
                 const int* npts, const float* u, const float* v, bool filled) {
  ZgState& s = zgstate();
  if (!zgformat().raster || zgformat().rotated) return false;
  cairo_t* cr = s.cr.get();
  const double k = s.ddvscale;
  const double ox = zgxs(x), oy = zgys(y);
  GlyphKey key;
  key.shape = shape;
  key.a = normalized(k * a);
  key.b = normalized(k * b);
  key.c = normalized(-k * c);
  key.d = normalized(-k * d);
  key.width = s.linewidth[static_cast<std::size_t>(s.iwdidz - 1)] * s.dlnscale;
  key.antialias = static_cast<int>(cairo_get_antialias(cr));
  key.tolerance = cairo_get_tolerance(cr);
  key.filled = filled;
  for (double t : {ox, oy, key.a, key.b, key.c, key.d, key.width})
    if (!std::isfinite(t)) return false;
  // Whole pixels of the origin and its quarter-pixel phase.
  const double qx = std::floor(ox * kPhases + 0.5), qy = std::floor(oy * kPhases + 0.5);
  if (std::fabs(qx) > 1.0e8 || std::fabs(qy) > 1.0e8) return false;
  const double wholeX = std::floor(qx / kPhases), wholeY = std::floor(qy / kPhases);
  key.phaseX = static_cast<int>(qx - wholeX * kPhases);
  key.phaseY = static_cast<int>(qy - wholeY * kPhases);

  auto found = cache.masks.find(key);
  if (found == cache.masks.end()) {
    GlyphMask made;
    if (!makeMask(key, nline, npts, u, v, made)) return false;
    const std::size_t bytes =
        kEntryOverhead + (made.mask ? static_cast<std::size_t>(cairo_image_surface_get_stride(made.mask.get())) *
                                          static_cast<std::size_t>(made.height)
                                    : 0);
    if (cache.bytes + bytes > kZgGlyphCacheBytes) cache.clear();
    cache.bytes += bytes;
    found = cache.masks.emplace(key, std::move(made)).first;
  }
  const GlyphMask& g = found->second;
  if (g.mask) {
    const double left = wholeX + g.left, top = wholeY + g.top;
    // A clip that cuts the glyph is left to the strokes.
    double cx0 = 0, cy0 = 0, cx1 = 0, cy1 = 0;
    cairo_clip_extents(cr, &cx0, &cy0, &cx1, &cy1);
    if (left < cx0 || top < cy0 || left + g.width > cx1 || top + g.height > cy1) return false;
    zgflushstroke();
    cairo_mask_surface(cr, g.mask.get(), left, top);
    zguprect(zgtrunc(left), zgtrunc(top));
    zguprect(zgtrunc(left + g.width), zgtrunc(top + g.height));
  }
  return true;
}

}  // namespace

bool zgglyph(long long shape, double x, double y, double a, double b, double c, double d, int nline,
             const int* npts, const float* u, const float* v) {
  ZgState& s = zgstate();
  if (!s.cr || nline < 0) return false;
  // EPS and SVG keep their strokes: neither gains from cairo's user fonts.
  const bool pdf = s.csr && cairo_surface_get_type(s.csr.get()) == CAIRO_SURFACE_TYPE_PDF;
  if (pdf ? !vectorPaint(shape, x, y, a, b, c, d, nline, npts, u, v)
          : !rasterPaint(shape, x, y, a, b, c, d, nline, npts, u, v, false))
    return false;
  rememberLastPoint(x, y, a, b, c, d, nline, npts, u, v);
  return true;
}

bool zgmark(long long shape, double x, double y, double a, double b, double c, double d, int nline,
            const int* npts, const float* u, const float* v, bool filled) {
  ZgState& s = zgstate();
  if (!s.cr || nline < 0) return false;
  const bool pdf = s.csr && cairo_surface_get_type(s.csr.get()) == CAIRO_SURFACE_TYPE_PDF;
  if (pdf ? !vectorPaint(shape, x, y, a, b, c, d, nline, npts, u, v, filled)
          : !rasterPaint(shape, x, y, a, b, c, d, nline, npts, u, v, filled))
    return false;
  rememberLastPoint(x, y, a, b, c, d, nline, npts, u, v);
  return true;
}

void zgglyphclear() {
  cache.clear();
  clearVector();
}

std::size_t zgglyphbytes() { return cache.bytes + vector.bytes; }

}  // namespace zep
