// Stroke-font glyphs on raster pages. A glyph shape at one size, angle, line
// width and quarter-pixel position is stroked once into an alpha mask, which is
// then painted in the current colour wherever the glyph recurs: cairo's image
// stroker costs many times more per glyph than painting a small mask.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>

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
    mix(static_cast<std::uint64_t>(k.phaseX * 64 + k.phaseY * 8 + k.antialias));
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

}  // namespace

bool zgglyph(long long shape, double x, double y, double a, double b, double c, double d, int nline,
             const int* npts, const float* u, const float* v) {
  ZgState& s = zgstate();
  if (!s.cr || !zgformat().raster || zgformat().rotated || nline < 0) return false;
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
  // As after the strokes: the last point is remembered, and the polyline's end
  // ends full-colour mode.
  int total = 0;
  for (int i = 0; i < nline; ++i) total += std::max(npts[i], 0);
  if (total > 0) {
    s.rwxold = x + a * u[total - 1] + b * v[total - 1];
    s.rwyold = y + c * u[total - 1] + d * v[total - 1];
  }
  s.lfcmod = false;
  return true;
}

void zgglyphclear() { cache.clear(); }

std::size_t zgglyphbytes() { return cache.bytes; }

}  // namespace zep
