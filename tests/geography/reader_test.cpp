// Reading the database: a small file of known content read back exactly,
// corrupted files refused with the reason, missing data reported with the
// places searched, each file read once per process, the resolution and the
// smallest feature chosen from the map's scale, and the reports of bad settings.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "geography/ge_database.hpp"
#include "support/gshhg_files.hpp"
#include "support/page_pixels.hpp"
#include "support/png_image.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
using zep::geography::Dataset;
using zep::geography::Kind;
using zeptest::ShoreFile;

// What readDataset says about a file written from `file`.
std::string problemOf(const ShoreFile& file) {
  zeptest::TempWorkDir dir;
  if (!file.write("shore.nc")) return "NOT WRITTEN";
  Dataset d;
  std::string problem;
  return zep::geography::readDataset("shore.nc", Kind::Shore, d, problem) ? "" : problem;
}

TEST(GeographyReader, SmallFileReadsBackAsOneSquareIsland) {
  zeptest::TempWorkDir dir;
  ASSERT_TRUE(ShoreFile().write("shore.nc"));
  Dataset d;
  std::string problem;
  ASSERT_TRUE(zep::geography::readDataset("shore.nc", Kind::Shore, d, problem)) << problem;
  ASSERT_EQ(d.lines.size(), 1U);
  const auto& l = d.lines[0];
  EXPECT_TRUE(l.closed);
  EXPECT_EQ(l.level, 1);
  // Bin 81 is 180..200 E, 10 S..10 N; the corners sit at 16384/65535 and 49152/65535 of it.
  ASSERT_EQ(l.lon.size(), 4U);
  const double lo = 16384.0 / 65535 * 20, hi = 49152.0 / 65535 * 20;
  EXPECT_NEAR(l.lon[0], 180 + lo, 1e-4);
  EXPECT_NEAR(l.lon[1], 180 + hi, 1e-4);
  EXPECT_NEAR(l.lat[0], -10 + lo, 1e-4);
  EXPECT_NEAR(l.lat[2], -10 + hi, 1e-4);
}

TEST(GeographyReader, CorruptedFilesAreRefusedWithTheReason) {
  const std::vector<std::pair<std::function<void(ShoreFile&)>, std::string>> cases = {
      {[](ShoreFile& f) { f.leaveOut = {"Relative_latitude_from_SW_corner_of_bin"}; },
       "VARIABLE Relative_latitude_from_SW_corner_of_bin IS MISSING"},
      {[](ShoreFile& f) { f.firstSegment[ShoreFile::kIslandBin] = 5; }, "BIN 81 NAMES SEGMENTS 5 TO 5 OF 1"},
      {[](ShoreFile& f) { f.segmentsInBin[ShoreFile::kIslandBin] = -3; }, "BIN 81 NAMES SEGMENTS 0 TO -4 OF 1"},
      {[](ShoreFile& f) { f.firstPoint[0] = 2; }, "SEGMENT 0 NAMES POINTS 2 TO 5 OF 4"},
      {[](ShoreFile& f) { f.firstPoint[0] = -1; }, "SEGMENT 0 NAMES POINTS -1 TO 2 OF 4"},
      {[](ShoreFile& f) { f.packed[0] = (9 << 9) | (1 << 6) | (4 << 3) | 4; }, "SEGMENT 0 NAMES POINTS 0 TO 8 OF 4"},
      {[](ShoreFile& f) { f.packed[0] = (4 << 9) | (7 << 6) | (4 << 3) | 4; }, "SEGMENT 0 HAS LEVEL 7 OR SIDES 4,4 OUT OF RANGE"},
      {[](ShoreFile& f) { f.packed[0] = (4 << 9) | (1 << 6) | (6 << 3) | 4; }, "SEGMENT 0 HAS LEVEL 1 OR SIDES 4,6 OUT OF RANGE"},
      {[](ShoreFile& f) { f.polygonOf[0] = 3; }, "SEGMENT 0 NAMES POLYGON 3 OF 1"},
      {[](ShoreFile& f) { f.antFlag[0] = 9; }, "SEGMENT 0 HAS ANTARCTIC FLAG 9"},
      {[](ShoreFile& f) { f.binMinutes = 700; }, "BIN SIZE OF 700 MINUTES DOES NOT DIVIDE THE GLOBE"},
      {[](ShoreFile& f) { f.nx = 17; }, "BIN COUNTS DO NOT FIT A BIN SIZE OF 1200 MINUTES"},
      {[](ShoreFile& f) { f.nPoints = 5; }, "VARIABLE Relative_longitude_from_SW_corner_of_bin HAS 4 VALUES, NOT 5"},
      {[](ShoreFile& f) { f.nPoints = 1 << 30; }, "SEGMENT OR POINT COUNT IS OUT OF RANGE"},
  };
  for (const auto& [corrupt, expected] : cases) {
    ShoreFile f;
    corrupt(f);
    EXPECT_EQ(problemOf(f), expected);
  }
  // Not netCDF at all, and a good file cut short.
  zeptest::TempWorkDir dir;
  std::ofstream("text.nc") << "binned shoreline\n";
  ASSERT_TRUE(ShoreFile().write("cut.nc"));
  fs::resize_file("cut.nc", fs::file_size("cut.nc") / 2);
  for (const char* name : {"text.nc", "cut.nc"}) {
    Dataset d;
    std::string problem;
    EXPECT_FALSE(zep::geography::readDataset(name, Kind::Shore, d, problem));
    EXPECT_EQ(problem.rfind("IT IS NOT A READABLE NETCDF FILE (", 0), 0U) << problem;
    EXPECT_TRUE(d.lines.empty());
  }
}

