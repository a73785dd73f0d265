// Evenly spaced streamlines (Jobard and Lefer): each line is integrated in V
// from a seed, both ways, with fourth-order Runge-Kutta steps of fixed arc
// length, and stops at the viewport, outside the map, at missing values, at
// stagnation points and when it comes closer than the test distance to any
// line (itself included); new seeds lie one separation distance beside the
// lines already drawn, then on a regular grid over the viewport.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <deque>
#include <map>
#include <vector>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>
#include <zep/vector.hpp>

#include "vector/vector_state.hpp"

namespace zep {

namespace {

using vector::field;

struct Line {
  std::vector<float> x, y, speed;
  bool closed = false;
};

struct Result {
  bool valid = false;
  std::vector<float> key;
  std::uint64_t generation = 0;
  std::vector<Line> lines;
  float maxSpeed = 0, minSpeed = 0;
};

Result& result() {
  static Result r;
  return r;
}

// The field as V directions: bilinear in U between grid points whose vectors
// were turned into the V frame there (computed when first needed).
class Sampler {
 public:
  Sampler() {
    vector::refreshSetup();
    const vector::Field& f = field();
    nx_ = f.nx;
    ny_ = f.ny;
    xs_.resize(static_cast<std::size_t>(nx_));
    ys_.resize(static_cast<std::size_t>(ny_));
    for (int i = 0; i < nx_; ++i) {
      float ux, uy;
      vector::pointU(i, ux, uy);
      xs_[static_cast<std::size_t>(i)] = ux;
    }
    for (int j = 0; j < ny_; ++j) {
      float ux, uy;
      vector::pointU(j * nx_, ux, uy);
      ys_[static_cast<std::size_t>(j)] = uy;
    }
    const std::size_t n = vector::pointCount();
    state_.assign(n, 0);
    cx_.assign(n, 0);
    cy_.assign(n, 0);
    mag_.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
      mag_[k] = std::hypot(f.u[k], f.v[k]);
      if (std::isfinite(mag_[k])) maxSpeed = std::max(maxSpeed, mag_[k]);
    }
    if (vector::onMap()) period_ = static_cast<float>(2 * 3.14159265358979323846 / vector::setup().radx);
  }

  float maxSpeed = 0;

  // Unit direction and speed at a V point; false where the field is not defined.
  bool at(float vx, float vy, float& dx, float& dy, float& speed) {
    float ux, uy;
    stitrf(vx, vy, ux, uy);
    if (!std::isfinite(ux) || !std::isfinite(uy) || std::fabs(ux) > 1e6F || std::fabs(uy) > 1e6F) return false;
    int i = 0, j = 0;
    float tx = 0, ty = 0;
    bool wrapped = false;
    if (!locate(xs_, ux, i, tx)) {
      // Longitudes come back in one period; the grid may hold another.
      if (period_ == 0 || (!locate(xs_, ux + period_, i, tx) && !locate(xs_, ux - period_, i, tx))) {
        // A global grid without its repeated column (0 .. 357.5): the cell from
        // its last longitude round to its first.
        if (!wrapCell(ux, tx)) return false;
        i = nx_ - 1;
        wrapped = true;
      }
    }
    if (!locate(ys_, uy, j, ty)) return false;
    const int k00 = j * nx_ + i;
    const int east = wrapped ? 1 - nx_ : 1;
    const int ks[4] = {k00, k00 + east, k00 + nx_, k00 + nx_ + east};
    const float w[4] = {(1 - tx) * (1 - ty), tx * (1 - ty), (1 - tx) * ty, tx * ty};
    float fx = 0, fy = 0, s = 0, corner = 0;
    for (int q = 0; q < 4; ++q) {
      const std::size_t k = static_cast<std::size_t>(ks[q]);
      if (!ready(k)) return false;
      fx += w[q] * cx_[k];
      fy += w[q] * cy_[k];
      s += w[q] * mag_[k];
      corner = std::max(corner, mag_[k]);
    }
    const float l = std::hypot(fx, fy);
    // Stagnation: the corners' vectors cancel (a centre, a saddle), however weak
    // the flow is elsewhere.
    if (!(l > 1e-3F * corner)) return false;
    dx = fx / l;
    dy = fy / l;
    speed = s;
    return true;
  }

