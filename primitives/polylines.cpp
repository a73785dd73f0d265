// Polylines from arrays: n points joined through the line pipeline, with their
// own type and index. A missing point (GL LMISS, RMISS) lifts the pen.
#include <string>

#include <zep/zep.hpp>

#include "foundation/parameter_handle.hpp"
#include "primitives/line_pipeline.hpp"

namespace zep {
namespace {

int currentPolylineType = 1;
int currentPolylineIndex = 1;

// What an n-point polyline with `index` may draw: index 0 and a single point
// draw nothing and say so; negative counts and indices are errors.
bool drawable(std::string_view routine, int n, int index) {
  if (n < 0) {
    msgdmp("E", routine, "NUMBER OF POINTS IS LESS THAN 0.");
    return false;
  }
  if (index == 0) {
    msgdmp("M", routine, "POLYLINE INDEX IS 0 / DO NOTHING.");
    return false;
  }
  if (index < 0) {
    msgdmp("E", routine, "POLYLINE INDEX IS LESS THAN 0.");
    return false;
  }
  if (n == 1) {
    msgdmp("M", routine, "NUMBER OF POINTS IS 1 / DO NOTHING.");
    return false;
  }
  return n >= 2;
}

// The workstation object around one polyline, as "SZLN" is around a segment.
void openPolyline(int itype, int index) {
  // The index as one word, left-aligned in 80 blanks: what cdblk makes of it
  // right-aligned in 8, without the pass over 80 characters per polyline.
  std::string description = std::to_string(index);
  if (description.size() > 8) description.assign(8, '*');
  description.resize(80, ' ');
  swoopn("SZPL", description);
  szslti(itype, index);
}

// Feeds the points to `stage` in one open bracket, so that dashes run on from
// point to point; a missing point ends the current piece.
void strokePoints(pipeline::LineStage& stage, int n, const float* x, const float* y) {
  static ParameterHandle<bool, gllqid, gllqvl> missingSwitch("LMISS");
  static ParameterHandle<float, glrqid, glrqvl> missingValue("RMISS");
  const bool missingOn = missingSwitch.get();
  const float missing = missingValue.get();
  stage.open();
  bool penDown = false;
  for (int i = 0; i < n; ++i) {
    if (missingOn && (x[i] == missing || y[i] == missing)) {
      penDown = false;
      continue;
    }
    penDown ? stage.drawTo(x[i], y[i]) : stage.moveTo(x[i], y[i]);
    penDown = true;
  }
  stage.close();
}

void polyline(std::string_view routine, pipeline::LineStage& stage, int n, const float* x, const float* y, int itype,
              int index) {
  if (!drawable(routine, n, index)) return;
  openPolyline(itype, index);
  strokePoints(stage, n, x, y);
  swocls("SZPL");
}

}  // namespace

void sgsplt(int itype) { currentPolylineType = itype; }
void sgqplt(int& itype) { itype = currentPolylineType; }
void sgspli(int index) { currentPolylineIndex = index; }
void sgqpli(int& index) { index = currentPolylineIndex; }

void sgplu(int n, const float* upx, const float* upy) {
  polyline("SGPLU", pipeline::userStage(), n, upx, upy, currentPolylineType, currentPolylineIndex);
}
void sgplv(int n, const float* vpx, const float* vpy) {
  polyline("SGPLV", pipeline::viewportStage(), n, vpx, vpy, currentPolylineType, currentPolylineIndex);
}
void sgplr(int n, const float* rpx, const float* rpy) {
  polyline("SGPLR", pipeline::deviceStage(), n, rpx, rpy, currentPolylineType, currentPolylineIndex);
}

void sgplzu(int n, const float* upx, const float* upy, int itype, int index) {
  polyline("SGPLZU", pipeline::userStage(), n, upx, upy, itype, index);
}
void sgplzv(int n, const float* vpx, const float* vpy, int itype, int index) {
  polyline("SGPLZV", pipeline::viewportStage(), n, vpx, vpy, itype, index);
}
void sgplzr(int n, const float* rpx, const float* rpy, int itype, int index) {
  polyline("SGPLZR", pipeline::deviceStage(), n, rpx, rpy, itype, index);
}

}  // namespace zep
