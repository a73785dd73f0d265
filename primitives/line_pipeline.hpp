// The line pipeline: every line of the library, from the user-level segments to
// the strokes of stroke-font text, runs through this chain of stages down to the
// workstation. Each stage speaks one protocol (open, move to, draw to, close) and
// forwards points to the next; the chain itself is assembled in one place,
// line_pipeline.cpp, so that it reads top to bottom:
//
//   U (user) --> T (rotated map coordinates) --+
//     \--------------------------------------- V (viewport clip, LCLIP)
//                                              --> label --> dash --> P (perspective)
//   text strokes (clip when the text asks) ------------------------> P
//                                              P --> R (workstation-window clip)
//                                                --> Z (to workstation coordinates)
//                                                --> workstation
//
// A new stage derives from PassStage, overrides what it changes, and takes its
// place in the chain in line_pipeline.cpp.
#pragma once

#include <cmath>

namespace zep::pipeline {

inline bool finite(float x, float y) { return std::isfinite(x) && std::isfinite(y); }

// A point that is not finite lifts the pen as a missing value does: the point
// is dropped and the next good point is reached with a move. Every stage keeps
// one, so that nothing that is not a number travels down the chain (a dash
// phase would be lost to it, the workstation would draw to a page corner).
class PenLift {
 public:
  void reset() { lifted_ = false; }
  // Whether (x, y) is to be dropped; the pen is lifted if so.
  bool drops(float x, float y) {
    if (finite(x, y)) return false;
    lifted_ = true;
    return true;
  }
  // Whether the pen was lifted since the last good point; lowers it.
  bool resumes() {
    const bool lifted = lifted_;
    lifted_ = false;
    return lifted;
  }
  void lift() { lifted_ = true; }

 private:
  bool lifted_ = false;
};

class LineStage {
 public:
  virtual ~LineStage() = default;
  virtual void open() = 0;
  virtual void moveTo(float x, float y) = 0;
  virtual void drawTo(float x, float y) = 0;
  virtual void close() = 0;
};

// The base of every stage that has a next one: forwards everything unchanged.
class PassStage : public LineStage {
 public:
  explicit PassStage(LineStage& next) : next_(next) {}
  void open() override { next_.open(); }
  void moveTo(float x, float y) override { next_.moveTo(x, y); }
  void drawTo(float x, float y) override { next_.drawTo(x, y); }
  void close() override { next_.close(); }

 protected:
  // Moves or draws the next stage, as a generator marked the point.
  void forward(float x, float y, bool move) { move ? next_.moveTo(x, y) : next_.drawTo(x, y); }
  LineStage& next_;
};

// What every line primitive reads at its start (szslti) and the stages consult.
struct LineState {
  bool interpolateLinear = false;       // LLNINT
  bool interpolateGreatCircle = false;  // LGCINT
  float stepX = 0.0F;                   // RDX, in radians where the axis is in degrees
  float stepY = 0.0F;                   // RDY
  bool clipToViewport = false;          // LCLIP
  bool labelLines = false;              // LCHAR
  bool clipText = false;                // set by the text primitives for their strokes
  // Pieces the interpolators may still cut the current user segment into: its
  // linear pieces and, on maps, their great-circle pieces together. Negative
  // outside a user segment, where each interpolator has only its own bound.
  int pieceBudget = -1;
};

// The pieces one user segment may become in all, so that interpolation in U
// followed by interpolation along great circles cannot multiply into millions.
inline constexpr int kPiecesPerUserSegment = 16384;

LineState& lineState();

// The stages of the chain, for the entries that feed them.
LineStage& userStage();
LineStage& mapStage();
LineStage& viewportStage();
LineStage& labelStage();
LineStage& dashStage();
LineStage& perspectiveStage();
LineStage& deviceStage();
LineStage& workstationStage();
LineStage& textStrokeStage();

class DashStage;
// The chain's dash stage, which holds the current dash pattern.
DashStage& dashPattern();

}  // namespace zep::pipeline
