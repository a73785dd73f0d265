// Labelled lines: where the gaps fall, upright labels, buffering at bends,
// the parameter checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <string>

#include <zep/zep.hpp>

#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::driverLog;

struct Call {
  char kind;  // 'm' move, 'd' draw
  float x, y;
};

// The line's own moves and draws, in V x, leaving out the strokes of labels.
std::vector<Call> lineCalls(int* labels = nullptr) {
  std::vector<Call> out;
  bool inText = false;
  int count = 0;
  for (const auto& s : driverLog()) {
    if (s.rfind("oopn(SZTX,", 0) == 0) {
      inText = true;
      ++count;
    }
    if (s.rfind("ocls(SZTX)", 0) == 0) inText = false;
    float x = 0, y = 0;
    if (!inText && (std::sscanf(s.c_str(), "gmov(%f,%f)", &x, &y) == 2))
      out.push_back({'m', (x - 125.0F) / 650.0F, y / 650.0F});
    else if (!inText && std::sscanf(s.c_str(), "gplt(%f,%f)", &x, &y) == 2)
      out.push_back({'d', (x - 125.0F) / 650.0F, y / 650.0F});
  }
  if (labels != nullptr) *labels = count;
  return out;
}

std::string compare(const std::vector<Call>& got, const std::vector<Call>& want) {
  std::string s;
  bool same = got.size() == want.size();
  for (std::size_t i = 0; same && i < got.size(); ++i)
    same = got[i].kind == want[i].kind && std::fabs(got[i].x - want[i].x) < 2e-4F && std::fabs(got[i].y - want[i].y) < 2e-4F;
  if (same) return s;
  for (const auto& c : got) s += std::string(1, c.kind) + "(" + std::to_string(c.x) + "," + std::to_string(c.y) + ") ";
  return "got " + s;
}

TEST(LineLabels, GapsFallAtRegularIntervals) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    // Fixed-width glyphs: four characters are four heights wide. With the
    // defaults and a height of 0.005: stretch 0.15, gap 0.025, first gap after
    // 0.075 of line.
    zep::sglset("LFPROP", false);
    zep::sglset("LCHAR", true);
    zep::szschz("1000", 0.005F);
    zep::sgslni(1);
    driverLog().clear();
    zep::sglnv(0.1F, 0.5F, 0.6F, 0.5F);
    int labels = 0;
    const auto got = lineCalls(&labels);
    if (labels != 3) return "labels: " + std::to_string(labels);
    return compare(got, {{'m', 0.1F, 0.5F}, {'d', 0.175F, 0.5F}, {'m', 0.2F, 0.5F}, {'d', 0.35F, 0.5F},
                         {'m', 0.375F, 0.5F}, {'d', 0.525F, 0.5F}, {'m', 0.55F, 0.5F}, {'d', 0.6F, 0.5F}});
  });
}

TEST(LineLabels, RightToLeftLabelsStayUpright) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::sglset("LCHAR", true);
    zep::szschz("AB", 0.01F);
    zep::sgrset("CWL", 5.0F);
    driverLog().clear();
    zep::sglnv(0.9F, 0.5F, 0.1F, 0.5F);
    // The label's strokes: an upright "A" has its apex above its feet, so the
    // highest stroke point lies above the line.
    float top = -1e9F;
    bool inText = false;
    for (const auto& s : driverLog()) {
      if (s.rfind("oopn(SZTX,", 0) == 0) inText = true;
      if (s.rfind("ocls(SZTX)", 0) == 0) inText = false;
      float x = 0, y = 0;
      if (inText && (std::sscanf(s.c_str(), "gmov(%f,%f)", &x, &y) == 2 || std::sscanf(s.c_str(), "gplt(%f,%f)", &x, &y) == 2))
        top = std::max(top, y);
    }
    return top > 325.0F + 2.0F ? std::string() : "label not upright, top " + std::to_string(top);
  });
}

TEST(LineLabels, SharpBendDropsTheLabelAndDrawsThrough) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::sglset("LFPROP", false);
    zep::sglset("LCHAR", true);
    zep::szschz("1000", 0.005F);
    zep::szlnop(1);  // the line primitive reads LCHAR
    zep::szoplc();
    zep::szmvlc(0.1F, 0.5F);
    zep::szpllc(0.18F, 0.5F);   // into the gap (it starts at 0.175)
    zep::szpllc(0.18F, 0.51F);  // turn back: the gap's chord is far shorter than the label
    zep::szpllc(0.1F, 0.51F);
    zep::szcllc();
    zep::szlncl();
    int labels = 0;
    const auto got = lineCalls(&labels);
    if (labels != 0) return std::string("label placed across a bend");
    return compare(got, {{'m', 0.1F, 0.5F}, {'d', 0.175F, 0.5F}, {'d', 0.18F, 0.5F}, {'d', 0.18F, 0.51F},
                         {'d', 0.1F, 0.51F}});
  });
}

