// The vector field, its points in V, the local frame of a map or of the axes at
// a point, thinning and scale, colours by magnitude, and the arrow batches that
// every drawing routine of the package goes through.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <unordered_map>
#include <vector>

#include <zep/colour.hpp>
#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>
#include <zep/vector.hpp>
#include <zep/workstation.hpp>

#include "colour/colour_state.hpp"
#include "vector/vector_state.hpp"

namespace zep {
namespace vector {

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

bool strictlyMonotonic(const float* a, int n) {
  if (n < 2) return std::isfinite(a[0]);
  const bool up = a[1] > a[0];
  for (int k = 0; k < n; ++k) {
    if (!std::isfinite(a[k])) return false;
    if (k > 0 && (up ? !(a[k] > a[k - 1]) : !(a[k] < a[k - 1]))) return false;
  }
  return true;
}

// A V point that a transformation answered: finite and not the undefined mark.
bool usable(float vx, float vy) {
  return std::isfinite(vx) && std::isfinite(vy) && std::fabs(vx) < 1e6F && std::fabs(vy) < 1e6F;
}

bool toV(float ux, float uy, float& vx, float& vy) {
  stftrf(ux, uy, vx, vy);
  return usable(vx, vy);
}

// Difference quotient from a central triple: where one side jumps (a seam, a
// cut of the map) or is undefined, the other side alone.
bool difference(bool okp, float px, float py, bool ok0, float x0, float y0, bool okm, float mx, float my,
                float& dx, float& dy) {
  if (!ok0) {
    if (!(okp && okm)) return false;
    dx = px - mx;
    dy = py - my;
    return dx != 0 || dy != 0;
  }
  const float fx = px - x0, fy = py - y0, bx = x0 - mx, by = y0 - my;
  const float lf = std::hypot(fx, fy), lb = std::hypot(bx, by);
  if (okp && okm && lf > 0 && lb > 0 && lf < 3 * lb && lb < 3 * lf) {
    dx = fx + bx;
    dy = fy + by;
  } else if (okp && lf > 0 && (!okm || !(lb > 0) || lf <= lb)) {
    dx = fx;
    dy = fy;
  } else if (okm && lb > 0) {
    dx = bx;
    dy = by;
  } else {
    return false;
  }
  return true;
}

bool normalize(float& x, float& y) {
  const float l = std::hypot(x, y);
  if (!(l > 0) || !std::isfinite(l)) return false;
  x /= l;
  y /= l;
  return true;
}

bool isLogX(int itr) { return itr == 3 || itr == 4; }
bool isLogY(int itr) { return itr == 2 || itr == 4; }

}  // namespace

Field& field() {
  static Field f;
  return f;
}

bool requireField(const char* routine) {
  if (field().set) return true;
  msgdmp("E", routine, "NO VECTOR FIELD HAS BEEN SET (VCSFLD OR VCSPNT).");
  return false;
}

namespace {
Setup& mutableSetup() {
  static Setup s;
  return s;
}
}  // namespace

const Setup& setup() { return mutableSetup(); }

void refreshSetup() {
  Setup& s = mutableSetup();
  stqtrf(s.map);
  vclget("LUDIR", s.ludir);
  sgqtrn(s.itr);
  sgqwnd(s.wx0, s.wx1, s.wy0, s.wy1);
  stfrad(1.0F, 1.0F, s.radx, s.rady);
}

std::size_t pointCount() {
  const Field& f = field();
  return static_cast<std::size_t>(f.nx) * static_cast<std::size_t>(f.ny);
}

void pointU(int k, float& ux, float& uy) {
  const Field& f = field();
  if (!f.grid) {
    ux = f.x[static_cast<std::size_t>(k)];
    uy = f.y[static_cast<std::size_t>(k)];
    return;
  }
  const int i = k % f.nx, j = k / f.nx;
  auto along = [](const std::vector<float>& given, int idx, int n, float lo, float hi) {
    if (!given.empty()) return given[static_cast<std::size_t>(idx)];
    return lo + (hi - lo) * static_cast<float>(idx) / static_cast<float>(n - 1);
  };
  const Setup& s = setup();
  ux = along(f.x, i, f.nx, s.wx0, s.wx1);
  uy = along(f.y, j, f.ny, s.wy0, s.wy1);
}

bool onMap() { return setup().map; }

bool localFrame(float ux, float uy, float& ex, float& ey, float& nx, float& ny) {
  float x0 = 0, y0 = 0;
  const bool ok0 = toV(ux, uy, x0, y0);
  const Setup& setupNow = setup();
  if (setupNow.map) {
    // Steps of about 0.05 degree of arc; along a parallel the longitude step
    // grows towards the poles (at most 1 degree) so that it still moves in V.
    const float radx = setupNow.radx, rady = setupNow.rady;
    const double pi = std::numbers::pi;
    const double lat = std::clamp(static_cast<double>(uy) * rady, -pi / 2 + 1.7e-4, pi / 2 - 1.7e-4);
    const double h = 0.05 * pi / 180;
    const double hl = std::min(h / std::cos(lat), pi / 180);
    const float uyc = static_cast<float>(lat / rady);
    float ax, ay, bx, by, cx, cy;
    const bool okc = toV(ux, uyc, cx, cy);
    const bool oka = toV(static_cast<float>(ux + hl / radx), uyc, ax, ay);
    const bool okb = toV(static_cast<float>(ux - hl / radx), uyc, bx, by);
    if (!difference(oka, ax, ay, okc, cx, cy, okb, bx, by, ex, ey)) return false;
    const float up = static_cast<float>(std::min(lat + h, pi / 2) / rady);
    const float dn = static_cast<float>(std::max(lat - h, -pi / 2) / rady);
    const bool okn = toV(ux, up, ax, ay);
    const bool oks = toV(ux, dn, bx, by);
    if (!difference(okn, ax, ay, okc, cx, cy, oks, bx, by, nx, ny)) return false;
    return normalize(ex, ey) && normalize(nx, ny);
  }
  if (!ok0) return false;
  if (!setupNow.ludir) {
    ex = 1, ey = 0, nx = 0, ny = 1;
    return true;
  }
  // Columns of the Jacobian of U -> V, left unnormalized so that u and v keep
  // the proportion of the axes (a vector along the data's own slope).
  const int itr = setupNow.itr;
  const float wx0 = setupNow.wx0, wx1 = setupNow.wx1, wy0 = setupNow.wy0, wy1 = setupNow.wy1;
  const float hx = 1e-3F * (isLogX(itr) ? std::fabs(ux) : std::fabs(wx1 - wx0));
  const float hy = 1e-3F * (isLogY(itr) ? std::fabs(uy) : std::fabs(wy1 - wy0));
  if (!(hx > 0) || !(hy > 0)) return false;
  float ax, ay, bx, by;
  bool oka = toV(ux + hx, uy, ax, ay), okb = toV(ux - hx, uy, bx, by);
  if (!difference(oka, ax, ay, ok0, x0, y0, okb, bx, by, ex, ey)) return false;
  const float sx = (oka && okb) ? 2 * hx : hx;
  oka = toV(ux, uy + hy, ax, ay);
  okb = toV(ux, uy - hy, bx, by);
  if (!difference(oka, ax, ay, ok0, x0, y0, okb, bx, by, nx, ny)) return false;
  const float sy = (oka && okb) ? 2 * hy : hy;
  ex /= sx, ey /= sx, nx /= sy, ny /= sy;
  return true;
}

bool directionV(float ux, float uy, float u, float v, float& dx, float& dy) {
  if (!std::isfinite(u) || !std::isfinite(v) || (u == 0 && v == 0)) return false;
  float ex, ey, nx, ny;
  if (!localFrame(ux, uy, ex, ey, nx, ny)) return false;
  dx = u * ex + v * nx;
  dy = u * ey + v * ny;
  return normalize(dx, dy);
}

namespace {

// Median of a sample of distances (0 when there is none).
float median(std::vector<float>& d) {
  if (d.empty()) return 0;
  auto mid = d.begin() + static_cast<std::ptrdiff_t>(d.size() / 2);
  std::nth_element(d.begin(), mid, d.end());
  return *mid;
}

// Typical V distance between neighbouring grid points: the smaller of the
// medians along i and along j, from a sample of the grid.
float gridSpacing(const std::vector<float>& vx, const std::vector<float>& vy) {
  const Field& f = field();
  std::vector<float> di, dj;
  const std::size_t n = vx.size();
  const std::size_t stride = std::max<std::size_t>(1, n / 4000);
  for (std::size_t k = 0; k < n; k += stride) {
    const int i = static_cast<int>(k) % f.nx, j = static_cast<int>(k) / f.nx;
    if (!usable(vx[k], vy[k])) continue;
    if (i + 1 < f.nx && usable(vx[k + 1], vy[k + 1])) di.push_back(std::hypot(vx[k + 1] - vx[k], vy[k + 1] - vy[k]));
    const std::size_t up = k + static_cast<std::size_t>(f.nx);
    if (j + 1 < f.ny && usable(vx[up], vy[up])) dj.push_back(std::hypot(vx[up] - vx[k], vy[up] - vy[k]));
  }
  const float a = median(di), b = median(dj);
  if (a > 0 && b > 0) return std::min(a, b);
  return std::max(a, b);
}

}  // namespace

Placement place(const char* routine) {
  refreshSetup();
  Placement p;
  const Field& f = field();
  const std::size_t n = pointCount();
  float space = 0;
  vcrget("SPACE", space);
  if (!(space >= 0) || !std::isfinite(space)) {
    msgdmp("E", routine, "ARROW SPACING (VC SPACE) IS NEGATIVE OR NOT FINITE.");
    return p;
  }
  float vx0, vx1, vy0, vy1;
  sgqvpt(vx0, vx1, vy0, vy1);
  // On maps a point outside the map's limits (in T) has no arrow, wherever the
  // projection puts it.
  const bool map = onMap();
  float t[4] = {-180, 180, -90, 90};
  if (map) sgqtxy(t[0], t[1], t[2], t[3]);
  const float deg = std::numbers::pi_v<float> / 180, tol = 1e-4F;
  std::vector<float> vx(n, kNaN), vy(n, kNaN);
  for (std::size_t k = 0; k < n; ++k) {
    float ux, uy, x, y;
    pointU(static_cast<int>(k), ux, uy);
    if (map) {
      float rx, ry, tx, ty;
      stfrad(ux, uy, rx, ry);
      stfrot(rx, ry, tx, ty);
      if (ty < t[2] * deg - tol || ty > t[3] * deg + tol) continue;
      if ((t[1] - t[0] < 360) && (tx < t[0] * deg - tol || tx > t[1] * deg + tol)) continue;
    }
    if (toV(ux, uy, x, y)) vx[k] = x, vy[k] = y;
  }
  float typical = 0;
  if (f.grid) typical = gridSpacing(vx, vy);
  // Grids crowd towards the poles of a map: thinned automatically there.
  // Scattered points (stations) are the caller's choice and are thinned only on request.
  float thin = space;
  if (thin == 0 && map && f.grid) thin = 0.8F * typical;

  // Greedy thinning on a hash of V cells as wide as the spacing: a point is kept
  // when no kept point lies closer.
  std::unordered_map<std::int64_t, std::vector<int>> cells;
  auto cellKey = [](std::int64_t cx, std::int64_t cy) { return (cx << 32) ^ (cy & 0xffffffff); };
  const float slack = 1e-3F * (vx1 - vx0);
  for (std::size_t k = 0; k < n; ++k) {
    const float x = vx[k], y = vy[k];
    if (!usable(x, y) || x < vx0 - slack || x > vx1 + slack || y < vy0 - slack || y > vy1 + slack) continue;
    const float mag = std::hypot(f.u[k], f.v[k]);
    if (!std::isfinite(mag)) continue;
    if (thin > 0) {
      const auto cx = static_cast<std::int64_t>(std::floor(x / thin));
      const auto cy = static_cast<std::int64_t>(std::floor(y / thin));
      bool near = false;
      for (std::int64_t a = cx - 1; a <= cx + 1 && !near; ++a)
        for (std::int64_t b = cy - 1; b <= cy + 1 && !near; ++b) {
          auto it = cells.find(cellKey(a, b));
          if (it == cells.end()) continue;
          for (int q : it->second) {
            const std::size_t m = static_cast<std::size_t>(p.kept[static_cast<std::size_t>(q)]);
            if (std::hypot(vx[m] - x, vy[m] - y) < thin) {
              near = true;
              break;
            }
          }
        }
      if (near) continue;
      cells[cellKey(cx, cy)].push_back(static_cast<int>(p.kept.size()));
    }
    p.kept.push_back(static_cast<int>(k));
    p.vx.push_back(x);
    p.vy.push_back(y);
    p.maxMagnitude = std::max(p.maxMagnitude, mag);
  }
  if (f.grid)
    p.spacing = std::max(typical, thin);
  else
    p.spacing = std::sqrt((vx1 - vx0) * (vy1 - vy0) / static_cast<float>(std::max<std::size_t>(p.kept.size(), 1)));
  return p;
}

float arrowScale(const Placement& p, const char* routine) {
  float scale = 0;
  vcrget("SCALE", scale);
  if (!(scale >= 0) || !std::isfinite(scale)) {
    msgdmp("E", routine, "ARROW SCALE (VC SCALE) IS NEGATIVE OR NOT FINITE.");
    return 0;
  }
  if (scale > 0) return scale;
  if (!(p.maxMagnitude > 0) || !(p.spacing > 0)) return 0;
  return p.spacing / p.maxMagnitude;
}

// ---------------------------------------------------------------------------

MagnitudeColours::MagnitudeColours(float maxMagnitude, float minMagnitude) {
  vciget("INDEX", base_);
  vclget("LCOLOR", on_);
  if (!on_) return;
  cmiget("NBIN", bins_);
  bins_ = std::clamp(bins_, 1, 4096);
  // Bounds left to the data come from the magnitudes, and stay for cmbarp.
  const float range[2] = {minMagnitude, maxMagnitude};
  colour::resolveBounds(2, range);
}

// Keys with colour: 0 .. bins-1 on the map, bins under, bins+1 over, -1 missing.
int MagnitudeColours::keyOf(float magnitude) const {
  if (!on_) return base_;
  const double t = colour::position(magnitude);
  if (std::isnan(t)) return -1;
  if (t < 0) return bins_;
  if (t > 1) return bins_ + 1;
  return std::min(static_cast<int>(t * bins_), bins_ - 1);
}

int MagnitudeColours::lineIndex(int key) const {
  if (!on_) return key;
  // The width digit of VC INDEX; the colour comes in full.
  return key < 0 ? 0 : 10 + ((base_ % 10) + 10) % 10;
}

int MagnitudeColours::rgb(int key) const {
  if (!on_ || key < 0) return -1;
  if (key == bins_) return static_cast<int>(colour::underColour());
  if (key == bins_ + 1) return static_cast<int>(colour::overColour());
  return static_cast<int>(colour::mapColour((key + 0.5) / bins_));
}

FullColourPen::FullColourPen(int rgb) : rgb_(rgb) {
  if (rgb_ < 0) return;
  swsfcm(true);
  refresh();
}

FullColourPen::~FullColourPen() {
  if (rgb_ >= 0) swsfcm(false);
}

void FullColourPen::refresh() const {
  if (rgb_ < 0) return;
  swslcl(rgb_);
  swstcl(rgb_);
}

// ---------------------------------------------------------------------------

int fillColour(int lineIndex) {
  // Colour 0 of a line is the foreground; of a tone it would be the background.
  const int colour = lineIndex / 10 % 1000;
  return colour == 0 ? 1 : colour;
}

// ---------------------------------------------------------------------------
// The map's outline
// ---------------------------------------------------------------------------

MapOutline::MapOutline() {
  stqtrf(active_);
  if (!active_) return;
  float t[4] = {-180, 180, -90, 90};
  sgqtxy(t[0], t[1], t[2], t[3]);
  const float deg = std::numbers::pi_v<float> / 180;
  txmin_ = t[0] * deg, txmax_ = t[1] * deg, tymin_ = t[2] * deg, tymax_ = t[3] * deg;
  fullCircle_ = t[1] - t[0] >= 360;
  sgqvpt(vx0_, vx1_, vy0_, vy1_);
  glrget("RUNDEF", rundef_);
}

bool MapOutline::covers(float vx, float vy) const {
  if (!active_) return true;
  // Points on the outline count as on it (a row of arrows along the lowest
  // latitude starts there).
  const float e = 1e-5F * (vx1_ - vx0_);
  if (!(vx >= vx0_ - e && vx <= vx1_ + e && vy >= vy0_ - e && vy <= vy1_ + e)) return false;
  float ux = 0, uy = 0;
  stitrf(vx, vy, ux, uy);
  if (ux == rundef_ || uy == rundef_ || !std::isfinite(ux) || !std::isfinite(uy)) return false;
  float rx = 0, ry = 0, tx = 0, ty = 0;
  stfrad(ux, uy, rx, ry);
  stfrot(rx, ry, tx, ty);
  constexpr float t = 1e-4F, turn = 2 * std::numbers::pi_v<float>;
  if (!(ty >= tymin_ - t && ty <= tymax_ + t)) return false;
  if (!fullCircle_) {
    // Longitudes compared on the turn that starts at the western limit.
    float x = std::fmod(tx - (txmin_ - t), turn);
    if (x < 0) x += turn;
    if (x > txmax_ - txmin_ + 2 * t) return false;
  }
  // Back to V: beyond the outline the inverse wraps or extrapolates to a point
  // that the forward function puts elsewhere.
  float bx = 0, by = 0;
  stftrn(tx, ty, bx, by);
  return usable(bx, by) && std::hypot(bx - vx, by - vy) < 1e-3F * (vx1_ - vx0_);
}

void MapOutline::crossing(float ix, float iy, float ox, float oy, float& x, float& y) const {
  for (int k = 0; k < 24; ++k) {
    const float mx = (ix + ox) / 2, my = (iy + oy) / 2;
    if (covers(mx, my)) ix = mx, iy = my;
    else ox = mx, oy = my;
  }
  x = ix, y = iy;
}

namespace {
// Steps along a segment at which the outline is looked for: a segment can
// leave and re-enter the map where the outline curves inwards (the upper
// parallel of a conic map), so its ends alone do not tell.
int stepsAlong(float x1, float y1, float x2, float y2, float width) {
  const float steps = std::ceil(std::hypot(x2 - x1, y2 - y1) / (0.02F * width));
  return steps >= 1 ? static_cast<int>(std::min(steps, 32.0F)) : 1;  // NaN and 0 take one step
}
}  // namespace

void MapOutline::cut(float x1, float y1, float x2, float y2, std::vector<float>& out) const {
  if (!active_) {
    out.insert(out.end(), {x1, y1, x2, y2});
    return;
  }
  const int n = stepsAlong(x1, y1, x2, y2, vx1_ - vx0_);
  float px = x1, py = y1;
  bool pin = covers(px, py);
  float sx = px, sy = py;  // start of the piece on the map
  for (int k = 1; k <= n; ++k) {
    const float f = static_cast<float>(k) / static_cast<float>(n);
    const float qx = k == n ? x2 : x1 + (x2 - x1) * f, qy = k == n ? y2 : y1 + (y2 - y1) * f;
    const bool qin = covers(qx, qy);
    if (pin && !qin) {
      float ex, ey;
      crossing(px, py, qx, qy, ex, ey);
      if (ex != sx || ey != sy) out.insert(out.end(), {sx, sy, ex, ey});
    } else if (!pin && qin) {
      crossing(qx, qy, px, py, sx, sy);
    }
    px = qx, py = qy, pin = qin;
  }
  if (pin && (sx != x2 || sy != y2)) out.insert(out.end(), {sx, sy, x2, y2});
}

void MapOutline::cutRing(const std::vector<float>& xy, std::vector<float>& out) const {
  if (!active_) {
    out = xy;
    return;
  }
  out.clear();
  const std::size_t n = xy.size() / 2;
  std::vector<float> piece;
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t m = (k + 1) % n;
    piece.clear();
    cut(xy[2 * k], xy[2 * k + 1], xy[2 * m], xy[2 * m + 1], piece);
    // Consecutive pieces joined: a gap between them is a stretch outside,
    // closed by the chord from where it left to where it came back.
    for (std::size_t q = 0; q + 4 <= piece.size(); q += 4) {
      const std::size_t o = out.size();
      if (o < 2 || out[o - 2] != piece[q] || out[o - 1] != piece[q + 1]) out.insert(out.end(), {piece[q], piece[q + 1]});
      out.insert(out.end(), {piece[q + 2], piece[q + 3]});
    }
  }
  // The ring closes by itself; a last point equal to the first is dropped.
  if (out.size() >= 4 && out[out.size() - 2] == out[0] && out[out.size() - 1] == out[1]) out.resize(out.size() - 2);
  if (out.size() < 6) out.clear();
}

