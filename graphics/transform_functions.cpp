// Point transformations of the normalization transformation: degrees to
// radians (stfrad), rotation to the map pole (stfrot), projection and scaling
// to V (stftrn), and their composition (stftrf). Their constants are set only
// when a transformation is finalized (sgstrf); in between they are read for
// every point the line and text stages transform.
#include <cmath>
#include <string>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>

#include "graphics/projection_table.hpp"

namespace zep {
namespace {

constexpr float kDefaultRundef = -999.0F;

float glReal(std::string_view name) {
  float v = 0.0F;
  glrget(name, v);
  return v;
}

// Degree conversion.
struct RadState {
  bool lxd = false;
  bool lyd = false;
  float cp = 1.0F;
};
RadState radState;

// Rotation to T.
struct RotState {
  float theta = 0.0F;
  float phi = 0.0F;
  float psi = 0.0F;
};
RotState rotState;

// Projection and scaling. Until the first finalization the step is the identity,
// so that nothing reads an uninitialised constant.
struct TrnState {
  int itr = 1;
  const transform::Projection* projection = nullptr;  // looked up by ststri
  bool projectionSet = false;
  float cx = 1.0F;
  float cy = 1.0F;
  float vx0 = 0.0F;
  float vy0 = 0.0F;
  float rundef = kDefaultRundef;
  // Signs of the window on logarithmic axes: a window entirely in negative
  // numbers is drawn on a logarithmic axis of the absolute values.
  float sx = 1.0F;
  float sy = 1.0F;
};
TrnState trnState;

// The complete transformation.
struct TrfState {
  bool lmap = false;
  bool lmiss = false;
  float rmiss = 999.0F;
  float rundef = kDefaultRundef;
};
TrfState trfState;

const transform::Projection* currentProjection() {
  if (!trnState.projectionSet) {
    trnState.projection = transform::findProjection(trnState.itr);
    trnState.projectionSet = true;
  }
  return trnState.projection;
}

// A usable projection step, or nullptr after an error report from `routine`.
const transform::Projection* usableProjection(std::string_view routine) {
  const transform::Projection* p = currentProjection();
  if (p == nullptr) {
    msgdmp("E", routine, "TRANSFORMATION FUNCTION NUMBER IS INVALID.");
    return nullptr;
  }
  if (p->forward == nullptr) {
    msgdmp("E", routine, transform::unavailableText(*p));
    return nullptr;
  }
  return p;
}

// log10 of a value on a logarithmic axis; false after the report when the
// value lies on the other side of 0 than the window (or is 0).
bool logOf(float sign, float u, float& out, std::string_view text) {
  const float v = sign * u;
  if (v <= 0.0F) {
    msgdmp("E", "STFTRN", text);
    out = trnState.rundef;
    return false;
  }
  out = std::log10(v);
  return true;
}

bool logOfX(float x, float& xx) {
  return logOf(trnState.sx, x, xx, "UX HAS INVALID SIGN FOR LOG TRANSFORMATION OR IS 0");
}
bool logOfY(float y, float& yy) {
  return logOf(trnState.sy, y, yy, "UY HAS INVALID SIGN FOR LOG TRANSFORMATION OR IS 0");
}

void setUndefined(float rundef, float& a, float& b) {
  a = rundef;
  b = rundef;
}

}  // namespace

// ---------------------------------------------------------------------------
// Projection steps of the axes transformations
// ---------------------------------------------------------------------------

namespace transform {

void linearStep(float x, float y, float& xx, float& yy) {
  xx = x;
  yy = y;
}

void logYStep(float x, float y, float& xx, float& yy) {
  xx = x;
  if (!logOfY(y, yy)) xx = trnState.rundef;
}

void logXStep(float x, float y, float& xx, float& yy) {
  yy = y;
  if (!logOfX(x, xx)) yy = trnState.rundef;
}

void logXYStep(float x, float y, float& xx, float& yy) {
  if (!logOfX(x, xx) || !logOfY(y, yy)) setUndefined(trnState.rundef, xx, yy);
}

void logYInverse(float xx, float yy, float& x, float& y) {
  x = xx;
  y = trnState.sy * std::pow(10.0F, yy);
}

void logXInverse(float xx, float yy, float& x, float& y) {
  x = trnState.sx * std::pow(10.0F, xx);
  y = yy;
}

void logXYInverse(float xx, float yy, float& x, float& y) {
  x = trnState.sx * std::pow(10.0F, xx);
  y = trnState.sy * std::pow(10.0F, yy);
}

}  // namespace transform

// ---------------------------------------------------------------------------
// Degrees to radians
// ---------------------------------------------------------------------------

void stsrad(bool lxd, bool lyd) {
  radState.lxd = lxd;
  radState.lyd = lyd;
  radState.cp = rfpi() / 180.0F;
}

void stfrad(float x, float y, float& xr, float& yr) {
  xr = radState.lxd ? radState.cp * x : x;
  yr = radState.lyd ? radState.cp * y : y;
}

void stirad(float xr, float yr, float& x, float& y) {
  x = radState.lxd ? xr / radState.cp : xr;
  y = radState.lyd ? yr / radState.cp : yr;
}

// ---------------------------------------------------------------------------
// Rotation to the map pole
// ---------------------------------------------------------------------------

void stsrot(float theta, float phi, float psi) {
  rotState.theta = theta;
  rotState.phi = phi;
  rotState.psi = psi;
}

void stfrot(float ux, float uy, float& tx, float& ty) {
  const float halfPi = rfpi() / 2.0F;
  float colat = 0.0F;
  cr3s(rotState.theta, rotState.phi, rotState.psi, halfPi - uy, ux, colat, tx);
  ty = halfPi - colat;
}

void stirot(float tx, float ty, float& ux, float& uy) {
  const float halfPi = rfpi() / 2.0F;
  float colat = 0.0F;
  cr3s(-rotState.theta, -rotState.psi, -rotState.phi, halfPi - ty, tx, colat, ux);
  uy = halfPi - colat;
}

// ---------------------------------------------------------------------------
// Projection and scaling to V
// ---------------------------------------------------------------------------

void ststri(int itr) {
  trnState.itr = itr;
  trnState.projection = transform::findProjection(itr);
  trnState.projectionSet = true;
  trnState.rundef = glReal("RUNDEF");
  float uxmin = 0.0F;
  float uymin = 0.0F;
  sgrget("UXMIN", uxmin);
  sgrget("UYMIN", uymin);
  trnState.sx = uxmin < 0.0F ? -1.0F : 1.0F;
  trnState.sy = uymin < 0.0F ? -1.0F : 1.0F;
}

void ststrp(float cx, float cy, float vx0, float vy0) {
  trnState.cx = cx;
  trnState.cy = cy;
  trnState.vx0 = vx0;
  trnState.vy0 = vy0;
}

void stftrn(float x, float y, float& vx, float& vy) {
  const transform::Projection* p = usableProjection("STFTRN");
  if (p == nullptr) {
    setUndefined(trnState.rundef, vx, vy);
    return;
  }
  float xx = 0.0F;
  float yy = 0.0F;
  p->forward(x, y, xx, yy);
  if (xx != trnState.rundef && yy != trnState.rundef) {
    vx = trnState.cx * xx + trnState.vx0;
    vy = trnState.cy * yy + trnState.vy0;
  } else {
    // A point that the projection cannot map stays undefined.
    setUndefined(trnState.rundef, vx, vy);
  }
}

namespace {

// The inverse projection step; false (outputs RUNDEF) when the point has no
// defined U or T point, be it by a report, a zero scale or the projection.
bool inverseStep(float vx, float vy, float& x, float& y) {
  const transform::Projection* p = usableProjection("STITRN");
  if (p == nullptr) {
    setUndefined(trnState.rundef, x, y);
    return false;
  }
  if (p->inverse == nullptr) {
    msgdmp("E", "STITRN", "INVERSE TRANSFORMATION IS NOT DEFINED FOR ITR=" + std::to_string(p->number) + ".");
    setUndefined(trnState.rundef, x, y);
    return false;
  }
  // With a zero scale (SIMFAC 0) every point lies on the viewport centre and
  // no V point leads back to a single U point.
  if (trnState.cx == 0.0F || trnState.cy == 0.0F) {
    setUndefined(trnState.rundef, x, y);
    return false;
  }
  const float xx = (vx - trnState.vx0) / trnState.cx;
  const float yy = (vy - trnState.vy0) / trnState.cy;
  p->inverse(xx, yy, x, y);
  // Only map inverses answer RUNDEF for points outside their image; for the
  // other kinds RUNDEF is an ordinary coordinate value.
  return !(p->kind == transform::Kind::Map && (x == trnState.rundef || y == trnState.rundef));
}

}  // namespace

void stitrn(float vx, float vy, float& x, float& y) { inverseStep(vx, vy, x, y); }

// ---------------------------------------------------------------------------
// The complete transformation U to V
// ---------------------------------------------------------------------------

void ststrf(bool lmap) {
  trfState.lmap = lmap;
  gllget("LMISS", trfState.lmiss);
  glrget("RMISS", trfState.rmiss);
  glrget("RUNDEF", trfState.rundef);
}

void stqtrf(bool& lmap) { lmap = trfState.lmap; }

void stftrf(float ux, float uy, float& vx, float& vy) {
  if (trfState.lmiss && (ux == trfState.rmiss || uy == trfState.rmiss)) {
    vx = trfState.rmiss;
    vy = trfState.rmiss;
    return;
  }
  float xr = 0.0F;
  float yr = 0.0F;
  stfrad(ux, uy, xr, yr);
  if (trfState.lmap) {
    float tx = 0.0F;
    float ty = 0.0F;
    stfrot(xr, yr, tx, ty);
    stftrn(tx, ty, vx, vy);
  } else {
    stftrn(xr, yr, vx, vy);
  }
}

void stitrf(float vx, float vy, float& ux, float& uy) {
  float x = 0.0F;
  float y = 0.0F;
  // An undefined point stays undefined rather than being turned and scaled.
  if (!inverseStep(vx, vy, x, y)) {
    setUndefined(trfState.rundef, ux, uy);
    return;
  }
  if (trfState.lmap) {
    float rx = 0.0F;
    float ry = 0.0F;
    stirot(x, y, rx, ry);
    stirad(rx, ry, ux, uy);
  } else {
    stirad(x, y, ux, uy);
  }
}

}  // namespace zep
