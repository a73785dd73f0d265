// Shared pieces of the chart package: missing values, logarithmic axes and the
// checks every routine makes on its arrays.
#pragma once

#include <string_view>
#include <vector>

namespace zep::charts {

// Whether a value is missing: NaN or infinite, or GL RMISS while GL LMISS is on.
class Missing {
 public:
  Missing();
  bool operator()(float v) const;

 private:
  bool on_ = false;
  float rmiss_ = 0;
};

// The logarithmic axes of the current transformation and the window ends nearest
// zero, where a value at or beyond zero is drawn instead.
struct Axes {
  Axes();
  bool logX = false, logY = false;
  float floorX = 0, floorY = 0;
  // A value that the axis can show: beyond zero on a log axis becomes the floor.
  float x(float v) const { return logX && !(v * floorX > 0) ? floorX : v; }
  float y(float v) const { return logY && !(v * floorY > 0) ? floorY : v; }
};

// "E" reports for a negative count or a missing array; true when the call can go on.
bool validCount(std::string_view routine, int n);
bool present(std::string_view routine, const void* array, std::string_view what);
// A line index that draws: 0 quietly draws nothing, below 0 is an error.
bool drawingIndex(std::string_view routine, int index);

// A copy of n values (none for a null array), for a chart drawn later.
template <class T> std::vector<T> copyOf(const T* a, long long n) {
  return a == nullptr || n <= 0 ? std::vector<T>() : std::vector<T>(a, a + n);
}
// A copy's data, null for no array.
template <class T> const T* dataOf(const std::vector<T>& v) { return v.empty() ? nullptr : v.data(); }

// One bar: along the position axis from a0 to a1, along the value axis from b0
// to b1; vertical ('V') or horizontal ('H'); filled with itpat, outlined with index.
void bar(char dir, const Axes& axes, float a0, float a1, float b0, float b1, int itpat, int index);

}  // namespace zep::charts