void MapOutline::fill(const float* xy, int n, int tone) const {
  ring_.assign(xy, xy + 2 * n);
  cutRing(ring_, cut_);
  const std::size_t m = cut_.size() / 2;
  if (m < 3) return;
  x_.resize(m);
  y_.resize(m);
  for (std::size_t q = 0; q < m; ++q) x_[q] = cut_[2 * q], y_[q] = cut_[2 * q + 1];
  sgtnzv(static_cast<int>(m), x_.data(), y_.data(), tone);
}

// ---------------------------------------------------------------------------

ArrowBatch::ArrowBatch(int lineIndex, int rgb, bool onMap) : pen_(rgb) {
  cut_ = onMap && outline_.active();
  float angle = 20;
  sgrget("ANGLE", angle);
  sglget("LPROP", proportional_);
  sgrget("AFACT", factor_);
  sgrget("CONST", fixed_);
  sglget("LATONE", fill_);
  int pattern = 999;
  sgiget("IATONE", pattern);
  const double a = static_cast<double>(angle) * std::numbers::pi / 180;
  cosa_ = static_cast<float>(std::cos(a));
  sina_ = static_cast<float>(std::sin(a));
  // A filled head takes the colour of its line and the last three digits of IATONE.
  tone_ = fillColour(lineIndex) * 1000 + ((pattern % 1000) + 1000) % 1000;
  // On a raster page (the window or PNG files, one workstation unit a pixel) a
  // head whose barbs stand less than half a pixel off the shaft is covered by
  // the shaft's own stroke: it is left out, which matters when arrows are
  // counted in the hundred thousands. Vector pages keep every head for zooming.
  int iws = 0, ifl = 0;
  sgiget("IWS", iws);
  swiget("IFL", ifl);
  if (iws == 1 || (iws == 2 && ifl == 1)) {
    float w0x, w0y, w1x, w1y;
    stfwtr(0, 0, w0x, w0y);
    stfwtr(1, 0, w1x, w1y);
    const float perV = std::fabs(w1x - w0x);
    if (perV > 0) minSpread_ = 0.5F / perV;
  }
  szlnop(lineIndex);
}

