// A chart called where its window is still to come from the data (a figure's
// frame not yet placed, or a window nobody set): the layer that places the
// frame keeps the call with what the chart covers, and makes it again once
// the window is set. The chart package cannot call up into that layer, so the
// layer lends it a keeper.
#pragma once

#include <functional>
#include <limits>
#include <vector>

namespace zep::charts {

// What a chart covers along one axis in U, and the values that a margin must
// not cross (a bar's base, a histogram's outer edges).
struct Span {
  double lo = std::numeric_limits<double>::infinity(), hi = -std::numeric_limits<double>::infinity();
  double lowestPositive = std::numeric_limits<double>::infinity();  // for a log axis
  std::vector<double> sticky;
  void add(double v);
  void addSticky(double v) {
    add(v);
    sticky.push_back(v);
  }
};

struct Cover {
  Span x, y;
};

struct Keeper {
  // Whether a chart called now is to be kept.
  bool (*wants)() = nullptr;
  // Takes the chart: what it covers, and the call that draws it later.
  void (*keep)(Cover cover, std::function<void()> draw) = nullptr;
};
void setKeeper(Keeper keeper);

// Whether a chart called now would be kept (for a chart that must make
// something to tell what it covers).
bool keeping();
// Whether the chart about to be drawn is kept instead: `cover` is asked only
// then. The call made later runs with the CH and missing-value settings of now.
bool kept(const std::function<Cover()>& cover, std::function<void()> draw);

}  // namespace zep::charts