 private:
  bool ready(std::size_t k) {
    if (state_[k] == 0) {
      const vector::Field& f = field();
      float ux, uy, dx, dy;
      vector::pointU(static_cast<int>(k), ux, uy);
      if (std::isfinite(mag_[k]) && mag_[k] == 0) {
        state_[k] = 1;  // a calm point: no direction, no contribution
      } else if (vector::directionV(ux, uy, f.u[k], f.v[k], dx, dy)) {
        cx_[k] = dx * mag_[k];
        cy_[k] = dy * mag_[k];
        state_[k] = 1;
      } else {
        state_[k] = 2;
      }
    }
    return state_[k] == 1;
  }

  // Cell of u along increasing or decreasing coordinates, and the fraction in it.
  static bool locate(const std::vector<float>& c, float u, int& i, float& t) {
    const std::size_t n = c.size();
    const bool up = c.back() > c.front();
    const float lo = up ? c.front() : c.back(), hi = up ? c.back() : c.front();
    if (!(u >= lo && u <= hi)) return false;
    std::size_t k = 0;
    if (up)
      k = static_cast<std::size_t>(std::upper_bound(c.begin(), c.end(), u) - c.begin());
    else
      k = static_cast<std::size_t>(std::upper_bound(c.begin(), c.end(), u, std::greater<float>()) - c.begin());
    k = std::clamp<std::size_t>(k, 1, n - 1);
    i = static_cast<int>(k - 1);
    t = (u - c[k - 1]) / (c[k] - c[k - 1]);
    t = std::clamp(t, 0.0F, 1.0F);
    return true;
  }

  // Fraction across the cell between the last and (one period on) the first
  // longitude, when the grid's columns are increasing and go round the globe.
  bool wrapCell(float ux, float& t) const {
    if (period_ == 0 || !(xs_.back() > xs_.front())) return false;
    const float last = xs_.back(), first = xs_.front() + period_;
    const float gap = first - last;
    const float step = (xs_.back() - xs_.front()) / static_cast<float>(nx_ - 1);
    if (!(gap > 0) || gap > 1.5F * step) return false;
    float u = ux;
    while (u < last) u += period_;
    while (u >= last + period_) u -= period_;
    if (u > first) return false;
    t = (u - last) / gap;
    return true;
  }

  int nx_ = 0, ny_ = 0;
  float period_ = 0;
  std::vector<float> xs_, ys_, cx_, cy_, mag_;
  std::vector<std::uint8_t> state_;
};

// Points of the lines on a grid of cells one separation distance wide.
class PointGrid {
 public:
  PointGrid(float x0, float y0, float x1, float y1, float cell) : x0_(x0), y0_(y0), cell_(cell) {
    nx_ = std::max(1, static_cast<int>(std::ceil((x1 - x0) / cell)) + 1);
    ny_ = std::max(1, static_cast<int>(std::ceil((y1 - y0) / cell)) + 1);
    cells_.resize(static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_));
  }
  struct Entry {
    float x, y, s;  // s: arc length along its line from the seed
    int line;
  };
  void add(const Entry& e) { cells_[cellOf(e.x, e.y)].push_back(e); }
  void removeLine(int line, const std::vector<float>& xs, const std::vector<float>& ys) {
    for (std::size_t k = 0; k < xs.size(); ++k) {
      auto& c = cells_[cellOf(xs[k], ys[k])];
      c.erase(std::remove_if(c.begin(), c.end(), [line](const Entry& e) { return e.line == line; }), c.end());
    }
  }
  // Whether a point of another line (or of `line` itself further than `ownGap`
  // along it) lies closer than r; `nearStart` tells whether that own point is
  // the beginning of the line (arc |s| below `startArc`).
  bool crowded(float x, float y, float r, int line, float s, float ownGap, float startArc, bool* nearStart) const {
    const int ci = column(x), cj = row(y);
    const int reach = std::max(1, static_cast<int>(std::ceil(r / cell_)));
    for (int a = ci - reach; a <= ci + reach; ++a)
      for (int b = cj - reach; b <= cj + reach; ++b) {
        if (a < 0 || b < 0 || a >= nx_ || b >= ny_) continue;
        for (const Entry& e : cells_[static_cast<std::size_t>(b) * static_cast<std::size_t>(nx_) + static_cast<std::size_t>(a)]) {
          if (e.line == line && std::fabs(e.s - s) < ownGap) continue;
          if ((e.x - x) * (e.x - x) + (e.y - y) * (e.y - y) < r * r) {
            if (nearStart != nullptr) *nearStart = e.line == line && std::fabs(e.s) < startArc;
            return true;
          }
        }
      }
    return false;
  }

