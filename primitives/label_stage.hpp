// The label stage: along labelled lines (contours, for example) it leaves gaps
// at regular intervals and writes the label text, turned along the line, into
// each gap. Points inside a gap wait in a buffer until the gap is complete, so
// that a label across a sharp bend can be given up and the line drawn through.
#pragma once

#include <vector>

#include "primitives/line_pipeline.hpp"

namespace zep::pipeline {

class LabelStage : public PassStage {
 public:
  using PassStage::PassStage;
  void open() override;
  void moveTo(float x, float y) override;
  void drawTo(float x, float y) override;
  void close() override;

 private:
  struct Point {
    float x = 0.0F;
    float y = 0.0F;
  };
  void flushBuffer();
  void placeLabel(Point start, Point end);

  bool labelling_ = false;
  bool buffering_ = true;
  bool curvatureCheck_ = true;
  bool fixedAngle_ = false;
  int angle_ = 0;
  int labelIndex_ = 0;
  int capacity_ = 200;
  float restart_ = 0.99F;
  float curvature_ = 1.0F;
  float height_ = 0.0F;
  float width_ = 0.0F;    // label width in units of the height
  float stretch_ = 0.0F;  // S
  float cycle_ = 0.0F;    // X = S + G
  float offset_ = 0.0F;   // F
  Point current_;
  Point gapStart_;
  float arc_ = 0.0F;
  std::vector<Point> buffer_;
  PenLift pen_;
};

}  // namespace zep::pipeline