ArrowBatch::~ArrowBatch() {
  szlncl();
  pen_.refresh();
  for (std::size_t k = 0; k + 6 <= triangles_.size(); k += 6) {
    if (cut_) {
      outline_.fill(&triangles_[k], 3, tone_);
      continue;
    }
    const float x[3] = {triangles_[k], triangles_[k + 2], triangles_[k + 4]};
    const float y[3] = {triangles_[k + 1], triangles_[k + 3], triangles_[k + 5]};
    sgtnzv(3, x, y, tone_);
  }
}

void ArrowBatch::segment(float x1, float y1, float x2, float y2) {
  if (!cut_) {
    szlnzv(x1, y1, x2, y2);
    return;
  }
  pieces_.clear();
  outline_.cut(x1, y1, x2, y2, pieces_);
  for (std::size_t k = 0; k + 4 <= pieces_.size(); k += 4) szlnzv(pieces_[k], pieces_[k + 1], pieces_[k + 2], pieces_[k + 3]);
}

void ArrowBatch::head(float tx, float ty, float dx, float dy, float arrowLength) {
  headOfLength(tx, ty, dx, dy, headLength(arrowLength));
}

void ArrowBatch::headOfLength(float tx, float ty, float dx, float dy, float len) {
  if (!(len > 0) || len * sina_ < minSpread_) return;
  // The two barbs of the head: the reversed direction turned by +-ANGLE.
  const float bx = -dx * len, by = -dy * len;
  const float lx = tx + bx * cosa_ - by * sina_, ly = ty + bx * sina_ + by * cosa_;
  const float rx = tx + bx * cosa_ + by * sina_, ry = ty - bx * sina_ + by * cosa_;
  if (fill_) {
    triangles_.insert(triangles_.end(), {lx, ly, tx, ty, rx, ry});
    return;
  }
  // Out to one barb, back to the tip, out to the other: shaft and head make one
  // chain of strokes, which raster pages stroke in one go.
  segment(tx, ty, lx, ly);
  segment(lx, ly, tx, ty);
  segment(tx, ty, rx, ry);
}

}  // namespace vector

