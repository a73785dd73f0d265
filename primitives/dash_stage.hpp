// The dash stage: cuts draws into dashes along the polyline in V, following the
// line type's bit pattern; the phase runs on across draws and, as MOVE says,
// across moves. The stage holds the pattern (set by szstyp/szstyz at the start
// of every line primitive) and its phase.
//
// A workstation that strokes dashes itself (vector pages) is handed the
// pattern instead, with the phase at the start of every polyline, and
// receives whole segments: its file then holds one path per polyline rather
// than one per dash. That needs lengths kept from here to the workstation (no
// perspective view) and segments that the workstation window does not cut
// (a cut would restart the pattern there); other segments are cut here.
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
  void close() override;

  // Line type: 1 to 4 built in, any other value a bit pattern itself.
  void setType(int type);
  int type() const { return pattern_.type; }
  // A raw bit pattern, read with the SG parameters BITLEN, MOVE and NBITS.
  void setBits(int bits);
  int bits() const { return pattern_.effective; }
  // The longest skipped run of the current pattern in V units; 0 when solid.
  float longestBlank() const;

 private:
  static constexpr int kMaxRuns = 32;
  struct Pattern {
    int type = 1;
    int effective = 0;
    bool solid = true;
    float bitLength = 0.003F;
    int move = 1;
    int runs = 0;
    // what the runs were built from
    bool built = false;
    int count = 0;
    float builtBitLength = 0.0F;
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
  // The pattern as the workstation takes it: drawn first, then alternately.
  void makeHandoffPattern();
  bool handsOff();
  void drawHandedOff(float x, float y);
  // Hands the workstation the pattern at the current phase (or solid).
  void sendDashed();
  void sendSolid();
  bool inWindow(float x, float y) const {
    return x >= window_[0] && x <= window_[1] && y >= window_[2] && y <= window_[3];
  }

  Pattern pattern_;
  float x_ = 0.0F;
  float y_ = 0.0F;
  float dx_ = 0.0F;
  float dy_ = 0.0F;
  float phase_ = 0.0F;
  bool opened_ = false;
  PenLift pen_;
  detail::RectangleClipper cut_{0};  // the R stage's cut, to skip what it drops

  // Handoff to the workstation: the pattern rotated to start with a drawn
  // run (handoffStart_ into the stage's pattern, V units) and cut to its
  // shortest repeat; the scale to W and the workstation window in R, taken at
  // open.
  std::array<int, kMaxRuns> handoffBits_{};  // run lengths in bits
  int handoffCount_ = 0;
  float handoffStart_ = 0.0F;
  float handoffCycle_ = 0.0F;
  bool handoff_ = false;    // this line primitive hands its pattern off
  bool sentDashed_ = false;  // the workstation's polyline carries the pattern
  float scaleToW_ = 1.0F;
  std::array<float, 4> window_{};
};

}  // namespace zep::pipeline