 private:
  int column(float x) const { return std::clamp(static_cast<int>(std::floor((x - x0_) / cell_)), 0, nx_ - 1); }
  int row(float y) const { return std::clamp(static_cast<int>(std::floor((y - y0_) / cell_)), 0, ny_ - 1); }
  std::size_t cellOf(float x, float y) const {
    return static_cast<std::size_t>(row(y)) * static_cast<std::size_t>(nx_) + static_cast<std::size_t>(column(x));
  }
  float x0_, y0_, cell_;
  int nx_ = 1, ny_ = 1;
  std::vector<std::vector<Entry>> cells_;
};

struct Settings {
  float dsep, dtest, step;
  int maxPoints;
  float vx0, vx1, vy0, vy1;
};

bool readSettings(Settings& s, const char* routine) {
  vcrget("DSEP", s.dsep);
  vcrget("DTEST", s.dtest);
  vcrget("STEP", s.step);
  vciget("MAXPT", s.maxPoints);
  if (!(s.dsep > 0) || !std::isfinite(s.dsep)) {
    msgdmp("E", routine, "STREAMLINE SEPARATION (VC DSEP) IS NOT POSITIVE.");
    return false;
  }
  if (!(s.dtest > 0) || !(s.dtest <= s.dsep)) {
    msgdmp("E", routine, "VC DTEST MUST BE POSITIVE AND AT MOST VC DSEP.");
    return false;
  }
  if (!(s.step > 0) || !(s.step <= s.dtest)) {
    msgdmp("E", routine, "VC STEP MUST BE POSITIVE AND AT MOST VC DTEST.");
    return false;
  }
  if (s.maxPoints < 2) {
    msgdmp("E", routine, "STREAMLINE POINTS (VC MAXPT) LESS THAN 2.");
    return false;
  }
  // Guard against a separation so small that the seeds alone exhaust memory.
  sgqvpt(s.vx0, s.vx1, s.vy0, s.vy1);
  if ((s.vx1 - s.vx0) * (s.vy1 - s.vy0) / (s.dsep * s.dsep) > 4e6F) {
    msgdmp("E", routine, "VC DSEP IS TOO SMALL FOR THE VIEWPORT.");
    return false;
  }
  return true;
}

class Tracer {
 public:
  Tracer(const Settings& s, Sampler& f) : s_(s), f_(f), grid_(s.vx0, s.vy0, s.vx1, s.vy1, s.dsep) {}

  std::vector<Line> run() {
    std::vector<Line> lines;
    // Seeds on a regular grid, used whenever no seed beside a line is left.
    const int mx = std::max(1, static_cast<int>((s_.vx1 - s_.vx0) / s_.dsep));
    const int my = std::max(1, static_cast<int>((s_.vy1 - s_.vy0) / s_.dsep));
    std::deque<std::size_t> queue;  // lines whose neighbours are still to seed
    int next = 0;
    while (true) {
      float sx = 0, sy = 0;
      bool found = false;
      while (!found && !queue.empty()) {
        Line& l = lines[queue.front()];
        // Candidates one separation distance to either side, every half separation along the line.
        while (cursor_ < l.x.size() && !found) {
          const std::size_t k = cursor_;
          const std::size_t k1 = std::min(k + 1, l.x.size() - 1), k0 = k1 == k ? k - 1 : k;
          float tx = l.x[k1] - l.x[k0], ty = l.y[k1] - l.y[k0];
          const float tl = std::hypot(tx, ty);
          const int side = side_;
          side_ = -side_;
          if (side < 0) cursor_ += std::max<std::size_t>(1, static_cast<std::size_t>(0.5F * s_.dsep / s_.step));
          if (!(tl > 0)) continue;
          tx /= tl, ty /= tl;
          const float cx = l.x[k] - ty * s_.dsep * static_cast<float>(side);
          const float cy = l.y[k] + tx * s_.dsep * static_cast<float>(side);
          if (seedable(cx, cy)) sx = cx, sy = cy, found = true;
        }
        if (!found) {
          queue.pop_front();
          cursor_ = 0;
          side_ = 1;
        }
      }
      while (!found && next < mx * my) {
        const float cx = s_.vx0 + (static_cast<float>(next % mx) + 0.5F) * (s_.vx1 - s_.vx0) / static_cast<float>(mx);
        const float cy = s_.vy0 + (static_cast<float>(next / mx) + 0.5F) * (s_.vy1 - s_.vy0) / static_cast<float>(my);
        ++next;
        if (seedable(cx, cy)) sx = cx, sy = cy, found = true;
      }
      if (!found) break;
      Line l;
      if (trace(sx, sy, static_cast<int>(lines.size()), l)) {
        lines.push_back(std::move(l));
        queue.push_back(lines.size() - 1);
      }
    }
    return lines;
  }

