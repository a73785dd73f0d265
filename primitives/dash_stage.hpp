// The dash stage: cuts draws into dashes along the polyline in V, following the
// line type's bit pattern; the phase runs on across draws and, as MOVE says,
// across moves. The stage holds the pattern (set by szstyp/szstyz at the start
// of every line primitive) and its phase.
#pragma once

#include <array>

#include "primitives/line_pipeline.hpp"
#include "primitives/segment_generator.hpp"

namespace zep::pipeline {

class DashStage : public PassStage {
 public:
  using PassStage::PassStage;
  void open() override;
  void moveTo(float x, float y) override;
  void drawTo(float x, float y) override;

  // Line type: 1 to 4 built in, any other value a bit pattern itself.
  void setType(int type);
  int type() const { return pattern_.type; }
  // A raw bit pattern, read with the SG parameters BITLEN, MOVE and NBITS.
  void setBits(int bits);
  int bits() const { return pattern_.effective; }

 private:
  static constexpr int kMaxRuns = 32;
  struct Pattern {
    int type = 1;
    int effective = 0;
    bool solid = true;
    float bitLength = 0.003F;
    int move = 1;
    int runs = 0;
    std::array<float, kMaxRuns> end{};  // cumulative end of each run, V units
    std::array<bool, kMaxRuns> pen{};   // draw (true) or skip
    float cycle() const { return end[static_cast<std::size_t>(runs - 1)]; }
    float endOf(int run) const { return end[static_cast<std::size_t>(run)]; }
  };

  // Moves or draws the next stage at distance `e` from the current point.
  void emit(int run, float e);
  void emitAt(int run, float x, float y);
  void drawDashed(float x, float y);
  // Dashes from the current point to (x, y), `s` away along (dx_, dy_).
  void dashTo(float x, float y, float s);
  // Moves to (x, y), `s` away, the phase running on over the distance.
  void skipTo(float x, float y, double s);

  Pattern pattern_;
  float x_ = 0.0F;
  float y_ = 0.0F;
  float dx_ = 0.0F;
  float dy_ = 0.0F;
  float phase_ = 0.0F;
  bool opened_ = false;
  detail::RectangleClipper window_{0};  // the R stage's cut, to skip what it drops
  PenLift pen_;
};

}  // namespace zep::pipeline