// Reports caught by an error callback (the program goes on without the layer).
std::vector<std::string>& reports() {
  static std::vector<std::string> r;
  return r;
}
void catchReport(std::string_view routine, std::string_view text) {
  reports().push_back(std::string(routine) + ": " + std::string(text));
}

void globalMap(int itr = 12, float simfac = 0.17F) {
  zep::sgsvpt(0.02F, 0.98F, 0.02F, 0.98F);
  zep::sgssim(simfac, 0, 0);
  zep::sgsmpl(0, 90, 0);
  zep::sgstxy(-180, 180, -90, 90);
  zep::sgstrn(itr);
  zep::sgstrf();
}

TEST(GeographyReader, MissingAndRefusedDataAreReportedOnceAndTheLayerLeftOut) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::set_msgdmp_err_func(&catchReport);
    zeptest::openRecordedSession();
    globalMap();
    zep::gecset("DSDIR", "/nonexistent/a: /nonexistent/b");
    zep::gecset("CRES", "l");
    zep::gebkgd();
    zep::gebkgd();  // reported once
    const std::string missing =
        "GEBKGD: GEOGRAPHY FILE binned_GSHHS_l.nc IS NOT IN THE DIRECTORIES GE DSDIR NAMES (/nonexistent/a, "
        "/nonexistent/b): INSTALL THE DEBIAN PACKAGE gmt-gshhg-low OR SET GE_DSDIR.";
    if (reports() != std::vector<std::string>{missing}) return "reports: " + (reports().empty() ? "none" : reports()[0]);
    // A corrupt file where it is looked for: refused, named, not read again.
    ShoreFile bad;
    bad.firstPoint[0] = 2;
    if (!bad.write("binned_GSHHS_c.nc")) return std::string("not written");
    zep::gecset("DSDIR", dir.path().string());
    zep::gecset("CRES", "c");
    zep::gecost();
    zep::gecost();
    const std::string refused = "GECOST: GEOGRAPHY FILE " + (dir.path() / "binned_GSHHS_c.nc").string() +
                                " IS REFUSED: SEGMENT 0 NAMES POINTS 2 TO 5 OF 4.";
    if (reports().size() != 2 || reports()[1] != refused) return "reports: " + reports().back();
    if (zep::geography::filesRead() != 1) return "files read: " + std::to_string(zep::geography::filesRead());
    // The missing file is looked for again where the directories now point.
    zep::gecset("DSDIR", "/usr/share/gmt-gshhg");
    zep::gecset("CRES", "l");
    zep::gecost();
    if (reports().size() != 2 || zep::geography::filesRead() != 2) return std::string("low file not found later");
    return std::string();
  });
}

TEST(GeographyReader, MissingDataEndsTheProgramWithoutACallback) {
  EXPECT_EXIT(
      {
        zeptest::openRecordedSession();
        globalMap();
        zep::gecset("DSDIR", "/nonexistent");
        zep::gebrdr();
      },
      testing::KilledBySignal(SIGABRT), "GEBRDR");
}

TEST(GeographyReader, BadSettingsAndTransformationsAreReported) {
  ZEP_EXPECT_ISOLATED([] {
    zep::set_msgdmp_err_func(&catchReport);
    zeptest::openRecordedSession();
    zep::sgswnd(0, 1, 0, 1);
    zep::sgsvpt(0, 1, 0, 1);
    zep::sgstrn(1);
    zep::sgstrf();
    zep::gebkgd();
    globalMap();
    zep::gecset("CRES", "x");
    zep::gecost();
    zep::gecset("CRES", "AUTO");
    zep::gecset("BORDER", "1-x");
    zep::gebrdr();
    zep::gecset("RIVER", "5-2");
    zep::gervrs();
    const std::vector<std::string> expected = {
        "GEBKGD: TRANSFORMATION IS NOT A MAP PROJECTION.",
        "GECOST: GE RESOLUTION <x> IS NOT AUTO, C, L, I, H OR F.",
        "GEBRDR: GE BORDER <1-x> IS NOT A LIST OF LEVELS SUCH AS 1-2,4.",
        "GERVRS: GE RIVER <5-2> IS NOT A LIST OF LEVELS SUCH AS 1-2,4.",
    };
    if (reports() != expected) {
      std::string all;
      for (const std::string& r : reports()) all += r + " | ";
      return "reports: " + all;
    }
    if (zep::geography::filesRead() != 0) return std::string("a file was read");
    return std::string();
  });
}

