// The 3-D perspective transformation: a rotation and scaling of 3-D space about
// an object point followed by a central projection onto R (or a parallel one
// when the eye distance is not positive), and the 2-D view that places every V
// point on a plane section of that space, so that ordinary drawings appear in
// perspective between V and R.
#include <array>
#include <cstdlib>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>

#include "graphics/transform_queries.hpp"

namespace zep {
namespace {

struct Perspective {
  // Column k is the image of the scaled unit vector e_k.
  std::array<std::array<float, 3>, 3> a{{{1.0F, 0.0F, 0.0F}, {0.0F, 1.0F, 0.0F}, {0.0F, 0.0F, 1.0F}}};
  std::array<float, 3> x0{0.0F, 0.0F, 0.0F};
  float rx0 = 0.0F;
  float ry0 = 0.0F;
  float rz0 = 0.0F;
  // Before the first stspr3 the eye distance is 0, which has no central
  // image; the view then projects in parallel with the identity rotation.
  bool parallel = true;
};
Perspective persp;

struct View {
  bool on = false;
  int nx = 1;  // axes (1 to 3) taking V x, V y, and the section axis
  int ny = 2;
  int ns = 3;
  float signx = 1.0F;
  float signy = 1.0F;
  float sec = 0.0F;
  bool saved = false;  // flag at the last suspension
};
View view;

float glReal(std::string_view name) {
  float v = 0.0F;
  glrget(name, v);
  return v;
}

float signOf(int i) { return i < 0 ? -1.0F : 1.0F; }

// A(i, k), 1-based as in the formulas.
float at(int i, int k) { return persp.a[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(i - 1)]; }

}  // namespace

void stspr3(float xobj, float yobj, float zobj, float theta, float phi, float psi, float fac, float rz0, float rx0,
            float ry0) {
  for (std::size_t k = 0; k < 3; ++k) {
    std::array<float, 3> e{0.0F, 0.0F, 0.0F};
    e[k] = fac;
    auto& col = persp.a[k];
    cr3c(theta, phi, psi, e[0], e[1], e[2], col[0], col[1], col[2]);
  }
  persp.x0 = {xobj, yobj, zobj};
  persp.rx0 = rx0;
  persp.ry0 = ry0;
  persp.rz0 = rz0;
  persp.parallel = rz0 <= 0.0F;
}

void stfpr3(float x, float y, float z, float& rx, float& ry) {
  const std::array<float, 3> d{x - persp.x0[0], y - persp.x0[1], z - persp.x0[2]};
  std::array<float, 3> p{};
  for (int i = 1; i <= 3; ++i) p[static_cast<std::size_t>(i - 1)] = at(i, 1) * d[0] + at(i, 2) * d[1] + at(i, 3) * d[2];
  if (persp.parallel) {
    rx = p[0] + persp.rx0;
    ry = p[1] + persp.ry0;
    return;
  }
  const float depth = persp.rz0 - p[2];
  if (depth == 0.0F) {
    // A point in the plane of the eye has no image; it is marked undefined
    // rather than sent to infinity.
    const float rundef = glReal("RUNDEF");
    rx = rundef;
    ry = rundef;
    return;
  }
  const float cc = persp.rz0 / depth;
  rx = cc * p[0] + persp.rx0;
  ry = cc * p[1] + persp.ry0;
}

void stspr2(int ix, int iy, float sec) {
  // Magnitudes in 64 bits: that of the most negative int has no int.
  const long long nx = std::llabs(static_cast<long long>(ix));
  const long long ny = std::llabs(static_cast<long long>(iy));
  if (nx == 0 || ny == 0) {
    view.on = false;
    return;
  }
  // Checked before anything changes, so that a refused call leaves the view
  // as it was.
  if (nx > 3) {
    msgdmp("E", "STSPR2", "INVALID COORDINATE NUMBER (IX).");
    return;
  }
  if (ny > 3) {
    msgdmp("E", "STSPR2", "INVALID COORDINATE NUMBER (IY).");
    return;
  }
  int ns = 1;
  if (nx == 1)
    ns = ny == 2 ? 3 : 2;
  else if (ny == 1)
    ns = nx == 2 ? 3 : 2;
  view.on = true;
  view.nx = static_cast<int>(nx);
  view.ny = static_cast<int>(ny);
  view.ns = ns;
  view.signx = signOf(ix);
  view.signy = signOf(iy);
  view.sec = sec;
}

void stfpr2(float vx, float vy, float& rx, float& ry) {
  if (!view.on) {
    rx = vx;
    ry = vy;
    return;
  }
  std::array<float, 3> q{};
  q[static_cast<std::size_t>(view.nx - 1)] = vx * view.signx;
  q[static_cast<std::size_t>(view.ny - 1)] = vy * view.signy;
  q[static_cast<std::size_t>(view.ns - 1)] = view.sec;
  stfpr3(q[0], q[1], q[2], rx, ry);
}

void stipr2(float rx, float ry, float& vx, float& vy) {
  if (!view.on) {
    vx = rx;
    vy = ry;
    return;
  }
  const int axes[3] = {view.nx, view.ny, view.ns};
  float b1[4] = {0.0F, 0.0F, 0.0F, 0.0F};  // indexed by axis number 1..3
  float b2[4] = {0.0F, 0.0F, 0.0F, 0.0F};
  float ppx = 0.0F;
  float ppy = 0.0F;
  if (!persp.parallel) {
    ppx = (rx - persp.rx0) / persp.rz0;
    ppy = (ry - persp.ry0) / persp.rz0;
  }
  for (int k : axes) {
    if (persp.parallel) {
      b1[k] = at(1, k);
      b2[k] = at(2, k);
    } else {
      b1[k] = ppx * at(3, k) + at(1, k);
      b2[k] = ppy * at(3, k) + at(2, k);
    }
  }
  const int nx = view.nx;
  const int ny = view.ny;
  const int ns = view.ns;
  const float ds = view.sec - persp.x0[static_cast<std::size_t>(ns - 1)];
  float bx = 0.0F;
  float by = 0.0F;
  if (persp.parallel) {
    bx = (rx - persp.rx0) - ds * b1[ns];
    by = (ry - persp.ry0) - ds * b2[ns];
  } else {
    bx = persp.rz0 * ppx - ds * b1[ns];
    by = persp.rz0 * ppy - ds * b2[ns];
  }
  const float det = b1[nx] * b2[ny] - b1[ny] * b2[nx];
  if (det == 0.0F) {
    const float rundef = glReal("RUNDEF");
    vx = rundef;
    vy = rundef;
    return;
  }
  vx = ((b2[ny] * bx - b1[ny] * by) / det + persp.x0[static_cast<std::size_t>(nx - 1)]) * view.signx;
  vy = ((b1[nx] * by - b2[nx] * bx) / det + persp.x0[static_cast<std::size_t>(ny - 1)]) * view.signy;
}

void stepr2() {
  view.saved = view.on;
  view.on = false;
}

void strpr2() { view.on = view.saved; }

namespace transform {
bool perspectiveViewOn() { return view.on; }
}  // namespace transform

}  // namespace zep