// ---------------------------------------------------------------------------
// Setting the field
// ---------------------------------------------------------------------------

namespace {

float missingOrValue(float a, bool lmiss, float rmiss) {
  return ((lmiss && a == rmiss) || !std::isfinite(a)) ? vector::kNaN : a;
}

void storeComponents(vector::Field& f, std::size_t n, const float* u, const float* v) {
  bool lmiss = false;
  float rmiss = 999.0F;
  gllget("LMISS", lmiss);
  glrget("RMISS", rmiss);
  f.u.resize(n);
  f.v.resize(n);
  for (std::size_t k = 0; k < n; ++k) {
    float a = missingOrValue(u[k], lmiss, rmiss), b = missingOrValue(v[k], lmiss, rmiss);
    if (std::isnan(a) || std::isnan(b)) a = b = vector::kNaN;
    f.u[k] = a;
    f.v[k] = b;
  }
}

}  // namespace

void vcsfld(int nx, int ny, const float* u, const float* v, const float* x, const float* y) {
  if (nx < 2 || ny < 2) {
    msgdmp("E", "VCSFLD", "NX AND NY MUST BE AT LEAST 2.");
    return;
  }
  if (u == nullptr || v == nullptr) {
    msgdmp("E", "VCSFLD", "U OR V IS A NULL POINTER.");
    return;
  }
  if (x != nullptr && !vector::strictlyMonotonic(x, nx)) {
    msgdmp("E", "VCSFLD", "X COORDINATES ARE NOT STRICTLY MONOTONIC.");
    return;
  }
  if (y != nullptr && !vector::strictlyMonotonic(y, ny)) {
    msgdmp("E", "VCSFLD", "Y COORDINATES ARE NOT STRICTLY MONOTONIC.");
    return;
  }
  vector::Field& f = vector::field();
  f.grid = true;
  f.nx = nx;
  f.ny = ny;
  if (x != nullptr) f.x.assign(x, x + nx); else f.x.clear();
  if (y != nullptr) f.y.assign(y, y + ny); else f.y.clear();
  storeComponents(f, static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny), u, v);
  f.set = true;
  ++f.generation;
}

