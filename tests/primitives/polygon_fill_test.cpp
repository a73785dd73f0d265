// Filled polygons seen from the workstation: the calls one fill makes, the
// rings it hands over, the tone attribute and the reports on bad arguments.
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include <sys/mman.h>

#include "support/memory_limit.hpp"
#include "support/message_file.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::driverLog;
using zeptest::expectLines;
using zeptest::lastTone;
using zeptest::lineRegex;

TEST(PolygonFill, OneFillIsOneToneOfAllItsRings) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    int tone = 0;
    zep::sgqtnp(tone);
    if (tone != 1999) return "initial tone " + std::to_string(tone);
    zep::sgswnd(0, 10, 0, 10);
    zep::sgstrf();
    // Two rings (a square and a triangle) separated by a missing point.
    zep::gllset("LMISS", true);
    const float x[] = {0, 10, 10, 0, 999, 2, 4, 3};
    const float y[] = {0, 0, 10, 10, 999, 2, 2, 4};
    zep::sgstnp(5999);
    zep::sgtnu(8, x, y);
    std::string failure = expectLines(driverLog(), {"oopn(SZTN,5999)", "gtnm(2,5999)", "ocls(SZTN)"});
    if (!failure.empty()) return failure;
    // The frame is the square 650 x 650 from x = 125 on the 900 x 650 workstation.
    const auto& rings = lastTone().rings;
    if (rings.size() != 2 || rings[0].size() != 4 || rings[1].size() != 3) return std::string("ring sizes");
    const auto near = [](std::array<float, 2> p, float x, float y) { return std::abs(p[0] - x) < 0.01F && std::abs(p[1] - y) < 0.01F; };
    if (!near(rings[0][1], 775, 0) || !near(rings[1][2], 125 + 195, 260)) return std::string("ring points");

    // The one-call form takes its tone and leaves the current one alone; a
    // missing point at the start or end, or two in a row, makes no empty ring.
    driverLog().clear();
    const float x2[] = {999, 0.1F, 0.2F, 0.2F, 999, 999, 0.5F, 0.6F, 0.6F, 999};
    const float y2[] = {999, 0.1F, 0.1F, 0.2F, 999, 999, 0.5F, 0.5F, 0.6F, 999};
    zep::sgtnzv(10, x2, y2, 1234);
    zep::sgqtnp(tone);
    if (tone != 5999) return std::string("the one-call fill changed the tone");
    failure = expectLines(driverLog(), {"oopn(SZTN,1234)", "gtnm(2,1234)", "ocls(SZTN)"});
    if (!failure.empty()) return failure;
    // Rings of fewer than three points enclose nothing and are left out.
    driverLog().clear();
    const float x3[] = {0.1F, 0.2F, 999, 0.3F, 0.4F, 0.4F};
    const float y3[] = {0.1F, 0.2F, 999, 0.3F, 0.3F, 0.4F};
    zep::sgtnzv(6, x3, y3, 1999);
    if (lastTone().rings.size() != 1) return std::string("a two-point ring was filled");
    // A polygon entirely off the window reaches the workstation as nothing.
    driverLog().clear();
    const float x4[] = {2, 3, 3}, y4[] = {2, 2, 3};
    zep::sgtnr(3, x4, y4);
    return expectLines(driverLog(), {"oopn(SZTN,5999)", "ocls(SZTN)"});
  });
}

TEST(PolygonFill, ClippedToTheViewportAndTheWindow) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::sgsvpt(0.2F, 0.8F, 0.2F, 0.8F);
    zep::sgswnd(0, 1, 0, 1);
    zep::sgstrf();
    // A triangle with one corner far off: with LCLIP its part in the viewport,
    // without it its part in the workstation window; every point on or inside.
    const float x[] = {0.5F, 30, 0.5F}, y[] = {0.5F, 0.5F, 0.9F};
    for (bool clip : {true, false}) {
      zep::sglset("LCLIP", clip);
      zep::sgtnu(3, x, y);
      const float xmax = clip ? 125 + 0.8F * 650 : 775, ymax = clip ? 0.8F * 650 : 650;
      for (const auto& p : lastTone().rings.at(0))
        if (p[0] < 125 + 0.5F * 650 - 0.01F || p[0] > xmax + 0.01F || p[1] > ymax + 0.01F)
          return "point off the " + std::string(clip ? "viewport: " : "window: ") + std::to_string(p[0]) + ", " +
                 std::to_string(p[1]);
    }
    return std::string();
  });
}