std::string labelErrors;
void recordLabelError(std::string_view routine, std::string_view text) {
  labelErrors += std::string(routine) + ": " + std::string(text) + "\n";
}

// The label cycle scales with the label height: a height of zero or less must
// not leave the stage walking along the line for ever.
TEST(LineLabels, LabelWithoutPositiveHeightLeavesThePlainLine) {
  ZEP_EXPECT_ISOLATED([]() -> std::string {
    zeptest::openRecordedSession();
    zep::set_msgdmp_err_func(&recordLabelError);
    zep::sglset("LCHAR", true);
    zep::sglset("LCURV", false);
    for (const float height : {0.0F, -0.01F}) {
      zep::szschz("1000", height);
      driverLog().clear();
      zep::sglnv(0.1F, 0.5F, 0.6F, 0.5F);
      int labels = 0;
      const std::string diff = compare(lineCalls(&labels), {{'m', 0.1F, 0.5F}, {'d', 0.6F, 0.5F}});
      if (labels != 0 || !diff.empty()) return "height " + std::to_string(height) + ": " + diff;
    }
    return labelErrors == "SZOPLC: TEXT HEIGHT IS LESS THAN ZERO.\n" ? std::string() : "errors: " + labelErrors;
  });
}

// A point that is not a number (a missing value in the data) has no arc
// position; the labelled line must still come to an end.
TEST(LineLabels, MissingPointEndsTheWalk) {
  ZEP_EXPECT_ISOLATED([]() -> std::string {
    zeptest::openRecordedSession();
    zep::sglset("LFPROP", false);
    zep::sglset("LCHAR", true);
    zep::szschz("1000", 0.005F);
    zep::szlnop(1);
    zep::szoplc();
    zep::szmvlc(0.1F, 0.5F);
    zep::szpllc(std::nanf(""), 0.5F);
    zep::szpllc(0.2F, 0.5F);
    zep::szmvlc(0.1F, 0.4F);
    zep::szpllc(0.6F, 0.4F);  // labelled as usual after the next move
    zep::szcllc();
    zep::szlncl();
    int labels = 0;
    lineCalls(&labels);
    return labels == 3 ? std::string() : "labels: " + std::to_string(labels);
  });
}

TEST(LineLabels, ParametersAndTextAreChecked) {
  EXPECT_EXIT(
      {
        float h = 0;
        std::string t(8, ' ');
        zep::szqchz(t, h);
      },
      testing::KilledBySignal(SIGABRT), zeptest::lineRegex(" ***** ERROR (SZQCHZ) ***  TEXT HAS NOT BEEN SET YET."));
  const std::pair<const char*, const char*> cases[] = {
      {"FWC", "PARAMETER 'FWC' IS LESS THAN 1."},
      {"CWL", "PARAMETER 'CWL' IS LESS THAN 0."},
      {"FFCT", "PARAMETER 'FFCT' IS NOT IN THE RANGE OF (0,1)."},
      {"RBUFF", "PARAMETER 'RBUFF' IS NOT IN THE RANGE OF (0,1)."},
      {"RCURV", "PARAMETER 'RCURV' IS NOT IN THE RANGE OF (0,FWC)."}};
  for (const auto& [name, text] : cases)
    EXPECT_EXIT(
        {
          zeptest::openRecordedSession();
          zep::sglset("LCHAR", true);
          zep::szschz("X", 0.01F);
          zep::sgrset(name, 0.0F);
          zep::sglnv(0.1F, 0.1F, 0.2F, 0.2F);
        },
        testing::KilledBySignal(SIGABRT), zeptest::lineRegex(std::string(" ***** ERROR (SZOPLC) ***  ") + text));
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        zep::sglset("LCHAR", true);
        zep::szschz("X", 0.01F);
        zep::sgiset("NBUFF", 401);
        zep::sglnv(0.1F, 0.1F, 0.2F, 0.2F);
      },
      testing::KilledBySignal(SIGABRT),
      zeptest::lineRegex(" ***** ERROR (SZOPLC) ***  PARAMETER 'NBUFF' IS NOT IN THE RANGE OF (1,MAXTMP)."));
  // Text and height come back as set; after szcrst lines are plain again.
  zep::szschz("ABC   ", 0.02F);
  std::string t(5, '?');
  float h = 0;
  zep::szqchz(t, h);
  EXPECT_EQ(t, "ABC  ");
  EXPECT_FLOAT_EQ(h, 0.02F);
}