 private:
  bool inside(float x, float y) const { return x >= s_.vx0 && x <= s_.vx1 && y >= s_.vy0 && y <= s_.vy1; }

  bool seedable(float x, float y) {
    float dx, dy, sp;
    return inside(x, y) && f_.at(x, y, dx, dy, sp) && !grid_.crowded(x, y, 0.99F * s_.dsep, -1, 0, 0, 0, nullptr);
  }

  // One RK4 step of arc length h along the unit direction field (sign: +1 / -1).
  bool rk4(float x, float y, float h, float sign, float& nx, float& ny) {
    float d[4][2], sp;
    float px = x, py = y;
    for (int q = 0; q < 4; ++q) {
      if (!f_.at(px, py, d[q][0], d[q][1], sp)) return false;
      d[q][0] *= sign;
      d[q][1] *= sign;
      // Directions opposite to the previous stage: a line that would turn back on itself (a sink, a cusp).
      if (q > 0 && d[q][0] * d[0][0] + d[q][1] * d[0][1] < 0) return false;
      const float a = q < 2 ? 0.5F * h : h;
      if (q < 3) px = x + a * d[q][0], py = y + a * d[q][1];
    }
    nx = x + h / 6 * (d[0][0] + 2 * d[1][0] + 2 * d[2][0] + d[3][0]);
    ny = y + h / 6 * (d[0][1] + 2 * d[1][1] + 2 * d[2][1] + d[3][1]);
    return std::isfinite(nx) && std::isfinite(ny);
  }

  // Cut the step from (x, y) to (nx, ny) at the viewport's edge.
  void toEdge(float x, float y, float& nx, float& ny) const {
    float t = 1;
    auto cut = [&](float a, float b, float lim) {
      if (b != a) {
        const float q = (lim - a) / (b - a);
        if (q >= 0 && q < t) t = q;
      }
    };
    if (nx < s_.vx0) cut(x, nx, s_.vx0);
    if (nx > s_.vx1) cut(x, nx, s_.vx1);
    if (ny < s_.vy0) cut(y, ny, s_.vy0);
    if (ny > s_.vy1) cut(y, ny, s_.vy1);
    nx = std::clamp(x + t * (nx - x), s_.vx0, s_.vx1);
    ny = std::clamp(y + t * (ny - y), s_.vy0, s_.vy1);
  }

  // Follows the field from a seed, one way; returns the points after the seed.
  void half(float x, float y, float sign, int id, std::vector<std::array<float, 4>>& out, bool& closed) {
    float s = 0;
    const float ownGap = 2.5F * s_.dtest;
    const float x0 = x, y0 = y;
    for (int k = 0; k < s_.maxPoints; ++k) {
      float nx, ny;
      if (!rk4(x, y, s_.step, sign, nx, ny)) {
        // Near the viewport's edge the stages may fall off the grid: a last
        // straight step that leaves the viewport is cut at its edge.
        float dx, dy, speed;
        if (!f_.at(x, y, dx, dy, speed)) return;
        nx = x + sign * s_.step * dx;
        ny = y + sign * s_.step * dy;
        if (inside(nx, ny)) return;
      }
      bool edge = false;
      if (!inside(nx, ny)) {
        toEdge(x, y, nx, ny);
        edge = true;
        if (std::hypot(nx - x, ny - y) < 1e-6F) return;
      }
      s += sign * std::hypot(nx - x, ny - y);
      bool nearStart = false;
      if (grid_.crowded(nx, ny, s_.dtest, id, s, ownGap, ownGap, &nearStart)) {
        // Back where it began: a closed line.
        if (nearStart && sign > 0 && std::fabs(s) > 4 * s_.dtest && std::hypot(nx - x0, ny - y0) < s_.dtest) {
          out.push_back({x0, y0, 0, 0});
          closed = true;
        }
        return;
      }
      float dx, dy, speed = 0;
      if (!f_.at(nx, ny, dx, dy, speed) && !edge) return;
      out.push_back({nx, ny, s, speed});
      grid_.add({nx, ny, s, id});
      x = nx, y = ny;
      if (edge) return;
    }
  }

