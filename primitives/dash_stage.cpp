// Line types: the built-in dash patterns, raw bit patterns and the dash stage
// that holds them.
#include "primitives/dash_stage.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

#include <zep/zep.hpp>

#include "foundation/parameter_handle.hpp"
#include "graphics/transform_queries.hpp"
#include "workstation/swpack_internal.hpp"

namespace zep {
namespace {

int builtInPattern(int type) {
  static const std::array<int, 4> patterns = [] {
    const char* texts[] = {"11111111111111111111111111111111", "11111111111100001111111111110000",
                           "11001100110011001100110011001100", "11111111100010001111111110001000"};
    std::array<int, 4> out{};
    for (std::size_t i = 0; i < 4; ++i) bitpci(texts[i], out[i]);
    return out;
  }();
  return patterns[static_cast<std::size_t>(type - 1)];
}

}  // namespace

void szstyp(int itype) { pipeline::dashPattern().setType(itype); }
void szqtyp(int& itype) { itype = pipeline::dashPattern().type(); }
void szstyz(int pattern) { pipeline::dashPattern().setBits(pattern); }
void szqtyz(int& pattern) { pattern = pipeline::dashPattern().bits(); }

namespace pipeline {

void DashStage::setType(int type) {
  pattern_.type = type;
  setBits(type >= 1 && type <= 4 ? builtInPattern(type) : type);
}

void DashStage::setBits(int bits) {
  Pattern& p = pattern_;
  // Read at every line primitive that sets its type.
  static ParameterHandle<float, sgrqid, sgrqvl> bitLength("BITLEN");
  static ParameterHandle<int, sgiqid, sgiqvl> move("MOVE"), bitCount("NBITS");
  p.bitLength = bitLength.get();
  p.move = move.get();
  const int nbits = bitCount.get();
  // The pattern is one 32-bit word: more bits than that do not exist.
  const int count = std::min(nbits, 32);
  std::uint32_t mask = 0;
  for (int i = 0; i < count; ++i) mask = (mask << 1) | 1U;
  const std::uint32_t effective = static_cast<std::uint32_t>(bits) & mask;
  // Every line primitive sets its type: the same pattern again keeps its runs.
  if (p.built && static_cast<int>(effective) == p.effective && count == p.count && p.bitLength == p.builtBitLength)
    return;
  p.built = true;
  p.count = count;
  p.builtBitLength = p.bitLength;
  p.effective = static_cast<int>(effective);
  p.solid = effective == 0 || effective == mask || p.bitLength <= 0.0F;
  p.runs = 0;
  // A new pattern within a line: the workstation's polyline with the old one
  // ends here.
  if (sentDashed_) {
    sendSolid();
    next_.moveTo(x_, y_);
  }
  if (p.solid) return;
  for (int bit = count - 1; bit >= 0; --bit) {
    const bool on = ((effective >> bit) & 1U) != 0;
    if (p.runs == 0 || p.pen[static_cast<std::size_t>(p.runs - 1)] != on) {
      p.end[static_cast<std::size_t>(p.runs)] = p.runs == 0 ? 0.0F : p.endOf(p.runs - 1);
      p.pen[static_cast<std::size_t>(p.runs)] = on;
      ++p.runs;
    }
    p.end[static_cast<std::size_t>(p.runs - 1)] += p.bitLength;
  }
  makeHandoffPattern();
}

void DashStage::makeHandoffPattern() {
  const Pattern& p = pattern_;
  const auto at = [](int i) { return static_cast<std::size_t>(i); };
  // Runs in bits, so that repeats compare exactly.
  const auto bitsOf = [&p](int j) {
    return static_cast<int>(std::lround((p.endOf(j) - (j == 0 ? 0.0F : p.endOf(j - 1))) / p.bitLength));
  };
  // The first drawn run after a skipped one, cyclically (both kinds exist in a
  // pattern that is not solid); runs of one kind across the cycle's end merge.
  int k = 0;
  while (!(p.pen[at(k)] && !p.pen[at((k + p.runs - 1) % p.runs)])) ++k;
  handoffStart_ = k == 0 ? 0.0F : p.endOf(k - 1);
  handoffCount_ = 0;
  bool lastPen = false;
  for (int i = 0; i < p.runs; ++i) {
    const int j = (k + i) % p.runs;
    if (handoffCount_ > 0 && p.pen[at(j)] == lastPen) {
      handoffBits_[at(handoffCount_ - 1)] += bitsOf(j);
    } else {
      handoffBits_[at(handoffCount_++)] = bitsOf(j);
      lastPen = p.pen[at(j)];
    }
  }
  // A pattern that repeats within its word ("1100" eight times) is handed
  // over as its shortest repeat.
  for (int period = 2; period < handoffCount_; period += 2) {
    if (handoffCount_ % period != 0) continue;
    bool repeats = true;
    for (int i = period; i < handoffCount_ && repeats; ++i) repeats = handoffBits_[at(i)] == handoffBits_[at(i - period)];
    if (repeats) {
      handoffCount_ = period;
      break;
    }
  }
  handoffCycle_ = 0.0F;
  for (int i = 0; i < handoffCount_; ++i) handoffCycle_ += static_cast<float>(handoffBits_[at(i)]) * p.bitLength;
}

float DashStage::longestBlank() const {
  if (pattern_.solid) return 0.0F;
  // The handed-over runs alternate drawn, skipped, ... with runs across the
  // cycle's end already merged.
  int bits = 0;
  for (int i = 1; i < handoffCount_; i += 2) bits = std::max(bits, handoffBits_[static_cast<std::size_t>(i)]);
  return static_cast<float>(bits) * pattern_.bitLength;
}

bool DashStage::handsOff() {
  if (pattern_.solid || transform::perspectiveViewOn()) return false;
  if (!transform::workstationScale(scaleToW_) || !(scaleToW_ > 0.0F)) return false;
  bool capable = false;
  swqdsc(capable);
  if (!capable) return false;
  szqcll(window_[0], window_[1], window_[2], window_[3], 0);
  return true;
}

void DashStage::sendDashed() {
  std::array<float, kMaxRuns> lengths{};
  const float bit = pattern_.bitLength * scaleToW_;
  for (int i = 0; i < handoffCount_; ++i)
    lengths[static_cast<std::size_t>(i)] = static_cast<float>(handoffBits_[static_cast<std::size_t>(i)]) * bit;
  // The stage's phase, counted from the start of the handed-over pattern.
  float offset = std::fmod(phase_ - handoffStart_, handoffCycle_);
  if (offset < 0.0F) offset += handoffCycle_;
  if (!(offset >= 0.0F && offset < handoffCycle_)) offset = 0.0F;
  swsdsh(lengths.data(), handoffCount_, offset * scaleToW_);
  sentDashed_ = true;
}

void DashStage::sendSolid() {
  swsdsh(nullptr, 0, 0.0F);
  sentDashed_ = false;
}

void DashStage::open() {
  opened_ = true;
  pen_.reset();
  next_.open();
  // Asked after the open, which reports a workstation that is not open.
  handoff_ = handsOff();
  sentDashed_ = false;
}

void DashStage::close() {
  handoff_ = false;
  sentDashed_ = false;
  next_.close();
}

void DashStage::moveTo(float x, float y) {
  if (pen_.drops(x, y)) return;
  pen_.reset();
  if (!pattern_.solid) {
    if (opened_) {
      phase_ = 0.0F;
      opened_ = false;
    } else if (pattern_.move == 1) {
      phase_ = std::fmod(phase_ + std::hypot(x - x_, y - y_), pattern_.cycle());
    } else if (pattern_.move == -1) {
      phase_ = 0.0F;
    }
  }
  x_ = x;
  y_ = y;
  // The pattern reaches the workstation before the move that starts its line.
  if (handoff_ && !pattern_.solid) sendDashed();
  next_.moveTo(x, y);
}

void DashStage::emit(int run, float e) { emitAt(run, x_ + e * dx_, y_ + e * dy_); }

void DashStage::emitAt(int run, float x, float y) {
  pattern_.pen[static_cast<std::size_t>(run)] ? next_.drawTo(x, y) : next_.moveTo(x, y);
}

void DashStage::drawTo(float x, float y) {
  if (pen_.drops(x, y)) return;
  // After a point that was not a number the line goes on from the next good
  // one, the phase running on as across any move.
  if (pen_.resumes()) {
    moveTo(x, y);
    return;
  }
  if (pattern_.solid) {
    next_.drawTo(x, y);
  } else if (handoff_) {
    drawHandedOff(x, y);
  } else {
    drawDashed(x, y);
  }
  x_ = x;
  y_ = y;
}

void DashStage::drawHandedOff(float x, float y) {
  const float s = std::hypot(x - x_, y - y_);
  if (s == 0.0F) return;  // as drawDashed: nothing to draw
  if (inWindow(x_, y_) && inWindow(x, y)) {
    if (!sentDashed_) {
      sendDashed();
      next_.moveTo(x_, y_);
    }
    next_.drawTo(x, y);
    phase_ = std::fmod(phase_ + s, pattern_.cycle());
    return;
  }
  // The window cuts this segment: its dashes are cut here and drawn solid.
  if (sentDashed_) {
    sendSolid();
    next_.moveTo(x_, y_);
  }
  drawDashed(x, y);
}

namespace {

// A pattern far finer than any device resolves would emit without end: a draw
// that needs more dashes than this is drawn solid.
constexpr double kMaxDashesPerDraw = 1 << 20;

double distance(float x0, float y0, float x1, float y1) {
  return std::hypot(static_cast<double>(x1) - x0, static_cast<double>(y1) - y0);
}

}  // namespace

void DashStage::skipTo(float x, float y, double s) {
  next_.moveTo(x, y);
  phase_ = static_cast<float>(std::fmod(static_cast<double>(phase_) + std::max(s, 0.0),
                                        static_cast<double>(pattern_.cycle())));
  x_ = x;
  y_ = y;
}

// Only the piece that reaches the workstation window is cut into dashes: the
// rest would be clipped away there, and a draw far beyond the window (a long
// line seen through a small window) would otherwise emit millions of dashes
// for nothing. The piece is the one the R stage cuts, by the same clipper; the
// phase runs on over what is skipped. With the 2-D view on the window has no
// simple outline in V, and the whole draw is dashed.
void DashStage::drawDashed(float x, float y) {
  const float s = std::hypot(x - x_, y - y_);
  if (s == 0.0F) return;
  if (!std::isfinite(s)) {
    // Ends so far apart that their distance overflows have no dash positions.
    next_.drawTo(x, y);
    return;
  }
  dx_ = (x - x_) / s;
  dy_ = (y - y_) / s;
  if (transform::perspectiveViewOn()) {
    dashTo(x, y, s);
    return;
  }
  // The clipper hands out the end alone when the start is inside, else the
  // entry and the exit (the latter two in an order of its own).
  std::array<detail::SegmentPoint, 2> cut{};
  int n = 0;
  detail::forEachPoint(cut_, x_, y_, x, y, [&](const detail::SegmentPoint& p) {
    if (n < 2) cut[static_cast<std::size_t>(n++)] = p;
  });
  if (n == 0) {
    skipTo(x, y, s);
    return;
  }
  detail::PlanePoint entry{x_, y_}, exit{cut[0].x, cut[0].y};
  if (n == 2) {
    entry = {cut[0].x, cut[0].y};
    exit = {cut[1].x, cut[1].y};
  }
  double toEntry = distance(x_, y_, entry.x, entry.y), toExit = distance(x_, y_, exit.x, exit.y);
  if (toEntry > toExit) {
    std::swap(entry, exit);
    std::swap(toEntry, toExit);
  }
  if (toEntry > 0.0) skipTo(entry.x, entry.y, toEntry);
  if (exit.x == x && exit.y == y) {
    dashTo(x, y, toEntry > 0.0 ? std::hypot(x - x_, y - y_) : s);
    return;
  }
  dashTo(exit.x, exit.y, std::hypot(exit.x - x_, exit.y - y_));
  skipTo(x, y, static_cast<double>(s) - toExit);
}

void DashStage::dashTo(float x, float y, float s) {
  const Pattern& p = pattern_;
  const float cycle = p.cycle();
  int first = 0;
  while (first < p.runs - 1 && p.endOf(first) < phase_) ++first;

  if (phase_ + s > cycle) {
    for (int k = first; k < p.runs; ++k) emit(k, p.endOf(k) - phase_);
    const float rest = cycle - phase_;
    x_ += rest * dx_;
    y_ += rest * dy_;
    s -= rest;
    phase_ = 0.0F;
    const float wholeCycles = std::trunc(s / cycle);
    if (static_cast<double>(wholeCycles) * p.runs > kMaxDashesPerDraw) {
      next_.drawTo(x, y);
      phase_ = std::fmod(s, cycle);
      x_ = x;
      y_ = y;
      return;
    }
    const long whole = static_cast<long>(wholeCycles);
    for (long c = 0; c < whole; ++c) {
      for (int k = 0; k < p.runs; ++k) emit(k, p.endOf(k));
      x_ += cycle * dx_;
      y_ += cycle * dy_;
      s -= cycle;
    }
    int last = 0;
    while (last < p.runs - 1 && p.endOf(last) < s) ++last;
    for (int k = 0; k < last; ++k) emit(k, p.endOf(k));
    emitAt(last, x, y);
    phase_ = s;
  } else {
    int k = first;
    while (k < p.runs - 1 && p.endOf(k) < phase_ + s) {
      emit(k, p.endOf(k) - phase_);
      ++k;
    }
    emitAt(k, x, y);
    phase_ += s;
  }
  x_ = x;
  y_ = y;
}

}  // namespace pipeline
}  // namespace zep