TEST(LineLabels, LabelsInsideASegmentTheViewportClipperCuts) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    // A segment from far left to far right of a clipped viewport: the V stage's
    // clipper hands out the entry and exit points, and the labels placed in
    // between clip their own strokes to the same viewport on the way.
    zep::sgsvpt(0.2F, 0.79F, 0.2F, 0.8F);
    zep::sgstrf();
    zep::sglset("LCLIP", true);
    zep::sglset("LFPROP", false);
    zep::sglset("LCHAR", true);
    zep::szschz("1000", 0.005F);
    driverLog().clear();
    zep::sglnv(-0.5F, 0.5F, 1.5F, 0.5F);
    int labels = 0;
    const auto got = lineCalls(&labels);
    if (labels != 3) return "labels: " + std::to_string(labels);
    std::string failure = compare(got, {{'m', 0.2F, 0.5F}, {'d', 0.275F, 0.5F}, {'m', 0.3F, 0.5F}, {'d', 0.45F, 0.5F},
                                        {'m', 0.475F, 0.5F}, {'d', 0.625F, 0.5F}, {'m', 0.65F, 0.5F}, {'d', 0.79F, 0.5F}});
    // Every stroke of the labels inside its gap.
    bool inText = false;
    int strokes = 0;
    for (const auto& c : driverLog()) {
      if (c.rfind("oopn(SZTX,", 0) == 0) inText = true;
      if (c.rfind("ocls(SZTX)", 0) == 0) inText = false;
      float x = 0, y = 0;
      if (!inText || (std::sscanf(c.c_str(), "gmov(%f,%f)", &x, &y) != 2 && std::sscanf(c.c_str(), "gplt(%f,%f)", &x, &y) != 2))
        continue;
      ++strokes;
      const float vx = (x - 125.0F) / 650.0F;
      const bool inGap = (vx > 0.274F && vx < 0.301F) || (vx > 0.449F && vx < 0.476F) || (vx > 0.624F && vx < 0.651F);
      if (!inGap) failure += "label stroke outside the gaps at " + std::to_string(vx) + "\n";
    }
    if (strokes < 30) failure += "label strokes: " + std::to_string(strokes) + "\n";
    return failure;
  });
}

// A minus turned along a line is one more short stroke in line with it: it must
// stand farther from the dashes than they stand from each other, and clearly
// off the end of a solid line, or "-20" reads as "20". Type 2 is 0.036 drawn,
// 0.012 skipped (BITLEN 0.003); with CWL 7.2 and height 0.01 the first gap
// opens where the first dash ends. Before, the minus stood 0.005 off either.
TEST(LineLabels, ALeadingMinusStandsClearOfTheLine) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::sglset("LFPROP", false);
    zep::sglset("LCHAR", true);
    zep::sgrset("CWL", 7.2F);
    std::string failure;
    struct Case {
      int type;
      float least;  // clearance of the label from the line's ink
      const char* text;
    };
    const char* minus = "\xE2\x88\x92" "20";
    for (const Case& k : {Case{2, 0.012F, "-20"}, Case{2, 0.012F, minus}, Case{1, 0.0075F, "-20"}, Case{1, 0.0075F, minus}}) {
      const int type = k.type;
      const float least = k.least;
      const char* text = k.text;
      zep::szschz(text, 0.01F);
      zep::sgsplt(type);
      driverLog().clear();
      const float x[] = {0.1F, 0.5F}, y[] = {0.5F, 0.5F};
      zep::sgplv(2, x, y);
      // The first label's strokes, and the line's ink on either side of them.
      float left = 1e9F, right = -1e9F, before = -1e9F, after = 1e9F, px = 0;
      int labels = 0;
      bool inText = false;
      for (const auto& c : driverLog()) {
        if (c.rfind("oopn(SZTX,", 0) == 0) inText = ++labels > 0;
        if (c.rfind("ocls(SZTX)", 0) == 0) inText = false;
        float wx = 0, wy = 0;
        const bool move = std::sscanf(c.c_str(), "gmov(%f,%f)", &wx, &wy) == 2;
        if (!move && std::sscanf(c.c_str(), "gplt(%f,%f)", &wx, &wy) != 2) continue;
        const float vx = (wx - 125.0F) / 650.0F;
        if (inText) {
          if (labels == 1) left = std::min(left, vx), right = std::max(right, vx);
          continue;
        }
        if (!move && labels == 0) before = std::max(before, vx);
        if (!move && labels == 1) after = std::min(after, px);
        px = vx;
      }
      if (!(left - before > least) || !(after - right > least))
        failure += "type " + std::to_string(type) + ", " + text + ": ink ends " + std::to_string(left - before) +
                   " before the label and starts " + std::to_string(after - right) + " after it\n";
    }
    return failure;
  });
}

}  // namespace
