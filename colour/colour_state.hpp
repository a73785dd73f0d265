// State of the colour package: the colormaps, the current one, the
// normalisation and the colour bar's title. One instance per process.
#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zep::colour {

// A colormap: a lookup table of N colours, or segments interpolated linearly
// (a user map; a CPT file's segments may jump between neighbours).
struct Colormap {
  struct Segment {
    double t0, t1;
    std::uint32_t c0, c1;
  };
  std::vector<std::uint32_t> table;
  std::vector<Segment> segments;
  int under = -1, over = -1;  // -1: the end colours
  // Colour at t in [0, 1].
  std::uint32_t at(double t) const;
};

enum class NormKind { Linear, Log, Centred, Discrete };

struct Norm {
  NormKind kind = NormKind::Linear;
  // As given (NaN: from the data) and in use (NaN until known); initially
  // linear between the data's bounds.
  double vmin = std::numeric_limits<double>::quiet_NaN(), vcentre = 0,
         vmax = std::numeric_limits<double>::quiet_NaN();
  double lo = vmin, hi = vmax;
  std::vector<double> bounds;              // discrete
};

struct State {
  std::map<std::string, Colormap> user;  // by upper-case name
  std::string current = "VIRIDIS";       // upper case, "_R" kept
  Norm norm;
  std::string title, units;
  State();
};

State& state();

// The map called `name` (upper case, "_R" taken off into `reversed`); null when unknown.
const Colormap* findMap(std::string_view name, bool& reversed);
// Colour at t of the current map (t clamped); reversal applied.
std::uint32_t mapColour(double t);
// Under and over colours in force (parameters, then the map's own, then the ends).
std::uint32_t underColour();
std::uint32_t overColour();
// Position of a value (NaN when missing or unknown).
double position(double value);
// Colour of a position: under, over, or on the map; -1 for NaN.
int colourAt(double t);
// Fills the bounds still to come from data from these values.
void resolveBounds(int n, const float* values);
bool boundsKnown();
// Whether a value is missing (NaN, or RMISS while LMISS is on).
bool isMissing(float v);
// Fills rings in full colour at level U (true) or V (false).
void fillFull(bool user, int n, const float* x, const float* y, std::uint32_t rgb);
// Title and units as one text ("TITLE [UNITS]"), empty when none.
std::string barTitle();

}  // namespace zep::colour
