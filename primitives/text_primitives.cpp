// Text primitives: the user-level text attributes, their checks, and the
// bracket (sztxop ... sztxcl) that prepares the text engine's state.
#include <cmath>
#include <cstdio>
#include <string>

#include <zep/zep.hpp>

#include "primitives/line_pipeline.hpp"
#include "primitives/text_markup.hpp"
#include "primitives/text_state.hpp"

namespace zep {
namespace text_engine {

TextState& textState() {
  static TextState state;
  return state;
}

}  // namespace text_engine

namespace {

struct UserAttributes {
  float height = 0.05F;
  int angle = 0;
  int centring = 0;
  int index = 1;
} user;

// Fortran-style fixed fields: right-justified, stars when the value does not fit.
std::string fixedField(const char* format, double value, int width) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, width, value);
  std::string s(buf);
  return static_cast<int>(s.size()) > width ? std::string(static_cast<std::size_t>(width), '*') : s;
}

std::string integerField(int value, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%*d", width, value);
  std::string s(buf);
  return static_cast<int>(s.size()) > width ? std::string(static_cast<std::size_t>(width), '*') : s;
}

// Exact at multiples of 90 degrees, so that upright and turned text keep their
// strokes exactly horizontal and vertical.
void rotatedScale(int degrees, float scale, float& c, float& s) {
  switch (imod(degrees, 360)) {
    case 0: c = scale; s = 0; return;
    case 90: c = 0; s = scale; return;
    case 180: c = -scale; s = 0; return;
    case 270: c = 0; s = -scale; return;
    default: {
      const float a = rd2r(static_cast<float>(degrees));
      c = std::cos(a) * scale;
      s = std::sin(a) * scale;
    }
  }
}

// The checks every drawing routine makes before it opens the primitive; false
// when nothing is to be drawn.
bool drawable(std::string_view routine, float height, int centring, int index) {
  if (height == 0.0F) {
    msgdmp("M", routine, "TEXT HEIGHT IS 0 / DO NOTHING.");
    return false;
  }
  if (height < 0.0F) {
    msgdmp("E", routine, "TEXT HEIGHT IS LESS THAN ZERO.");
    return false;
  }
  if (centring < -1 || centring > 1) {
    msgdmp("E", routine, "CENTERING OPTION IS INVALID.");
    return false;
  }
  if (index == 0) {
    msgdmp("M", routine, "TEXT INDEX IS 0 / DO NOTHING.");
    return false;
  }
  if (index < 0) {
    msgdmp("E", routine, "TEXT INDEX IS LESS THAN 0.");
    return false;
  }
  return true;
}

template <void (*Draw)(float, float, std::string_view)>
void drawText(std::string_view routine, float x, float y, std::string_view text, float height, int angle,
              int centring, int index) {
  if (!drawable(routine, height, centring, index)) return;
  sztxop(height, angle, centring, index);
  Draw(x, y, text);
  sztxcl();
}

}  // namespace

void sgtxu(float ux, float uy, std::string_view text) {
  drawText<sztxzu>("SGTXU", ux, uy, text, user.height, user.angle, user.centring, user.index);
}
void sgtxv(float vx, float vy, std::string_view text) {
  drawText<sztxzv>("SGTXV", vx, vy, text, user.height, user.angle, user.centring, user.index);
}
void sgtxr(float rx, float ry, std::string_view text) {
  drawText<sztxzr>("SGTXR", rx, ry, text, user.height, user.angle, user.centring, user.index);
}
void sgtxzv(float vx, float vy, std::string_view text, float height, int angle, int centring, int index) {
  drawText<sztxzv>("SGTXZV", vx, vy, text, height, angle, centring, index);
}
void sgtxzr(float rx, float ry, std::string_view text, float height, int angle, int centring, int index) {
  drawText<sztxzr>("SGTXZR", rx, ry, text, height, angle, centring, index);
}

void sgstxs(float height) { user.height = height; }
void sgqtxs(float& height) { height = user.height; }
void sgstxr(int angle) { user.angle = angle; }
void sgqtxr(int& angle) { angle = user.angle; }
void sgstxc(int centring) { user.centring = centring; }
void sgqtxc(int& centring) { centring = user.centring; }
void sgstxi(int index) { user.index = index; }
void sgqtxi(int& index) { index = user.index; }

void sztxop(float height, int angle, int centring, int index) {
  text_engine::TextState& s = text_engine::textState();
  sgiget("IFONT", s.font);
  s.height = height;
  s.scale = height / 24.0F;
  s.angleDegrees = angle;
  s.angle = rd2r(static_cast<float>(angle));
  rotatedScale(angle, s.scale, s.cosScaled, s.sinScaled);
  s.centring = centring;
  s.index = index;
  const text_engine::TextControls controls = text_engine::readTextControls();
  s.controlChars = controls.enabled;
  s.superscript = controls.superscript;
  s.subscript = controls.subscript;
  s.reset = controls.reset;
  s.small = controls.small;
  s.shift = controls.shift;
  bool clip = false;
  sglget("LCLIP", clip);
  pipeline::lineState().clipText = clip;
  sgiget("IWS", s.workstation);

  szqidx(s.savedLineIndex);
  szsidx(index);

  std::string description = fixedField("%*.5f", height, 8) + integerField(angle, 8) + integerField(centring, 8) +
                            integerField(index, 8) + integerField(s.font, 8) + integerField(s.workstation, 8);
  description.resize(80, ' ');
  cdblk(description);
  swoopn("SZTX", description);
}

void sztxcl() {
  szsidx(text_engine::textState().savedLineIndex);
  swocls("SZTX");
}

void sztxzu(float ux, float uy, std::string_view text) {
  float vx = 0, vy = 0;
  stftrf(ux, uy, vx, vy);
  sztxwv(vx, vy, text);
}

void sztxzv(float vx, float vy, std::string_view text) { sztxwv(vx, vy, text); }

// R-level text stands outside the viewport and the perspective view: neither
// clips nor maps it. The workstation window still clips its strokes.
void sztxzr(float rx, float ry, std::string_view text) {
  bool clip = false;
  sglget("LCLIP", clip);
  sglset("LCLIP", false);
  pipeline::lineState().clipText = false;
  stepr2();
  sztxwv(rx, ry, text);
  sglset("LCLIP", clip);
  pipeline::lineState().clipText = clip;
  strpr2();
}

}  // namespace zep
