// The open of a session whose data files are missing: what the report says, and
// what happens when an error callback lets it return; the colormap each open picks.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "support/png_image.hpp"
#include "support/png_page.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
using zeptest::lineRegex;
using zeptest::quoteRegex;

const std::string kCnt = " ***** ERROR (-CNT.-) ***  ";

std::vector<std::string>& heard() {
  static std::vector<std::string> r;
  return r;
}
void hear(std::string_view routine, std::string_view text) {
  heard().push_back(std::string(routine) + ": " + std::string(text));
}

// Draws one line of line index `index` on a PNG page named after `stem`; the
// number of pixels of each colour other than white, or -1 under white when no
// valid page was written.
std::map<unsigned, int> inkOfALine(const std::string& stem, int index) {
  zep::swistx("IFL", 1);
  zep::swcset("FNAME", stem);
  zep::sgopn(2);
  zep::sgfrm();
  zep::sgswnd(0, 1, 0, 1);
  zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
  zep::sgstrn(1);
  zep::sgstrf();
  zep::sgslni(index);
  zep::sglnu(0.1F, 0.5F, 0.9F, 0.5F);
  zep::sgcls();
  const zeptest::Png png(stem + "_0001.png");
  if (!png.ok()) return {{0xFFFFFFu, -1}};
  std::map<unsigned, int> ink;
  for (int y = 0; y < png.height(); ++y)
    for (int x = 0; x < png.width(); ++x)
      if ((png.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu) ++ink[png.pixel(x, y) & 0xFFFFFFu];
  return ink;
}

// The number of non-white pixels of a thin black line's page, or -1.
int inkOfALine(const std::string& stem) {
  const std::map<unsigned, int> ink = inkOfALine(stem, 3);
  int dark = 0;
  for (const auto& [colour, n] : ink) dark += n;
  return dark;
}

// The reports keep their text and name the file and every directory searched.
TEST(SessionOpen, MissingDataFilesNameWhatWasSearched) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        zep::swcmll();  // the list is read once, from the data directory
        zep::swcset("CLRMAP", "nm");
        zep::glcset("DUPATH", "/my/data/");
        zep::glcset("DSPATH", "/nowhere/");
        zep::sgopn(2);
      },
      testing::KilledBySignal(SIGABRT),
      lineRegex(" ***** ERROR (SWDOPN) ***  COLORMAP FILE DOES NOT EXIST.") +
          quoteRegex(kCnt + "FILE nm.psx, nm, nm.x11 (SW CLRMAP) SEARCHED IN:") + " *\n" +
          quoteRegex(kCnt + "THE WORKING DIRECTORY") + " *\n" + quoteRegex(kCnt + "DUPATH /my/data/") + " *\n" +
          quoteRegex(kCnt + "DSPATH /nowhere/"));
  EXPECT_EXIT(
      {
        // The colormap is found in the working directory; the bitmap nowhere.
        zeptest::TempWorkDir dir;
        fs::copy_file(ZEP_BUILD_DATA_DIR "colormap.x11", "colormap.x11");
        zep::swcmll();
        zep::glcset("DSPATH", "/nowhere/");
        zep::swcset("BITMAP", "bm");
        zep::sgopn(1);
      },
      testing::KilledBySignal(SIGABRT),
      lineRegex(" ***** ERROR (SWDOPN) ***  BITMAP FILE DOES NOT EXIST.") +
          quoteRegex(kCnt + "FILE bm.x11, bm, bm.psx (SW BITMAP) SEARCHED IN:") + " *\n" +
          quoteRegex(kCnt + "THE WORKING DIRECTORY") + " *\n" +
          quoteRegex(kCnt + "DUPATH (BLANK: THE WORKING DIRECTORY)") + " *\n" +
          quoteRegex(kCnt + "DSPATH /nowhere/"));
  // A list entry that names nothing says which number picked it.
  EXPECT_EXIT(
      {
        zeptest::TempWorkDir dir;
        std::ofstream("blank-list") << "2\ncolormap 'fine'\n'../x' 'refused'\n";
        zep::swcset("CMAPLIST", "blank-list");
        zep::swiset("ICLRMAP", 2);
        zep::set_msgdmp_err_func(hear);
        zep::swcmll();  // the refused entry reports and stays blank
        zep::set_msgdmp_err_func(nullptr);
        zep::sgopn(2);
      },
      testing::KilledBySignal(SIGABRT),
      lineRegex(" ***** ERROR (SWDOPN) ***  COLORMAP FILE DOES NOT EXIST.") +
          quoteRegex(kCnt + "ICLRMAP = 2 PICKS A BLANK OR MISSING LIST ENTRY.") + " *\n" +
          quoteRegex(kCnt + "SW PARAMETER CLRMAP IS BLANK."));
}

