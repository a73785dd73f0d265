// Interpolated lines: how many points the linear and great-circle generators
// hand out, where they lie, and which modes switch them on.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>
#include <zep/zep.hpp>

#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

struct Pt {
  float x;
  float y;
};

// Reads the SG settings into the line state, as every line primitive does.
void startLine(bool linear, bool greatCircle, float rdx, float rdy) {
  zep::sglset("LLNINT", linear);
  zep::sglset("LGCINT", greatCircle);
  zep::sgrset("RDX", rdx);
  zep::sgrset("RDY", rdy);
  zep::szslti(1, 1);
}

std::vector<Pt> linearPoints(float x0, float y0, float x1, float y1, int mode) {
  zep::szpipl(x0, y0, x1, y1, mode);
  std::vector<Pt> out;
  for (bool more = true; more && out.size() < 10000;) {
    Pt p{};
    zep::szgipl(p.x, p.y, more);
    out.push_back(p);
  }
  return out;
}

std::vector<Pt> circlePoints(float x0, float y0, float x1, float y1, int mode) {
  zep::szpipt(x0, y0, x1, y1, mode);
  std::vector<Pt> out;
  for (bool more = true; more && out.size() < 10000;) {
    Pt p{};
    zep::szgipt(p.x, p.y, more);
    out.push_back(p);
  }
  return out;
}

void openSession() {
  zep::workstation::setDriverPort(&zeptest::recordingPort());
  zep::gliset("MSGLEV", 2);
  zep::sgopn(2);
  zep::sgfrm();
  zep::sgswnd(0, 100, 0, 100);
  zep::sgstrf();
}

std::string describe(const std::vector<Pt>& pts) {
  std::string s;
  for (const Pt& p : pts) s += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
  return s;
}

TEST(Interpolation, LinearPiecesAndTheirEnds) {
  ZEP_EXPECT_ISOLATED([]() -> std::string {
    openSession();
    startLine(true, false, 5.0F, 5.0F);
    auto pts = linearPoints(0, 0, 12, 3, 0);
    if (pts.size() != 3) return "12 x 3 in steps of 5: " + describe(pts);
    if (std::fabs(pts[0].x - 4) > 1e-5F || std::fabs(pts[0].y - 1) > 1e-5F) return "first: " + describe(pts);
    if (pts[2].x != 12 || pts[2].y != 3) return "the last point is the end itself: " + describe(pts);
    pts = linearPoints(0, 0, 4.9F, 4.9F, 0);
    if (pts.size() != 1) return "4.9 in steps of 5 is not cut: " + describe(pts);
    // The y step counts too.
    pts = linearPoints(0, 0, 1, 11, 0);
    if (pts.size() != 3) return "1 x 11: " + describe(pts);
    startLine(false, false, 5.0F, 5.0F);
    pts = linearPoints(0, 0, 12, 3, 0);
    if (pts.size() != 1 || pts[0].x != 12) return "off: " + describe(pts);
    return "";
  });
}

// Missing data (not a number) gives no count of pieces: the generators still
// come to the end.
TEST(Interpolation, SegmentWithAMissingEndIsNotCut) {
  ZEP_EXPECT_ISOLATED([]() -> std::string {
    openSession();
    startLine(true, true, 0.1F, 0.1F);
    const float nan = std::nanf("");
    if (const auto pts = linearPoints(0, 0, nan, 1, 0); pts.size() != 1) return "linear: " + describe(pts);
    if (const auto pts = linearPoints(0, nan, 1, 1, 0); pts.size() != 1) return "linear y: " + describe(pts);
    // On the sphere the other coordinate may still set the number of steps.
    if (const auto pts = circlePoints(0, 0, nan, 1, 0); pts.size() > 11 || pts.back().y != 1)
      return "great circle: " + describe(pts);
    if (const auto pts = circlePoints(0, 0, 1, nan, 0); pts.size() > 11 || pts.back().x != 1)
      return "great circle y: " + describe(pts);
    return "";
  });
}