TEST(PolygonFill, NothingToFillIsAMessageAndNegativeValuesAreErrors) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zeptest::openRecordedSession();
    zeptest::MessageFile messages(dir.path() / "m.txt");
    zep::gliset("MSGLEV", 0);
    const float x[] = {0, 1, 1}, y[] = {0, 0, 1};
    zep::sgtnu(0, x, y);
    zep::sgtnv(1, x, y);
    zep::sgtnr(2, x, y);
    zep::sgtnzu(3, x, y, 0);
    zep::sgstnp(0);
    zep::sgtnv(3, x, y);
    if (!driverLog().empty()) return std::string("something was drawn");
    return expectLines(messages.lines(), {" *** MESSAGE (SGTNV ) ***  NUMBER OF POINTS IS LESS THAN 3 / DO NOTHING.",
                                          " *** MESSAGE (SGTNR ) ***  NUMBER OF POINTS IS LESS THAN 3 / DO NOTHING.",
                                          " *** MESSAGE (SGTNZU) ***  TONE PATTERN NUMBER IS 0 / DO NOTHING.",
                                          " *** MESSAGE (SGTNV ) ***  TONE PATTERN NUMBER IS 0 / DO NOTHING."});
  });
  const float x[] = {0, 1, 1}, y[] = {0, 0, 1};
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        zep::sgtnu(-1, x, y);
      },
      testing::KilledBySignal(SIGABRT), lineRegex(" ***** ERROR (SGTNU ) ***  NUMBER OF POINTS IS LESS THAN 0."));
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        zep::sgtnzr(3, x, y, -1999);
      },
      testing::KilledBySignal(SIGABRT), lineRegex(" ***** ERROR (SGTNZR) ***  TONE PATTERN NUMBER IS LESS THAN 0."));
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        zep::sgstnp(-5);
        zep::sgtnv(3, x, y);
      },
      testing::KilledBySignal(SIGABRT), lineRegex(" ***** ERROR (SGTNV ) ***  TONE PATTERN NUMBER IS LESS THAN 0."));
  // The workstation's ring entry needs an open workstation, like its other drawing entries.
  const int counts[] = {3};
  EXPECT_EXIT(zep::swgtnm(1, counts, x, y, 1999), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SWGTNM) ***  WORKSTATION IS NOT OPENED."));
}

// With an error callback the reports return: the routine then draws nothing.
std::vector<std::string> reports;
void remember(std::string_view routine, std::string_view text) {
  reports.push_back(std::string(routine) + ": " + std::string(text));
}

TEST(PolygonFill, AfterAReturningErrorNothingIsDrawn) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::set_msgdmp_err_func(&remember);
    const float x[] = {0, 1, 1}, y[] = {0, 0, 1};
    zep::sgtnu(-3, x, y);
    zep::sgtnzv(3, x, y, -1);
    if (!driverLog().empty()) return std::string("something was drawn");
    return expectLines(reports, {"SGTNU: NUMBER OF POINTS IS LESS THAN 0.", "SGTNZV: TONE PATTERN NUMBER IS LESS THAN 0."});
  });
}

TEST(PolygonFill, MapPolygonsReachTheWorkstationCutAtTheSeam) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::sgssim(0.15F, 0, 0);
    zep::sgstrn(10);
    zep::sgstrf();
    // Across the date line: two rings, one against each edge of the map.
    const float lon[] = {170, -170, -170, 170}, lat[] = {-10, -10, 10, 10};
    zep::sgtnu(4, lon, lat);
    const auto& rings = lastTone().rings;
    if (rings.size() != 2) return "rings: " + std::to_string(rings.size());
    const float centre = 125 + 325, halfWidth = 0.15F * 3.14159265F * 650;
    int atLeft = 0, atRight = 0;
    for (const auto& ring : rings)
      for (const auto& p : ring) {
        if (std::abs(p[0] - (centre - halfWidth)) < 0.01F) ++atLeft;
        if (std::abs(p[0] - (centre + halfWidth)) < 0.01F) ++atRight;
        if (std::abs(p[0] - centre) < halfWidth * 160 / 180) return std::string("a point away from the date line");
      }
    return atLeft >= 2 && atRight >= 2 ? std::string() : std::string("not cut at the edges of the map");
  });
}

TEST(PolygonFill, APolygonTooLargeForMemoryIsReported) {
#if ZEP_TEST_SANITIZE
  GTEST_SKIP() << "the sanitizers' allocator answers a failed allocation itself";
#endif
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        zep::gliset("NLNSIZE", 120);
        // 10^9 points that cost no memory: pages of zeros mapped before the limit.
        const std::size_t n = 1000000000;
        const std::size_t bytes = n * sizeof(float);
        void* zeros = mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (zeros == MAP_FAILED) std::_Exit(7);
        zeptest::limitAddressSpace(std::size_t{256} << 20);
        const float* p = static_cast<const float*>(zeros);
        zep::sgtnv(static_cast<int>(n), p, p);
      },
      testing::KilledBySignal(SIGABRT),
      lineRegex(" ***** ERROR (SGTNV ) ***  OUT OF MEMORY FOR 1000000000 POLYGON POINTS (16000000000 BYTES)."));
  // Where no buffer is checked (markers copy their points), the session still
  // reports running out of memory and completes the page, never
  // "terminate called ... std::bad_alloc".
  zeptest::TempWorkDir dir;
  EXPECT_EXIT(
      {
        zep::swiset("IFL", 4);
        zep::sgopn(2);
        zep::sgfrm();
        zep::sgfrm();
        zep::sglnv(0.1F, 0.1F, 0.9F, 0.9F);
        const std::size_t n = 1000000000;
        void* zeros = mmap(nullptr, n * sizeof(float), PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (zeros == MAP_FAILED) std::_Exit(7);
        zeptest::limitAddressSpace(std::size_t{256} << 20);
        const float* p = static_cast<const float*>(zeros);
        // As in a program: nothing between the library and std::terminate catches.
        [&]() noexcept { zep::sgpmv(static_cast<int>(n), p, p); }();
      },
      testing::KilledBySignal(SIGABRT),
      lineRegex(" ***** ERROR (SWOOPN) ***  OUT OF MEMORY: AN ALLOCATION FAILED."));
  EXPECT_NE(zeptest::runCommand("pdfinfo zep.pdf 2>&1").find("Pages:           2\n"), std::string::npos);
}

}  // namespace