// Under an error callback a blank list entry leaves the session in the
// library's default colours (with a warning) instead of ending the process.
TEST(SessionOpen, ABlankListEntryFallsBackToTheDefaultColormap) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::set_msgdmp_err_func(hear);
    std::ofstream("blank-list") << "2\ncolormap 'fine'\n'../../etc/passwd' 'refused'\n";
    zep::swcset("CMAPLIST", "blank-list");
    zep::swiset("ICLRMAP", 2);
    const int ink = inkOfALine("fallback");
    std::string bad;
    const std::vector<std::string> want = {"SWCMLL: COLORMAP LIST ENTRY CLIMBS OUT OF ITS DIRECTORY.",
                                           "SWDOPN: COLORMAP FILE DOES NOT EXIST."};
    if (heard() != want)
      for (const std::string& r : heard()) bad += "heard [" + r + "]\n";
    if (ink < 400) bad += "no line on the page: " + std::to_string(ink) + "\n";
    // The next open chooses as this one did, and falls back again.
    std::string clrmap(80, ' ');
    zep::swcget("CLRMAP", clrmap);
    if (clrmap.find_first_not_of(' ') == std::string::npos) bad += "CLRMAP was left blank\n";
    heard().clear();
    if (inkOfALine("again") < 400) bad += "no line on the second page\n";
    if (heard() != std::vector<std::string>{"SWDOPN: COLORMAP FILE DOES NOT EXIST."}) bad += "second open differs\n";
    return bad;
  });
}

// Without any colormap or bitmap the driver cannot open: the open stops, the
// session's calls report that nothing is open, and a later session draws.
TEST(SessionOpen, NoDataFileStopsTheOpenCleanly) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::set_msgdmp_err_func(hear);
    std::string bad;
    for (const char* parameter : {"BITMAP", "CLRMAP"}) {
      heard().clear();
      zep::swcset(parameter, "missing");
      if (inkOfALine(std::string("stopped-") + parameter) != -1) bad += std::string(parameter) + ": a page was written\n";
      const std::string first = heard().empty() ? "" : heard().front();
      const std::string want = std::string("SWDOPN: ") + (parameter[0] == 'B' ? "BITMAP" : "COLORMAP") +
                               " FILE DOES NOT EXIST.";
      if (first != want) bad += std::string(parameter) + ": first report [" + first + "]\n";
      bool notOpen = false;
      for (const std::string& r : heard()) notOpen = notOpen || r.find("WORKSTATION IS NOT OPENED.") != std::string::npos;
      if (!notOpen) bad += std::string(parameter) + ": the session's calls did not hear that nothing is open\n";
      zep::swcset(parameter, parameter[0] == 'B' ? "bitmap" : "colormap");
    }
    heard().clear();
    if (inkOfALine("after") < 400) bad += "no line on the page after the stopped opens\n";
    for (const std::string& r : heard()) bad += "after: [" + r + "]\n";
    return bad;
  });
}

// Colour `index` of a colormap file in the build's data directory, as 0xRRGGBB.
unsigned colourOfFile(const std::string& name, int index) {
  std::ifstream in(std::string(ZEP_BUILD_DATA_DIR) + name + ".x11");
  std::string line;
  for (int i = 0; i <= index + 1 && std::getline(in, line); ++i) {
  }
  unsigned r = 0, g = 0, b = 0;
  std::istringstream(line) >> r >> g >> b;
  return (r >> 8) << 16 | (g >> 8) << 8 | b >> 8;
}

// The commonest colour of a page that holds one thick line of colour 20.
unsigned colourOfALine(const std::string& stem) {
  const std::map<unsigned, int> ink = inkOfALine(stem, 209);
  const auto best = std::max_element(ink.begin(), ink.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
  return best == ink.end() ? 0xFFFFFFu : best->first;
}

// Each session opens with the colormap its ICLRMAP names, although the previous
// open wrote its own pick into CLRMAP; a CLRMAP the caller stores wins, even when
// it is the very name an open wrote there.
TEST(SessionOpen, EachSessionPicksItsColormapNumber) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    std::string bad;
    const auto expect = [&bad](const std::string& stem, const std::string& file) {
      const unsigned got = colourOfALine(stem), want = colourOfFile(file, 20);
      char text[120];
      std::snprintf(text, sizeof text, "%s: colour 20 is %06X, %s has %06X\n", stem.c_str(), got, file.c_str(), want);
      if (!zeptest::sameColour(got, want, 1)) bad += text;
    };
    zep::swiset("ICLRMAP", 5);
    expect("first", "colormap_seq");
    zep::swiset("ICLRMAP", 4);
    expect("second", "colormap_bwr");
    zep::swiset("ICLRMAP", 3);
    expect("third", "colormap_grey");
    zep::swcset("CLRMAP", "colormap_grey");  // the name the last open wrote, now stored by the caller
    zep::swiset("ICLRMAP", 5);
    expect("explicit-same", "colormap_grey");
    zep::swcset("CLRMAP", "colormap_bwr");
    expect("explicit", "colormap_bwr");
    expect("explicit-kept", "colormap_bwr");
    // A change by number within a session is a pick from the list too.
    zep::swcset("CLRMAP", "colormap");
    zep::swiset("ICLRMAP", 5);
    zep::swcset("FNAME", "changed");
    zep::sgopn(2);
    zep::sgfrm();
    zep::swiset("ICLRMAP", 4);
    zep::swclch();
    zep::sgcls();
    zep::swiset("ICLRMAP", 3);
    expect("after-change", "colormap_grey");
    return bad;
  });
}

}  // namespace
