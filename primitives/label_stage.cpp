// Labelled lines: the label text, its height, and the label stage.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include <zep/zep.hpp>

#include "foundation/fixed_text.hpp"
#include "primitives/dash_stage.hpp"
#include "primitives/label_stage.hpp"

namespace zep {
namespace {

constexpr std::size_t kLabelWidth = 80;
constexpr int kMaxBuffer = 400;

struct LabelText {
  std::string text;
  float height = 0.0F;
  bool set = false;
} label;

// A minus sign as typed ("-") or as the Unicode minus ("\u2212" in UTF-8).
bool startsWithMinus(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  text.remove_prefix(first);
  return text.starts_with('-') || text.starts_with("\xE2\x88\x92");
}

}  // namespace

void szschz(std::string_view text, float height) {
  label.text = std::string(text.substr(0, std::min<std::size_t>(static_cast<std::size_t>(lenc(text)), kLabelWidth)));
  label.height = height;
  label.set = true;
}

void szqchz(std::span<char> text, float& height) {
  if (!label.set) {
    msgdmp("E", "SZQCHZ", "TEXT HAS NOT BEEN SET YET.");
    return;
  }
  text::assign(text, label.text);
  height = label.height;
}

void szcrst() { label.set = false; }

namespace pipeline {

void LabelStage::open() {
  labelling_ = lineState().labelLines && label.set;
  if (labelling_) {
    float fwc = 1.25F, cwl = 30.0F, ffct = 0.5F;
    sglget("LROT", fixedAngle_);
    sgiget("IROT", angle_);
    sgrget("FWC", fwc);
    sgrget("CWL", cwl);
    sgrget("FFCT", ffct);
    sgiget("INDEXC", labelIndex_);
    sglget("LBUFF", buffering_);
    sgiget("NBUFF", capacity_);
    sgrget("RBUFF", restart_);
    sglget("LCURV", curvatureCheck_);
    sgrget("RCURV", curvature_);
    bool valid = true;
    auto check = [&](bool ok, const char* text) {
      if (!ok) {
        msgdmp("E", "SZOPLC", text);
        valid = false;
      }
    };
    check(fwc >= 1.0F, "PARAMETER 'FWC' IS LESS THAN 1.");
    check(cwl > 0.0F, "PARAMETER 'CWL' IS LESS THAN 0.");
    check(ffct > 0.0F && ffct < 1.0F, "PARAMETER 'FFCT' IS NOT IN THE RANGE OF (0,1).");
    check(capacity_ >= 1 && capacity_ <= kMaxBuffer, "PARAMETER 'NBUFF' IS NOT IN THE RANGE OF (1,MAXTMP).");
    check(restart_ > 0.0F && restart_ < 1.0F, "PARAMETER 'RBUFF' IS NOT IN THE RANGE OF (0,1).");
    check(curvature_ > 0.0F && curvature_ < fwc, "PARAMETER 'RCURV' IS NOT IN THE RANGE OF (0,FWC).");
    // Stretch and gap scale with the height: without a positive height the
    // label cycle has no length and the walk along the line would never end.
    // A label of height 0 is invisible, so the line is simply drawn plain.
    if (label.height < 0.0F) check(false, "TEXT HEIGHT IS LESS THAN ZERO.");
    else if (!(label.height > 0.0F)) valid = false;
    // Bad parameters that an error callback lets through leave the line unlabelled.
    labelling_ = valid;
    if (labelling_) {
      height_ = label.height;
      int nc = 0;
      float wych = 0.0F;
      szqtxw(label.text, nc, width_, wych);
      stretch_ = height_ * cwl;
      cycle_ = stretch_ + width_ * fwc * height_;
      offset_ = stretch_ * ffct;
      // A leading minus is turned along the line and is then one more short
      // stroke in line with it: "-20" would read as "20", the minus taken for
      // a dash or for the line's end. The gap keeps the line further off on
      // either side, by a whole blank of a dash pattern and half a height at
      // least, so that the minus stands with the digits.
      if (startsWithMinus(label.text)) cycle_ += 2.0F * std::max(dashPattern().longestBlank(), 0.5F * height_);
    }
  }
  if (buffering_) buffer_.clear();
  pen_.reset();
  next_.open();
}

void LabelStage::flushBuffer() {
  for (const Point& p : buffer_) next_.drawTo(p.x, p.y);
  buffer_.clear();
}

void LabelStage::moveTo(float x, float y) {
  if (pen_.drops(x, y)) return;
  pen_.reset();
  if (buffering_) flushBuffer();
  next_.moveTo(x, y);
  current_ = {x, y};
  arc_ = offset_;
}

void LabelStage::placeLabel(Point start, Point end) {
  int angle = angle_;
  if (!fixedAngle_) {
    const double d = std::atan2(static_cast<double>(end.y - start.y), static_cast<double>(end.x - start.x)) * 180.0 /
                     std::numbers::pi;
    // Folded to an upright angle in [-90, 90).
    angle = static_cast<int>(std::fmod(std::fmod(d + 270.0, 180.0) + 180.0, 180.0) - 90.0);
  }
  int lineIndex = 0;
  szqidx(lineIndex);
  const int index = labelIndex_ != 0 ? labelIndex_ : lineIndex;
  // The label leaves the line's own road and comes back to it. The stages
  // below (dash, P, R, Z) are closed, so that the workstation ends the line's
  // polyline before the text; the text goes its own way through the text
  // primitive, whose strokes enter at the text-stroke stage and meet the line's
  // road again at P; then the stages below are reopened and the line moves on
  // from the end of the gap. The stages above this one stay open throughout,
  // and no generator of theirs is disturbed: every stage clips and
  // interpolates with generators of its own.
  next_.close();
  sztxop(height_, angle, 0, index);
  sztxzv((start.x + end.x) / 2.0F, (start.y + end.y) / 2.0F, label.text);
  sztxcl();
  szsidx(lineIndex);
  next_.open();
  next_.moveTo(end.x, end.y);
}

void LabelStage::drawTo(float x, float y) {
  if (pen_.drops(x, y)) return;
  if (pen_.resumes()) {
    moveTo(x, y);
    return;
  }
  if (!labelling_) {
    next_.drawTo(x, y);
    current_ = {x, y};
    return;
  }
  const Point p{x, y};
  for (;;) {
    const float r = std::hypot(p.x - current_.x, p.y - current_.y);
    if (r == 0.0F) return;
    if (!std::isfinite(r)) {
      // Points so far apart that their distance overflows have no arc
      // position: pass the draw on rather than measure gaps along it.
      next_.drawTo(p.x, p.y);
      current_ = p;
      return;
    }
    const float a1 = arc_ + r;
    auto at = [&](float s) {
      const float t = (s - arc_) / r;
      return Point{current_.x + t * (p.x - current_.x), current_.y + t * (p.y - current_.y)};
    };
    if (a1 < stretch_) {
      next_.drawTo(p.x, p.y);
      current_ = p;
      arc_ = a1;
      return;
    }
    if (arc_ < stretch_) {  // the gap starts in this segment
      gapStart_ = at(stretch_);
      next_.drawTo(gapStart_.x, gapStart_.y);
    }
    if (a1 < cycle_) {  // P lies inside the gap
      current_ = p;
      arc_ = a1;
      if (buffering_) {
        buffer_.push_back(p);
        if (static_cast<int>(buffer_.size()) >= capacity_) {
          flushBuffer();
          arc_ = stretch_ * restart_;
        }
      }
      return;
    }
    const Point gapEnd = at(cycle_);
    current_ = gapEnd;
    if (buffering_ && curvatureCheck_ &&
        std::hypot(gapEnd.x - gapStart_.x, gapEnd.y - gapStart_.y) <= height_ * width_ * curvature_) {
      // Too sharp a bend for a label: the line runs through the gap instead.
      flushBuffer();
      arc_ = stretch_ * restart_;
      next_.drawTo(p.x, p.y);
      current_ = p;
      return;
    }
    placeLabel(gapStart_, gapEnd);
    arc_ = 0.0F;
    buffer_.clear();
  }
}

void LabelStage::close() {
  if (buffering_) flushBuffer();
  next_.close();
}

}  // namespace pipeline
}  // namespace zep