TEST(GeographyReader, EachFileIsReadOncePerProcess) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    globalMap();
    zep::gecset("CRES", "l");
    zep::gebkgd();
    zep::gecost();
    zep::geland();
    if (zep::geography::filesRead() != 1) return "after one resolution: " + std::to_string(zep::geography::filesRead());
    zep::gecset("CRES", "c");
    zep::gebkgd();
    zep::gecset("CRES", "l");
    zep::gebkgd();
    zep::gebrdr();
    if (zep::geography::filesRead() != 3) return "after switching: " + std::to_string(zep::geography::filesRead());
    // The low database (shores and borders) stays small.
    const auto* shore = zep::geography::dataset(Kind::Shore, 'l', "TEST");
    if (shore == nullptr || shore->bytes() > 20u << 20) return std::string("low database too big");
    return std::string();
  });
}

TEST(GeographyReader, ResolutionAndSmallestFeatureFollowTheMapScale) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    std::string failure;
    const auto resolution = [] {
      char c[2] = {' ', ' '};
      zep::geqres(c);
      return c[0];
    };
    globalMap(12, 0.17F);  // the globe across a page: 360 degrees in about 0.9 V
    if (resolution() != 'l') failure += std::string("global map: ") + resolution() + "; ";
    float area = 0;
    zep::geqamn(area);
    if (area < 1000 || area > 10000) failure += "global smallest feature " + std::to_string(area) + "; ";
    globalMap(12, 0.01F);  // a thumbnail
    if (resolution() != 'c') failure += std::string("thumbnail: ") + resolution() + "; ";
    globalMap(12, 2.0F);  // some 30 degrees across
    if (resolution() != 'i') failure += std::string("regional map: ") + resolution() + "; ";
    globalMap(12, 200.0F);  // a fraction of a degree: the finest installed
    const char finest = zep::geography::available(Kind::Shore, 'f') ? 'f' : zep::geography::available(Kind::Shore, 'h') ? 'h' : 'i';
    if (resolution() != finest) failure += std::string("local map: ") + resolution() + "; ";
    zep::gerset("AREAMN", 50);
    zep::geqamn(area);
    if (area != 50) failure += "set smallest feature " + std::to_string(area);
    return failure;
  });
}

TEST(GeographyReader, SmallestFeatureAreaHidesSmallIslands) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::gliset("MSGLEV", 2);
    zep::swiset("IFL", 1);
    zep::geiset("ITPLND", 4999);
    zep::gelset("LCOAST", false);
    zep::gecset("CRES", "l");
    zep::sgopn(2);
    // Hawaii: the Big Island is some 10 400 km2, the rest of the chain smaller.
    for (float minArea : {0.0F, 20000.0F}) {
      zep::sgfrm();
      const float d = 3.14159265F / 180;
      zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
      zep::sgscwd(-161 * d, -154 * d, 16 * d, 23 * d);  // 161-154 W, 16-23 N
      zep::sgsmpl(0, 90, 0);
      zep::sgstxy(-180, 180, -90, 90);
      zep::sgstrn(10);
      zep::sgstrf();
      zep::gerset("AREAMN", minArea);
      zep::gebkgd();
    }
    zep::sgcls();
    const zeptest::Png all(dir.path() / "zep_0001.png"), none(dir.path() / "zep_0002.png");
    const std::uint32_t green = zeptest::colourOf(4);
    const int shown = zeptest::countPixels(all, green, 0, 0, all.width(), all.height());
    const int hidden = zeptest::countPixels(none, green, 0, 0, none.width(), none.height());
    if (shown < 1000 || hidden != 0) return "islands: " + std::to_string(shown) + " and " + std::to_string(hidden) + " pixels";
    return std::string();
  });
}

TEST(GeographyReader, BordersAndRiversAreStrokedWithTheirOwnIndex) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    globalMap();
    zep::gecset("CRES", "l");
    std::string failure;
    for (const auto& [draw, colour] : std::vector<std::pair<void (*)(), int>>{{&zep::gebrdr, 2}, {&zep::gervrs, 3}}) {
      zep::geiset("INDEXB", 21);
      zeptest::driverLog().clear();
      draw();
      int strokes = 0, colourSet = 0;
      for (const std::string& s : zeptest::driverLog()) {
        strokes += s.rfind("gplt", 0) == 0;
        colourSet += s == "scli(" + std::to_string(colour) + ")";
      }
      if (strokes < 1000 || colourSet == 0)
        failure += std::to_string(strokes) + " points, colour " + std::to_string(colour) + " set " + std::to_string(colourSet) + "; ";
    }
    return failure;
  });
}

}  // namespace