  bool trace(float sx, float sy, int id, Line& line) {
    float dx, dy, speed;
    if (!f_.at(sx, sy, dx, dy, speed)) return false;
    grid_.add({sx, sy, 0, id});
    std::vector<std::array<float, 4>> fwd, bwd;
    bool closed = false, dummy = false;
    half(sx, sy, 1, id, fwd, closed);
    if (!closed) half(sx, sy, -1, id, bwd, dummy);
    const std::size_t n = fwd.size() + bwd.size() + 1;
    line.x.reserve(n);
    line.y.reserve(n);
    line.speed.reserve(n);
    for (auto it = bwd.rbegin(); it != bwd.rend(); ++it) {
      line.x.push_back((*it)[0]);
      line.y.push_back((*it)[1]);
      line.speed.push_back((*it)[3]);
    }
    line.x.push_back(sx);
    line.y.push_back(sy);
    line.speed.push_back(speed);
    for (const auto& p : fwd) {
      line.x.push_back(p[0]);
      line.y.push_back(p[1]);
      line.speed.push_back(closed && &p == &fwd.back() ? speed : p[3]);
    }
    line.closed = closed;
    // A fragment shorter than the test distance is no line: its points are freed for later seeds.
    float length = 0;
    for (std::size_t k = 1; k < line.x.size(); ++k) length += std::hypot(line.x[k] - line.x[k - 1], line.y[k] - line.y[k - 1]);
    if (length < s_.dtest) {
      grid_.removeLine(id, line.x, line.y);
      // The seed stays taken, so that the same place is not tried again.
      grid_.add({sx, sy, 0, -2});
      return false;
    }
    return true;
  }

  const Settings& s_;
  Sampler& f_;
  PointGrid grid_;
  std::size_t cursor_ = 0;
  int side_ = 1;
};

bool compute(const char* routine) {
  if (!vector::requireField(routine)) return false;
  const vector::Field& f = field();
  if (!f.grid) {
    msgdmp("E", routine, "STREAMLINES NEED A GRIDDED FIELD (VCSFLD).");
    return false;
  }
  Settings s{};
  if (!readSettings(s, routine)) return false;
  Result& r = result();
  // Everything the lines depend on besides the field: computed again when any changes.
  int itr = 0;
  sgqtrn(itr);
  std::vector<float> key = {s.dsep, s.dtest, s.step, static_cast<float>(s.maxPoints), s.vx0, s.vx1, s.vy0, s.vy1,
                            static_cast<float>(itr)};
  float q[4];
  sgqwnd(q[0], q[1], q[2], q[3]);
  key.insert(key.end(), q, q + 4);
  sgqsim(q[0], q[1], q[2]);
  key.insert(key.end(), q, q + 3);
  sgqmpl(q[0], q[1], q[2]);
  key.insert(key.end(), q, q + 3);
  sgqtxy(q[0], q[1], q[2], q[3]);
  key.insert(key.end(), q, q + 4);
  // Probes of the finished transformation catch what the parameters above do not name.
  for (float p : {0.1F, 0.5F, 0.9F}) {
    stftrf(p, p, q[0], q[1]);
    key.insert(key.end(), q, q + 2);
  }
  if (r.valid && r.generation == f.generation && r.key == key) return true;
  Sampler sampler;
  r.lines.clear();
  r.valid = false;
  if (!(sampler.maxSpeed > 0)) {
    msgdmp("W", routine, "NO STREAMLINE: ALL VECTORS ZERO OR MISSING.");
    return false;
  }
  Tracer tracer(s, sampler);
  r.lines = tracer.run();
  r.maxSpeed = 0;
  r.minSpeed = sampler.maxSpeed;
  for (const Line& l : r.lines)
    for (float v : l.speed) r.maxSpeed = std::max(r.maxSpeed, v), r.minSpeed = std::min(r.minSpeed, v);
  r.valid = true;
  r.generation = f.generation;
  r.key = key;
  return true;
}

// Lines of the current field only: a new field makes the old lines unavailable.
bool current() {
  const Result& r = result();
  return r.valid && r.generation == field().generation;
}

