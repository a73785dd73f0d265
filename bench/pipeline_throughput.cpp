// What the line pipeline costs on top of the driver: the same segments drawn
// once through sglnu (user coordinates, every stage, the dispatcher) and once
// straight into the driver's polyline calls, on the same PNG page. Prints both
// times and their ratio; both are measured in this run.
//
//   bench_pipeline_throughput [segments]     (default 200000)
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <zep/zep.hpp>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// A wave of n segments across the frame, in user coordinates [0, 1] x [-1, 1].
void segmentEnds(int i, int n, float& x0, float& y0, float& x1, float& y1) {
  const float dx = 1.0F / static_cast<float>(n);
  x0 = dx * static_cast<float>(i);
  x1 = x0 + dx;
  y0 = std::sin(40.0F * x0);
  y1 = std::sin(40.0F * x1);
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200000;
  zep::gliset("MSGLEV", 2);
  zep::swiset("IFL", 1);
  zep::sgopn(2);
  zep::sgfrm();
  zep::sgswnd(0, 1, -1, 1);
  zep::sgstrf();
  zep::sgslni(1);

  // Through the whole pipeline: one line primitive per segment.
  auto start = Clock::now();
  for (int i = 0; i < n; ++i) {
    float x0, y0, x1, y1;
    segmentEnds(i, n, x0, y0, x1, y1);
    zep::sglnu(x0, y0, x1, y1);
  }
  const double pipeline = seconds(start);

  // Baseline: the same segments mapped by hand and handed to the driver.
  float wx0, wx1, wy0, wy1, rx0, rx1, ry0, ry1;
  int itr = 0;
  zep::stqwtr(rx0, rx1, ry0, ry1, wx0, wx1, wy0, wy1, itr);
  start = Clock::now();
  for (int i = 0; i < n; ++i) {
    float x0, y0, x1, y1;
    segmentEnds(i, n, x0, y0, x1, y1);
    zep::zggopn();
    zep::zggmov(wx0 + (wx1 - wx0) * x0, wy0 + (wy1 - wy0) * (y0 + 1) / 2);
    zep::zggplt(wx0 + (wx1 - wx0) * x1, wy0 + (wy1 - wy0) * (y1 + 1) / 2);
    zep::zggcls();
  }
  const double driver = seconds(start);
  zep::sgcls();

  std::printf("segments          %d\n", n);
  std::printf("driver only       %.3f s\n", driver);
  std::printf("through pipeline  %.3f s\n", pipeline);
  std::printf("ratio             %.2f\n", pipeline / driver);
  return 0;
}
