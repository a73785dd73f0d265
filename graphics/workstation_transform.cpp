// The workstation transformation: the last step of every primitive, mapping
// normalized device coordinates (R) onto the workstation (W) by a scale and
// shift that keeps the aspect ratio, optionally turned by 90 degrees.
#include <algorithm>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>

#include "graphics/transform_queries.hpp"

namespace zep {

namespace {

struct WorkstationTransform {
  bool transformDefined = false;
  bool rectangleDefined = false;
  // Workstation window in R.
  float rxmin = 0.0F, rxmax = 1.0F, rymin = 0.0F, rymax = 1.0F;
  // Workstation viewport in W after the aspect-ratio adjustment.
  float wxmin = 0.0F, wxmax = 1.0F, wymin = 0.0F, wymax = 1.0F;
  int iwtrf = 1;
  // Workstation rectangle in W.
  float wsxmn = 0.0F, wsxmx = 1.0F, wsymn = 0.0F, wsymx = 1.0F;
  float cx = 1.0F, cy = 1.0F, wx0 = 0.0F, wy0 = 0.0F;
  bool warnOnce = true;
};

WorkstationTransform wt;

// Both checks of the mapping routines; false (after the report) when the
// mapping cannot be done.
bool defined(const char* routine) {
  if (!wt.transformDefined) {
    msgdmp("E", routine, "WORKSTATION TRANSFORMATION IS NOT DEFINED.");
    return false;
  }
  if (!wt.rectangleDefined) {
    msgdmp("E", routine, "WORKSTATION RECTANGLE IS NOT DEFINED.");
    return false;
  }
  return true;
}

float undefinedValue() {
  float rundef = 0.0F;
  glrget("RUNDEF", rundef);
  return rundef;
}

}  // namespace

void stswtr(float rxmin, float rxmax, float rymin, float rymax, float wxmin, float wxmax, float wymin,
            float wymax, int iwtrf) {
  if (!(rxmax > rxmin && rymax > rymin)) {
    msgdmp("E", "STSWTR", "WORKSTATION WINDOW DEFINITION IS INVALID.");
    return;
  }
  if (!(rxmin >= 0.0F && rxmax <= 1.0F && rymin >= 0.0F && rymax <= 1.0F)) {
    msgdmp("E", "STSWTR", "WORKSTATION WINDOW IS NOT WITHIN THE NORMALIZED DEVICE COORDINATE UNIT SQUARE.");
    return;
  }
  if (iwtrf != 1 && iwtrf != 2) {
    msgdmp("E", "STSWTR", "TRANSFORMATION FUNCTION NUMBER IS INVALID.");
    return;
  }
  // An empty or inverted viewport would give a zero or negative scale, and the
  // inverse mapping would divide by zero.
  if (!(wxmax > wxmin && wymax > wymin)) {
    msgdmp("E", "STSWTR", "WORKSTATION VIEWPORT DEFINITION IS INVALID.");
    return;
  }

  const float rwn = (rymax - rymin) / (rxmax - rxmin);
  const float rvp = (wymax - wymin) / (wxmax - wxmin);
  if (lrne1(rwn, rvp) && wt.warnOnce) {
    msgdmp("W", "STSWTR", "WORKSTATION VIEWPORT WAS MODIFIED.");
    wt.warnOnce = false;
  }

  // The largest rectangle of the window's aspect ratio inside the requested
  // viewport, centred in it.
  const float dx = wxmax - wxmin;
  const float dy = wymax - wymin;
  const float dwx = std::min(dx, dy / rwn);
  const float dwy = std::min(dy, dx * rwn);
  wt.wxmin = (wxmin + wxmax - dwx) / 2.0F;
  wt.wxmax = (wxmin + wxmax + dwx) / 2.0F;
  wt.wymin = (wymin + wymax - dwy) / 2.0F;
  wt.wymax = (wymin + wymax + dwy) / 2.0F;

  wt.rxmin = rxmin;
  wt.rxmax = rxmax;
  wt.rymin = rymin;
  wt.rymax = rymax;
  wt.iwtrf = iwtrf;
  wt.transformDefined = true;

  wt.cx = (wt.wxmax - wt.wxmin) / (rxmax - rxmin);
  wt.cy = (wt.wymax - wt.wymin) / (rymax - rymin);
  wt.wx0 = wt.wxmin - rxmin * wt.cx;
  wt.wy0 = wt.wymin - rymin * wt.cy;

  // The window is what the R level may draw in.
  szscll(rxmin, rxmax, rymin, rymax, 0);
}

void stqwtr(float& rxmin, float& rxmax, float& rymin, float& rymax, float& wxmin, float& wxmax, float& wymin,
            float& wymax, int& iwtrf) {
  if (!wt.transformDefined) msgdmp("E", "STQWTR", "WORKSTATION TRANSFORMATION IS NOT DEFINED.");
  rxmin = wt.rxmin;
  rxmax = wt.rxmax;
  rymin = wt.rymin;
  rymax = wt.rymax;
  wxmin = wt.wxmin;
  wxmax = wt.wxmax;
  wymin = wt.wymin;
  wymax = wt.wymax;
  iwtrf = wt.iwtrf;
}

void stswrc(float wsxmn, float wsxmx, float wsymn, float wsymx) {
  if (!(wsxmx > wsxmn && wsymx > wsymn)) {
    msgdmp("E", "STSWRC", "WORKSTATION RECTANGLE IS INVALID.");
    return;
  }
  wt.wsxmn = wsxmn;
  wt.wsxmx = wsxmx;
  wt.wsymn = wsymn;
  wt.wsymx = wsymx;
  wt.rectangleDefined = true;
}

void stqwrc(float& wsxmn, float& wsxmx, float& wsymn, float& wsymx) {
  if (!wt.rectangleDefined) msgdmp("E", "STQWRC", "WORKSTATION RECTANGLE IS NOT DEFINED.");
  wsxmn = wt.wsxmn;
  wsxmx = wt.wsxmx;
  wsymn = wt.wsymn;
  wsymx = wt.wsymx;
}

void stfwtr(float rx, float ry, float& wx, float& wy) {
  if (!defined("STFWTR")) {
    wx = wy = undefinedValue();
    return;
  }
  const float wxx = rx * wt.cx + wt.wx0;
  const float wyy = ry * wt.cy + wt.wy0;
  if (wt.iwtrf == 1) {
    wx = wxx + wt.wsxmn;
    wy = wyy + wt.wsymn;
  } else {
    // Turned output: the layout's x runs down the device from its top edge.
    wx = wyy + wt.wsxmn;
    wy = wt.wsymx - wxx;
  }
}

void stiwtr(float wx, float wy, float& rx, float& ry) {
  if (!defined("STIWTR")) {
    rx = ry = undefinedValue();
    return;
  }
  float wxx = 0.0F;
  float wyy = 0.0F;
  if (wt.iwtrf == 1) {
    wxx = wx - wt.wsxmn;
    wyy = wy - wt.wsymn;
  } else {
    wxx = wt.wsymx - wy;
    wyy = wx - wt.wsxmn;
  }
  rx = (wxx - wt.wx0) / wt.cx;
  ry = (wyy - wt.wy0) / wt.cy;
}

namespace transform {
bool workstationScale(float& scale) {
  // The aspect ratio is kept, so x and y scale alike.
  scale = wt.transformDefined ? wt.cx : 0.0F;
  return wt.transformDefined;
}
}  // namespace transform

}  // namespace zep