const Line* lineAt(int i, const char* routine) {
  Result& r = result();
  if (!current()) {
    msgdmp("E", routine, "NO STREAMLINES HAVE BEEN COMPUTED (VCMKST).");
    return nullptr;
  }
  if (i < 1 || i > static_cast<int>(r.lines.size())) {
    msgdmp("E", routine, "STREAMLINE NUMBER IS OUT OF RANGE.");
    return nullptr;
  }
  return &r.lines[static_cast<std::size_t>(i - 1)];
}

}  // namespace

void vcmkst() { compute("VCMKST"); }

void vcqstn(int& n) { n = current() ? static_cast<int>(result().lines.size()) : 0; }

void vcqsti(int i, int& np, bool& closed) {
  if (const Line* l = lineAt(i, "VCQSTI")) {
    np = static_cast<int>(l->x.size());
    closed = l->closed;
  }
}

void vcqstx(int i, float* vx, float* vy) {
  if (vx == nullptr || vy == nullptr) {
    msgdmp("E", "VCQSTX", "VX OR VY IS A NULL POINTER.");
    return;
  }
  if (const Line* l = lineAt(i, "VCQSTX")) {
    std::copy(l->x.begin(), l->x.end(), vx);
    std::copy(l->y.begin(), l->y.end(), vy);
  }
}

void vcstmu() {
  if (!compute("VCSTMU")) return;
  const Result& r = result();
  if (r.lines.empty()) return;
  const vector::MagnitudeColours colours(r.maxSpeed, r.minSpeed);
  bool arrows = true;
  float spacing = 0.2F;
  vclget("LSTARW", arrows);
  vcrget("ARRSP", spacing);
  if (arrows && (!(spacing > 0) || !std::isfinite(spacing))) {
    msgdmp("E", "VCSTMU", "STREAMLINE ARROW SPACING (VC ARRSP) NOT POSITIVE.");
    return;
  }
  // Each line (or, coloured by speed, each run of one colour) as one polyline.
  for (const Line& l : r.lines) {
    std::size_t start = 0;
    const std::size_t n = l.x.size();
    while (start + 1 < n) {
      const int key = colours.keyOf(l.speed[start]);
      std::size_t end = start + 1;
      while (end + 1 < n && colours.keyOf(l.speed[end]) == key) ++end;
      const int index = colours.lineIndex(key);
      if (index > 0) {
        const vector::FullColourPen pen(colours.rgb(key));
        sgplzv(static_cast<int>(end - start + 1), l.x.data() + start, l.y.data() + start, 1, index);
      }
      start = end;
    }
  }
  if (!arrows) return;
  // Heads every ARRSP of arc length, the first half a spacing in; a line
  // shorter than that gets one at its middle. Heads are SG CONST long.
  std::map<int, std::vector<std::array<float, 4>>> heads;
  for (const Line& l : r.lines) {
    const std::size_t n = l.x.size();
    float total = 0;
    for (std::size_t k = 1; k < n; ++k) total += std::hypot(l.x[k] - l.x[k - 1], l.y[k] - l.y[k - 1]);
    // The first head's offset varies from line to line (golden-ratio steps), so
    // that heads on neighbouring parallel lines do not stand in columns.
    const float offset = static_cast<float>(std::fmod(0.618034 * static_cast<double>(&l - r.lines.data()), 1.0));
    float target = total < spacing ? total / 2 : spacing * (0.25F + 0.5F * offset);
    float s = 0;
    for (std::size_t k = 1; k < n; ++k) {
      const float dx = l.x[k] - l.x[k - 1], dy = l.y[k] - l.y[k - 1];
      const float seg = std::hypot(dx, dy);
      while (seg > 0 && s + seg >= target && target <= total) {
        const float t = (target - s) / seg;
        heads[colours.keyOf(l.speed[k])].push_back({l.x[k - 1] + t * dx, l.y[k - 1] + t * dy, dx / seg, dy / seg});
        target += spacing;
      }
      s += seg;
    }
  }
  float len = 0.01F;
  sgrget("CONST", len);
  for (const auto& [key, list] : heads) {
    const int index = colours.lineIndex(key);
    if (index <= 0) continue;
    vector::ArrowBatch batch(index, colours.rgb(key), true);  // heads cut at a map's outline
    for (const auto& h : list) batch.headOfLength(h[0], h[1], h[2], h[3], len);
  }
}

}  // namespace zep