void vcsfld(std::span<const float> u, std::span<const float> v, std::span<const float> x, std::span<const float> y) {
  const std::size_t nx = x.size(), ny = y.size();
  if (nx > static_cast<std::size_t>(std::numeric_limits<int>::max()) ||
      ny > static_cast<std::size_t>(std::numeric_limits<int>::max()) || u.size() != nx * ny || v.size() != nx * ny) {
    msgdmp("E", "VCSFLD", "U, V HOLD " + std::to_string(u.size()) + ", " + std::to_string(v.size()) +
                              " VALUES; X AND Y GIVE NX X NY = " + std::to_string(nx) + " X " + std::to_string(ny) + ".");
    return;
  }
  vcsfld(static_cast<int>(nx), static_cast<int>(ny), u.data(), v.data(), x.data(), y.data());
}

void vcspnt(int n, const float* x, const float* y, const float* u, const float* v) {
  if (n <= 0) {
    msgdmp("E", "VCSPNT", "THE NUMBER OF POINTS N IS NOT POSITIVE.");
    return;
  }
  if (x == nullptr || y == nullptr || u == nullptr || v == nullptr) {
    msgdmp("E", "VCSPNT", "X, Y, U OR V IS A NULL POINTER.");
    return;
  }
  vector::Field& f = vector::field();
  f.grid = false;
  f.nx = n;
  f.ny = 1;
  f.x.assign(x, x + n);
  f.y.assign(y, y + n);
  storeComponents(f, static_cast<std::size_t>(n), u, v);
  for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k)
    if (!std::isfinite(f.x[k]) || !std::isfinite(f.y[k])) f.u[k] = f.v[k] = vector::kNaN;
  f.set = true;
  ++f.generation;
}

void vcqscl(float& scale) {
  if (!vector::requireField("VCQSCL")) return;
  scale = vector::arrowScale(vector::place("VCQSCL"), "VCQSCL");
}

}  // namespace zep
