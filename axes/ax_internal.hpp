// Shared pieces of the axis package: tick choice and labels as plain values, the
// drawing helpers every frame uses, and the state of the last map labels.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <zep/axes.hpp>

namespace zep::axes {

// The current value of an AX parameter.
inline int axInt(std::string_view name) {
  int v = 0;
  axiget(name, v);
  return v;
}
inline float axReal(std::string_view name) {
  float v = 0;
  axrget(name, v);
  return v;
}
inline bool axLogical(std::string_view name) {
  bool v = false;
  axlget(name, v);
  return v;
}

// Ticks of one axis in U, in window order, with the labels of the major ticks
// (backslash markup; empty for an unlabelled tick) and the common factor text.
struct Ticks {
  std::vector<double> major;
  std::vector<double> minor;
  std::vector<std::string> labels;
  std::string factor;  // "x10\^{k}" (with the multiply sign) or empty
  int exponent = 0;    // k of the factor
};

// 1, 2 or 5 x 10^k for [lo, hi] aiming at `target` ticks; minor intervals per major.
double niceStep(double lo, double hi, int target, int& minorIntervals);
// Decimals that a label of a multiple of `step` needs (0 to 9).
int labelDecimals(double step);
// A number with `decimals` decimals, without a negative zero.
std::string formatNumber(double value, int decimals);

// Linear axis: `step` 0 chooses one, `minorIntervals` -1 chooses, 0 gives none.
// `target` major ticks wanted, `maxLength` the label length beyond which a common
// factor is taken, `times` the multiply sign of the factor.
Ticks linearTicks(double u0, double u1, double step, int minorIntervals, int target, int maxLength,
                  const std::string& times);
// Logarithmic axis over [u0, u1] (both of one sign): decades labelled 10^k,
// minor ticks at 2..9, labels also at 2 and 5 when fewer than two decades.
Ticks logTicks(double u0, double u1, int target);
// Time axis: U counts `unit` ('D' days, 'H' hours, 'S' seconds) from 0 h of the date.
Ticks timeTicks(double u0, double u1, int iy, int im, int id, char unit, int target);

// Degrees as a longitude ("30\^{o}E") or latitude ("45\^{o}S") label; `degree` is the degree sign.
std::string longitudeLabel(double lon, const std::string& degree);
std::string latitudeLabel(double lat, const std::string& degree);
// A nice graticule step in degrees for a span of `span` degrees.
double graticuleStep(double span, int target);

// The ticks and labels a rectangular frame's side (0 B, 1 T, 2 L, 3 R) draws
// for the current window and transformation.
Ticks ticksOf(int side);
// The number of major ticks aimed at on a side in place of AX NTICK (0: NTICK),
// for a layer that chooses it from the frame's size; cleared by axinit.
void setTickTarget(int side, int target);
// Whether the caller chose AX NTICK (stored it, or a runtime source set it):
// then the number is his, not the frame's size's.
bool tickTargetChosen();

// AX text parameter without trailing blanks.
std::string textParameter(std::string_view name);

// Drawing helpers. Polylines at the U or V level ('U', 'V') with a line index and type.
void polyline(char level, const std::vector<float>& x, const std::vector<float>& y, int index, int itype);
// Text in V with markup; height in V, angle in degrees, centring -1/0/1; never
// clipped, never fatal; `routine` names it in warnings (a text off the page).
void text(float vx, float vy, std::string_view s, float height, int angle, int centring, int index,
          std::string_view routine = "AXPFRM");
// Width of a text with markup in V for a height.
float textWidth(std::string_view s, float height);

// Clipping to the viewport (SG LCLIP) switched on or off for the life of the object.
class ViewportClip {
 public:
  explicit ViewportClip(bool on = true);
  ~ViewportClip();
  ViewportClip(const ViewportClip&) = delete;
  ViewportClip& operator=(const ViewportClip&) = delete;

 private:
  bool previous_ = false;
};

struct LabelBox {
  float x0, x1, y0, y1;
  std::string text;
};
// Labels placed by the last map frame.
std::vector<LabelBox>& mapLabels();

}  // namespace zep::axes
