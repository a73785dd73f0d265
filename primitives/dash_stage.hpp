// The dash stage: cuts draws into dashes along the polyline in V, following the
// line type's bit pattern; the phase runs on across draws and, as MOVE says,
// across moves.
#pragma once

#include "primitives/line_pipeline.hpp"

namespace zep::pipeline {

class DashStage : public LineStage {
 public:
  explicit DashStage(LineStage& next) : next_(next) {}
  void open() override;
  void moveTo(float x, float y) override;
  void drawTo(float x, float y) override;
  void close() override;

 private:
  // Moves or draws the next stage at distance `e` from the current point.
  void emit(int run, float e);
  void emitAt(int run, float x, float y);

  LineStage& next_;
  float x_ = 0.0F;
  float y_ = 0.0F;
  float dx_ = 0.0F;
  float dy_ = 0.0F;
  float phase_ = 0.0F;
  bool opened_ = false;
};

}  // namespace zep::pipeline
