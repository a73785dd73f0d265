// Line types: the built-in dash patterns, raw bit patterns and the dash stage
// that holds them.
#include "primitives/dash_stage.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include <zep/zep.hpp>

#include "foundation/parameter_handle.hpp"

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
  p.effective = static_cast<int>(effective);
  p.solid = effective == 0 || effective == mask || p.bitLength <= 0.0F;
  p.runs = 0;
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
}

void DashStage::open() {
  opened_ = true;
  pen_.reset();
  next_.open();
}

void DashStage::moveTo(float x, float y) {
  if (pen_.drops(x, y)) return;
  pen_.reset();
  next_.moveTo(x, y);
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
  } else {
    drawDashed(x, y);
  }
  x_ = x;
  y_ = y;
}

void DashStage::drawDashed(float x, float y) {
  const Pattern& p = pattern_;
  float s = std::hypot(x - x_, y - y_);
  if (s == 0.0F) return;
  dx_ = (x - x_) / s;
  dy_ = (y - y_) / s;
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
    // A pattern far finer than any device resolves would emit without end:
    // past a million cycles in one draw the rest is drawn solid.
    if (wholeCycles > 1.0E6F) {
      next_.drawTo(x, y);
      phase_ = std::fmod(s, cycle);
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
}

}  // namespace pipeline
}  // namespace zep
