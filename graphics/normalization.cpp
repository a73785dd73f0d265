// The normalization transformation as the application describes it: viewport,
// window, transformation number, similarity, map pole and clipping limits are
// SG parameters set without checks; sgstrf checks them and turns them into the
// constants of the point transformations.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>

#include "graphics/projection_table.hpp"
#include "graphics/transform_queries.hpp"

namespace zep {
namespace {

float sgReal(std::string_view name) {
  float v = 0.0F;
  sgrget(name, v);
  return v;
}

struct Rect {
  float xmin;
  float xmax;
  float ymin;
  float ymax;
};

Rect viewport() { return {sgReal("VXMIN"), sgReal("VXMAX"), sgReal("VYMIN"), sgReal("VYMAX")}; }

float degreeFactor() {
  bool ldeg = true;
  sglget("LDEG", ldeg);
  return ldeg ? rfpi() / 180.0F : 1.0F;
}

// Scale and offset that map [umin, umax] onto [vmin, vmax], linearly or on a
// logarithmic axis; false after a report when the window cannot be mapped.
bool axisScale(float umin, float umax, float vmin, float vmax, bool logarithmic, char axis, float& c,
               float& v0) {
  // A bound that is not finite scales every point to nothing or infinity.
  if (!std::isfinite(umin) || !std::isfinite(umax)) {
    msgdmp("E", "SGSTRF", "WINDOW DEFINITION IS INVALID.");
    return false;
  }
  if (logarithmic) {
    // The product in double: two tiny bounds of one sign must not underflow to 0.
    if (static_cast<double>(umin) * static_cast<double>(umax) <= 0.0) {
      msgdmp("E", "SGSTRF", std::string("THE REGION STRADDLES 0 FOR LOG TRANSFORMATION (") + axis + ").");
      return false;
    }
  }
  // A window of no width would scale every point to infinity.
  if (umin == umax) {
    msgdmp("E", "SGSTRF", "WINDOW DEFINITION IS INVALID.");
    return false;
  }
  // A width (or log ratio) beyond float range maps every point to one V value,
  // and one too small to divide by maps them to infinity.
  const float width = logarithmic ? umax / umin : umax - umin;
  if (!std::isfinite(width) || width == 0.0F) {
    msgdmp("E", "SGSTRF", "WINDOW DEFINITION IS INVALID.");
    return false;
  }
  if (logarithmic) {
    c = (vmax - vmin) / std::log10(width);
    v0 = vmin - std::log10(std::fabs(umin)) * c;
  } else {
    c = (vmax - vmin) / width;
    v0 = vmin - umin * c;
  }
  if (!std::isfinite(c) || c == 0.0F || !std::isfinite(v0)) {
    msgdmp("E", "SGSTRF", "WINDOW DEFINITION IS INVALID.");
    return false;
  }
  return true;
}

void finalizeAxes(int itr, const Rect& vp) {
  const Rect w{sgReal("UXMIN"), sgReal("UXMAX"), sgReal("UYMIN"), sgReal("UYMAX")};
  float cx = 0.0F;
  float cy = 0.0F;
  float vx0 = 0.0F;
  float vy0 = 0.0F;
  if (!axisScale(w.xmin, w.xmax, vp.xmin, vp.xmax, itr > 2, 'X', cx, vx0)) return;
  if (!axisScale(w.ymin, w.ymax, vp.ymin, vp.ymax, itr % 2 == 0, 'Y', cy, vy0)) return;
  stsrad(false, false);
  ststrf(false);
  ststri(itr);
  ststrp(cx, cy, vx0, vy0);
}

// Centre of the similarity: the viewport centre moved by the offsets.
void similarityCentre(const Rect& vp, float& vx0, float& vy0) {
  vx0 = (vp.xmin + vp.xmax) / 2.0F + sgReal("VXOFF");
  vy0 = (vp.ymin + vp.ymax) / 2.0F + sgReal("VYOFF");
}

void finalizeSimilarity(int itr, const Rect& vp) {
  const float simfac = sgReal("SIMFAC");
  float vx0 = 0.0F;
  float vy0 = 0.0F;
  similarityCentre(vp, vx0, vy0);
  bool ldeg = true;
  sglget("LDEG", ldeg);
  // Polar converts only the angle; bipolar coordinates are both angles.
  stsrad(ldeg && itr == 6, ldeg);
  ststrf(false);
  ststri(itr);
  ststrp(simfac, simfac, vx0, vy0);
}

void finalizeGrid(const transform::Projection& p, const Rect& vp) {
  transform::Setup setup;
  setup.cxmin = sgReal("CXMIN");
  setup.cxmax = sgReal("CXMAX");
  setup.cymin = sgReal("CYMIN");
  setup.cymax = sgReal("CYMAX");
  glrget("RUNDEF", setup.rundef);
  setup.routine = "SGSTRF";
  if (p.prepare != nullptr && !p.prepare(setup)) return;
  if (setup.cxmin == setup.cxmax || setup.cymin == setup.cymax || !std::isfinite(setup.cxmax - setup.cxmin) ||
      !std::isfinite(setup.cymax - setup.cymin)) {
    msgdmp("E", "SGSTRF", "WINDOW DEFINITION IS INVALID.");
    return;
  }
  const float cx = (vp.xmax - vp.xmin) / (setup.cxmax - setup.cxmin);
  const float cy = (vp.ymax - vp.ymin) / (setup.cymax - setup.cymin);
  stsrad(false, false);
  ststrf(false);
  ststri(p.number);
  ststrp(cx, cy, vp.xmin - setup.cxmin * cx, vp.ymin - setup.cymin * cy);
}

}  // namespace

namespace transform {

bool finalizeMap(int itr, std::string_view routine) {
  const Projection* p = findProjection(itr);
  if (p == nullptr || p->kind != Kind::Map) {
    msgdmp("E", routine, "TRANSFORMATION FUNCTION NUMBER IS INVALID.");
    return false;
  }
  if (p->forward == nullptr) {
    msgdmp("E", routine, unavailableText(*p));
    return false;
  }
  bool ldeg = true;
  sglget("LDEG", ldeg);
  const float cp = degreeFactor();
  const Rect vp = viewport();
  const float simfac = sgReal("SIMFAC");
  float vx0 = 0.0F;
  float vy0 = 0.0F;
  similarityCentre(vp, vx0, vy0);

  Setup setup;
  setup.stlat1 = cp * sgReal("STLAT1");
  setup.stlat2 = cp * sgReal("STLAT2");
  setup.rsat = sgReal("RSAT");
  glrget("RUNDEF", setup.rundef);
  setup.routine = routine;
  const bool degenerate = setUpMap(*p, setup);

  stsrad(ldeg, ldeg);
  stsrot(rfpi() / 2.0F - cp * sgReal("PLY"), cp * sgReal("PLX"), cp * sgReal("PLROT"));
  ststrf(true);
  ststri(itr);
  ststrp(simfac, simfac, vx0, vy0);
  szsclx(cp * sgReal("TXMIN"), cp * sgReal("TXMAX"));
  szscly(cp * sgReal("TYMIN"), cp * sgReal("TYMAX"));
  return degenerate;
}

// A map scaled or placed so that none of it, or a speck of it, lies in its
// viewport draws an empty frame with no other sign: say so. The limits in T
// are sampled through the projection just finalized.
bool mapCoverageCheck = true;

void warnIfMapMissesViewport(const Rect& vp) {
  if (!mapCoverageCheck) return;
  float rundef = 0.0F;
  glrget("RUNDEF", rundef);
  const float cp = rfpi() / 180.0F;
  const float tx0 = sgReal("TXMIN"), tx1 = sgReal("TXMAX"), ty0 = sgReal("TYMIN"), ty1 = sgReal("TYMAX");
  float x0 = HUGE_VALF, x1 = -HUGE_VALF, y0 = HUGE_VALF, y1 = -HUGE_VALF;
  bool inside = false;
  constexpr int kSteps = 36;
  for (int i = 0; i <= kSteps; ++i)
    for (int j = 0; j <= kSteps; ++j) {
      const float tx = tx0 + (tx1 - tx0) * (static_cast<float>(i) + 0.001F) / (kSteps + 0.002F);
      const float ty = ty0 + (ty1 - ty0) * (static_cast<float>(j) + 0.001F) / (kSteps + 0.002F);
      float vx = 0.0F, vy = 0.0F;
      stftrn(cp * tx, cp * ty, vx, vy);
      if (vx == rundef || vy == rundef || !std::isfinite(vx) || !std::isfinite(vy)) continue;
      x0 = std::min(x0, vx), x1 = std::max(x1, vx), y0 = std::min(y0, vy), y1 = std::max(y1, vy);
      inside = inside || (vx >= vp.xmin && vx <= vp.xmax && vy >= vp.ymin && vy <= vp.ymax);
    }
  const float w = std::min(x1, vp.xmax) - std::max(x0, vp.xmin), h = std::min(y1, vp.ymax) - std::max(y0, vp.ymin);
  const float share = w > 0.0F && h > 0.0F ? w * h / ((vp.xmax - vp.xmin) * (vp.ymax - vp.ymin)) : 0.0F;
  if (share >= 0.01F) return;
  char simfac[32];
  std::snprintf(simfac, sizeof simfac, "%G", static_cast<double>(sgReal("SIMFAC")));
  msgdmp("W", "SGSTRF",
         std::string(inside ? "MAP COVERS <1% OF ITS VIEWPORT" : "MAP WHOLLY OUTSIDE ITS VIEWPORT") + " (SIMFAC = " + simfac + ").");
  msgdmp("M", "-CNT.-", "SET SIMFAC, VXOFF AND VYOFF, OR FIT THE MAP WITH FGSMAP.");
}

void setMapCoverageCheck(bool on) { mapCoverageCheck = on; }

}  // namespace transform

// ---------------------------------------------------------------------------
// Parameter setters and queries
// ---------------------------------------------------------------------------

void sgsvpt(float vxmin, float vxmax, float vymin, float vymax) {
  sgrset("VXMIN", vxmin);
  sgrset("VXMAX", vxmax);
  sgrset("VYMIN", vymin);
  sgrset("VYMAX", vymax);
}

void sgqvpt(float& vxmin, float& vxmax, float& vymin, float& vymax) {
  sgrget("VXMIN", vxmin);
  sgrget("VXMAX", vxmax);
  sgrget("VYMIN", vymin);
  sgrget("VYMAX", vymax);
}

void sgswnd(float uxmin, float uxmax, float uymin, float uymax) {
  sgrset("UXMIN", uxmin);
  sgrset("UXMAX", uxmax);
  sgrset("UYMIN", uymin);
  sgrset("UYMAX", uymax);
}

void sgqwnd(float& uxmin, float& uxmax, float& uymin, float& uymax) {
  sgrget("UXMIN", uxmin);
  sgrget("UXMAX", uxmax);
  sgrget("UYMIN", uymin);
  sgrget("UYMAX", uymax);
}

void sgstrn(int itr) { sgiset("ITR", itr); }

void sgqtrn(int& itr) { sgiget("ITR", itr); }

void sgssim(float simfac, float vxoff, float vyoff) {
  sgrset("SIMFAC", simfac);
  sgrset("VXOFF", vxoff);
  sgrset("VYOFF", vyoff);
  // A zero factor has no projection-plane window; the old one stays.
  if (simfac == 0.0F) return;
  const Rect vp = viewport();
  const float xc = (vp.xmin + vp.xmax) / 2.0F + vxoff;
  const float yc = (vp.ymin + vp.ymax) / 2.0F + vyoff;
  const float cxmin = (vp.xmin - xc) / simfac;
  const float cymin = (vp.ymin - yc) / simfac;
  sgrset("CXMIN", cxmin);
  sgrset("CXMAX", cxmin + (vp.xmax - vp.xmin) / simfac);
  sgrset("CYMIN", cymin);
  sgrset("CYMAX", cymin + (vp.ymax - vp.ymin) / simfac);
}

void sgqsim(float& simfac, float& vxoff, float& vyoff) {
  sgrget("SIMFAC", simfac);
  sgrget("VXOFF", vxoff);
  sgrget("VYOFF", vyoff);
}

void sgsmpl(float plx, float ply, float plrot) {
  sgrset("PLX", plx);
  sgrset("PLY", ply);
  sgrset("PLROT", plrot);
}

void sgqmpl(float& plx, float& ply, float& plrot) {
  sgrget("PLX", plx);
  sgrget("PLY", ply);
  sgrget("PLROT", plrot);
}

void sgstxy(float txmin, float txmax, float tymin, float tymax) {
  sgrset("TXMIN", txmin);
  sgrset("TXMAX", txmax);
  sgrset("TYMIN", tymin);
  sgrset("TYMAX", tymax);
}

void sgqtxy(float& txmin, float& txmax, float& tymin, float& tymax) {
  sgrget("TXMIN", txmin);
  sgrget("TXMAX", txmax);
  sgrget("TYMIN", tymin);
  sgrget("TYMAX", tymax);
}

void sgscwd(float cxmin, float cxmax, float cymin, float cymax) {
  sgrset("CXMIN", cxmin);
  sgrset("CXMAX", cxmax);
  sgrset("CYMIN", cymin);
  sgrset("CYMAX", cymax);
  // A window of no width or height has no similarity; the old one stays.
  if (cxmax == cxmin || cymax == cymin) return;
  const Rect vp = viewport();
  const float fx = (vp.xmax - vp.xmin) / (cxmax - cxmin);
  const float fy = (vp.ymax - vp.ymin) / (cymax - cymin);
  const float x0 = vp.xmin - cxmin * fx;
  const float y0 = vp.ymin - cymin * fy;
  sgrset("SIMFAC", fx);
  sgrset("VXOFF", x0 - (vp.xmin + vp.xmax) / 2.0F);
  sgrset("VYOFF", y0 - (vp.ymin + vp.ymax) / 2.0F);
}

void sgqcwd(float& cxmin, float& cxmax, float& cymin, float& cymax) {
  sgrget("CXMIN", cxmin);
  sgrget("CXMAX", cxmax);
  sgrget("CYMIN", cymin);
  sgrget("CYMAX", cymax);
}

// ---------------------------------------------------------------------------
// Finalization
// ---------------------------------------------------------------------------

void sgstrf() {
  int itr = 0;
  sgiget("ITR", itr);
  const Rect vp = viewport();
  // Infinite corners are no definition either: every point would map to them.
  if (!(vp.xmax > vp.xmin && vp.ymax > vp.ymin) || !std::isfinite(vp.xmax - vp.xmin) ||
      !std::isfinite(vp.ymax - vp.ymin)) {
    msgdmp("E", "SGSTRF", "VIEWPORT DEFINITION IS INVALID.");
    return;
  }
  szscll(vp.xmin, vp.xmax, vp.ymin, vp.ymax, 1);

  const transform::Projection* p = transform::findProjection(itr);
  if (p == nullptr) {
    msgdmp("E", "SGSTRF", "TRANSFORMATION FUNCTION NUMBER IS INVALID.");
    return;
  }
  if (p->forward == nullptr) {
    msgdmp("E", "SGSTRF", transform::unavailableText(*p));
    return;
  }
  switch (p->kind) {
    case transform::Kind::Axes:
      finalizeAxes(itr, vp);
      break;
    case transform::Kind::Similarity:
      finalizeSimilarity(itr, vp);
      break;
    case transform::Kind::Map:
      // The user projection may not be chosen yet: sampling it would stop the program.
      // A degenerate cone has had its own warning, which names the cause.
      if (!transform::finalizeMap(itr, "SGSTRF") && itr != 99) transform::warnIfMapMissesViewport(vp);
      break;
    case transform::Kind::Grid:
      finalizeGrid(*p, vp);
      break;
  }
}

}  // namespace zep