TEST(Interpolation, ModesSwitchTheGeneratorsOnAndOff) {
  ZEP_EXPECT_ISOLATED([]() -> std::string {
    openSession();  // a linear transformation, not a map projection
    startLine(true, true, 0.1F, 0.1F);
    // Mode 2 asks about the map projection only for great circles.
    if (const auto pts = linearPoints(0, 0, 1.25F, 0, 2); pts.size() != 13) return "linear mode 2: " + describe(pts);
    if (const auto pts = circlePoints(0, 0, 1.55F, 0, 0); pts.size() != 16) return "great circle mode 0: " + describe(pts);
    if (const auto pts = circlePoints(0, 0, 1.55F, 0, 2); pts.size() != 1) return "great circle mode 2: " + describe(pts);
    // Mode 1: a segment along a pole is not cut.
    if (const auto pts = circlePoints(0, kPi / 2, 1.55F, kPi / 2, 0); pts.size() != 16) return "pole mode 0: " + describe(pts);
    if (const auto pts = circlePoints(0, kPi / 2, 1.55F, kPi / 2, 1); pts.size() != 1) return "pole: " + describe(pts);
    if (const auto pts = linearPoints(0, kPi / 2, 1.25F, kPi / 2, 1); pts.size() != 1) return "linear pole: " + describe(pts);
    if (const auto pts = linearPoints(0, 1, 1.25F, 1, 1); pts.size() != 13) return "linear mode 1: " + describe(pts);

    // Any other mode: the linear generator is always on, the great-circle one
    // keeps its previous decision.
    startLine(false, false, 5.0F, 5.0F);
    if (const auto pts = linearPoints(0, 0, 12, 0, 5); pts.size() != 3) return "linear mode 5: " + describe(pts);
    startLine(false, true, 0.1F, 0.1F);
    if (const auto pts = circlePoints(0, 0, 1.55F, 0, 0); pts.size() != 16) return "great circle on: " + describe(pts);
    if (const auto pts = circlePoints(0, 0, 1.55F, 0, 5); pts.size() != 16) return "kept on: " + describe(pts);
    startLine(false, false, 0.1F, 0.1F);
    if (const auto pts = circlePoints(0, 0, 1.55F, 0, 0); pts.size() != 1) return "great circle off: " + describe(pts);
    startLine(false, true, 0.1F, 0.1F);
    if (const auto pts = circlePoints(0, 0, 1.55F, 0, 5); pts.size() != 1) return "kept off: " + describe(pts);
    return "";
  });
}

TEST(Interpolation, GreatCirclePaths) {
  ZEP_EXPECT_ISOLATED([]() -> std::string {
    openSession();
    const float step = 5.0F * kPi / 180.0F;
    startLine(false, true, step, step);
    // Along the equator: 19 pieces, every point on the equator.
    auto pts = circlePoints(0, 0, 92.0F * kPi / 180.0F, 0, 0);
    if (pts.size() != 19) return "equator: " + describe(pts);
    for (const Pt& p : pts)
      if (std::fabs(p.y) > 1e-6F) return "off the equator: " + describe(pts);
    // From the North Pole the longitude of the end is held while stepping in latitude.
    pts = circlePoints(0.3F, kPi / 2, 1.0F, 0.2F, 0);
    if (pts.size() < 2) return "from the pole: " + describe(pts);
    for (std::size_t i = 0; i + 1 < pts.size(); ++i)
      if (pts[i].x != 1.0F) return "pole start holds the end's longitude: " + describe(pts);
    // Half way round: over the pole at +90 degrees.
    pts = circlePoints(0, 0.5F, kPi, 0.6F, 0);
    if (pts.size() < 36 || pts.size() > 37) return "over the pole: " + describe(pts);
    for (std::size_t i = 0; i + 1 < pts.size(); ++i)
      if (pts[i].y != kPi / 2) return "over the pole latitude: " + describe(pts);
    // Shorter than one step in both coordinates: not cut.
    pts = circlePoints(0, 0, 0.5F * step, 0.9F * step, 0);
    if (pts.size() != 1) return "short: " + describe(pts);
    return "";
  });
}

}  // namespace
