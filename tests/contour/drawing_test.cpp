// Drawing contours: labels on the chosen levels, dashed negative levels, and
// the caller's label settings left as they were.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>
#include <zep/zep.hpp>

#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::driverLog;

// A cone around the middle of the unit window, from -0.35 to 0.35.
std::vector<float> cone(int n) {
  std::vector<float> z;
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      const float x = static_cast<float>(i) / static_cast<float>(n - 1) - 0.5F;
      const float y = static_cast<float>(j) / static_cast<float>(n - 1) - 0.5F;
      z.push_back(std::hypot(x, y) - 0.35F);
    }
  return z;
}

// Texts that reached the system-font entry, in order.
std::vector<std::string> drawnTexts() {
  std::vector<std::string> out;
  for (const std::string& s : driverLog()) {
    if (s.rfind("txt(", 0) != 0) continue;
    std::size_t p = 0;
    for (int comma = 0; comma < 3; ++comma) p = s.find(',', p) + 1;
    out.push_back(s.substr(p, s.find(',', p) - p));
  }
  return out;
}

TEST(ContourDrawing, LabelsSitOnTheChosenLevelsOnly) {
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        zep::swlset("SYSFONT", true);
        zep::sgrset("CWL", 8.0F);
        const std::vector<float> z = cone(41);
        zep::cnsfld(41, 41, z.data(), nullptr, nullptr);
        zep::cnslvi(0.1F, 0.0F);  // -0.3 .. 0.3; labelled: -0.2, 0.0, 0.2
        driverLog().clear();
        zep::cnlinu();
        const std::vector<std::string> texts = drawnTexts();
        std::set<std::string> seen(texts.begin(), texts.end());
        bool lchar = true;
        zep::sglget("LCHAR", lchar);
        std::string problem;
        if (seen != std::set<std::string>{"-0.2", "0.0", "0.2"}) {
          problem += "labels:";
          for (const std::string& t : seen) problem += " " + t;
        }
        if (lchar) problem += " LCHAR left on";
        // Labelling off draws the same lines without a text.
        zep::cnlset("LLABEL", false);
        zep::cnslvi(0.1F, 0.0F);
        driverLog().clear();
        zep::cnlinu();
        if (!drawnTexts().empty()) problem += " labels with LLABEL off";
        std::fputs(problem.c_str(), stderr);
        std::exit(problem.empty() ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST(ContourDrawing, NegativeLevelsAreDashedAndIndexZeroDrawsNothing) {
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        zep::cnlset("LLABEL", false);
        const std::vector<float> z = cone(41);
        zep::cnsfld(41, 41, z.data(), nullptr, nullptr);
        const float one[] = {-0.2F};
        const float other[] = {0.1F};
        auto moves = [] {
          int m = 0;
          for (const std::string& s : driverLog()) m += s.rfind("gmov", 0) == 0;
          return m;
        };
        std::string problem;
        zep::cnslvl(1, one);
        driverLog().clear();
        zep::cnlinu();
        const int dashedMoves = moves();
        zep::cnslvl(1, other);
        driverLog().clear();
        zep::cnlinu();
        const int solidMoves = moves();
        // A dashed circle is many pieces; a solid one a single stroke.
        if (solidMoves != 1 || dashedMoves < 10)
          problem += "moves " + std::to_string(solidMoves) + " / " + std::to_string(dashedMoves);
        zep::cnslat(1, 0, 1, false);
        driverLog().clear();
        zep::cnlinu();
        if (moves() != 0) problem += " index 0 drew";
        std::fputs(problem.c_str(), stderr);
        std::exit(problem.empty() ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
