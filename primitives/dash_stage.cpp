// Line types: the built-in dash patterns, raw bit patterns and the dash stage.
#include <array>
#include <cmath>
#include <cstdint>

#include <zep/zep.hpp>

#include "primitives/dash_stage.hpp"

namespace zep {
namespace {

constexpr int kMaxRuns = 32;

struct DashPattern {
  int type = 1;
  int effective = 0;
  bool solid = true;
  float bitLength = 0.003F;
  int move = 1;
  int runs = 0;
  std::array<float, kMaxRuns> end{};  // cumulative end of each run, V units
  std::array<bool, kMaxRuns> pen{};   // draw (true) or skip
  float cycle() const { return end[static_cast<std::size_t>(runs - 1)]; }
} dash;

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

void szstyp(int itype) {
  dash.type = itype;
  szstyz(itype >= 1 && itype <= 4 ? builtInPattern(itype) : itype);
}

void szqtyp(int& itype) { itype = dash.type; }

void szstyz(int pattern) {
  int nbits = 16;
  sgrget("BITLEN", dash.bitLength);
  sgiget("MOVE", dash.move);
  sgiget("NBITS", nbits);
  // The pattern is one 32-bit word: more bits than that do not exist.
  const int bits = std::min(nbits, 32);
  std::uint32_t mask = 0;
  for (int i = 0; i < bits; ++i) mask = (mask << 1) | 1U;
  const std::uint32_t effective = static_cast<std::uint32_t>(pattern) & mask;
  dash.effective = static_cast<int>(effective);
  dash.solid = effective == 0 || effective == mask || dash.bitLength <= 0.0F;
  dash.runs = 0;
  if (dash.solid) return;
  for (int bit = bits - 1; bit >= 0; --bit) {
    const bool on = ((effective >> bit) & 1U) != 0;
    if (dash.runs == 0 || dash.pen[static_cast<std::size_t>(dash.runs - 1)] != on) {
      dash.end[static_cast<std::size_t>(dash.runs)] = dash.runs == 0 ? 0.0F : dash.end[static_cast<std::size_t>(dash.runs - 1)];
      dash.pen[static_cast<std::size_t>(dash.runs)] = on;
      ++dash.runs;
    }
    dash.end[static_cast<std::size_t>(dash.runs - 1)] += dash.bitLength;
  }
}

void szqtyz(int& pattern) { pattern = dash.effective; }

namespace pipeline {

void DashStage::open() {
  opened_ = true;
  next_.open();
}

void DashStage::moveTo(float x, float y) {
  next_.moveTo(x, y);
  if (!dash.solid) {
    if (opened_) {
      phase_ = 0.0F;
      opened_ = false;
    } else if (dash.move == 1) {
      phase_ = std::fmod(phase_ + std::hypot(x - x_, y - y_), dash.cycle());
    } else if (dash.move == -1) {
      phase_ = 0.0F;
    }
  }
  x_ = x;
  y_ = y;
}

void DashStage::emit(int run, float e) { emitAt(run, x_ + e * dx_, y_ + e * dy_); }

void DashStage::emitAt(int run, float x, float y) {
  dash.pen[static_cast<std::size_t>(run)] ? next_.drawTo(x, y) : next_.moveTo(x, y);
}

void DashStage::drawTo(float x, float y) {
  if (dash.solid) {
    next_.drawTo(x, y);
    x_ = x;
    y_ = y;
    return;
  }
  float s = std::hypot(x - x_, y - y_);
  if (s == 0.0F) return;
  dx_ = (x - x_) / s;
  dy_ = (y - y_) / s;
  const float cycle = dash.cycle();
  int first = 0;
  while (first < dash.runs - 1 && dash.end[static_cast<std::size_t>(first)] < phase_) ++first;

  if (phase_ + s > cycle) {
    for (int k = first; k < dash.runs; ++k) emit(k, dash.end[static_cast<std::size_t>(k)] - phase_);
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
      x_ = x;
      y_ = y;
      return;
    }
    const long whole = static_cast<long>(wholeCycles);
    for (long c = 0; c < whole; ++c) {
      for (int k = 0; k < dash.runs; ++k) emit(k, dash.end[static_cast<std::size_t>(k)]);
      x_ += cycle * dx_;
      y_ += cycle * dy_;
      s -= cycle;
    }
    int last = 0;
    while (last < dash.runs - 1 && dash.end[static_cast<std::size_t>(last)] < s) ++last;
    for (int k = 0; k < last; ++k) emit(k, dash.end[static_cast<std::size_t>(k)]);
    emitAt(last, x, y);
    phase_ = s;
  } else {
    int k = first;
    while (k < dash.runs - 1 && dash.end[static_cast<std::size_t>(k)] < phase_ + s) {
      emit(k, dash.end[static_cast<std::size_t>(k)] - phase_);
      ++k;
    }
    emitAt(k, x, y);
    phase_ += s;
  }
  x_ = x;
  y_ = y;
}

void DashStage::close() { next_.close(); }

}  // namespace pipeline
}  // namespace zep
