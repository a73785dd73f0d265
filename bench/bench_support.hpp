// Shared by the benchmarks: a subject and its baseline run alternately in one
// process, each several times; the medians and their ratio are printed as one
// row that bench/run.sh gathers into a table.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double seconds_since(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  if (n == 0) return 0.0;
  return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

// Repetitions from the environment (BENCH_REPS), at least 5 unless a smoke run
// asks for fewer with BENCH_REPS=1.
inline int repetitions() {
  const char* r = std::getenv("BENCH_REPS");
  const int n = r ? std::atoi(r) : 5;
  return std::max(1, n);
}

// Scales problem sizes down for a quick check (BENCH_SCALE=0.01).
inline long scaled(long n) {
  const char* s = std::getenv("BENCH_SCALE");
  const double f = s ? std::atof(s) : 1.0;
  return std::max(1L, static_cast<long>(static_cast<double>(n) * (f > 0 ? f : 1.0)));
}

// One timed run returns the seconds of the part that is compared.
using Run = std::function<double()>;

struct Result {
  double subject = 0;
  double baseline = 0;
  double ratio() const { return baseline > 0 ? subject / baseline : 0.0; }
};

// Alternates subject and baseline (the order flips every round, so neither
// always runs on a warm cache) and takes the median of each.
inline Result alternate(const Run& subject, const Run& baseline, int reps = repetitions()) {
  std::vector<double> s, b;
  for (int i = 0; i < reps; ++i) {
    if (i % 2 == 0) {
      s.push_back(subject());
      b.push_back(baseline());
    } else {
      b.push_back(baseline());
      s.push_back(subject());
    }
  }
  return {median(s), median(b)};
}

// "ROW|case|subject ms|baseline ms|ratio|baseline name|target" on standard
// output; a target of 0 means none.
inline void row(const std::string& name, const Result& r, const std::string& baseline_name,
                double target = 0.0) {
  std::printf("ROW|%s|%.1f|%.1f|%.2f|%s|%s\n", name.c_str(), 1e3 * r.subject, 1e3 * r.baseline,
              r.ratio(), baseline_name.c_str(),
              target > 0 ? (std::to_string(target).substr(0, 4) + (r.ratio() <= target ? " met" : " missed")).c_str()
                         : "-");
  std::fflush(stdout);
}

// A small deterministic generator, the same points in every run and process.
class Random {
 public:
  explicit Random(unsigned seed) : state_(seed * 2654435761U + 1U) {}
  double next() {  // in [0, 1)
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 4294967296.0;
  }

 private:
  unsigned state_;
};

}  // namespace bench
