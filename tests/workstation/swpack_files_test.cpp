// What a session leaves in its files when it ends early or cannot write them,
// and the workstation settings refused at open.
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <cstdlib>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "support/png_image.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
using zeptest::lineRegex;
using zeptest::TempWorkDir;

// Runs the broken session in `dir` and returns everything it wrote on
// standard error, and its exit status.
std::string runSession(const TempWorkDir& dir, const std::string& args, int& status) {
  return zeptest::runCommand("cd '" + dir.path().string() + "' && GL_MSGLEV=0 " + ZEP_HELPER_zep_broken_session +
                                 " " + args + " 2>&1",
                             &status);
}

int pdfPages(const fs::path& p) {
  const std::string info = zeptest::runCommand("pdfinfo '" + p.string() + "' 2>&1");
  const std::size_t at = info.find("Pages:");
  if (at == std::string::npos) return -1;
  return std::atoi(info.c_str() + at + 6);
}

// Reports are cut into lines of 78 characters (after a blank); this joins them
// again where a line runs to its last column.
std::string unwrapped(const std::string& out) {
  std::string joined, line;
  bool full = false;  // the previous line runs to its last column
  for (std::size_t from = 0; from < out.size();) {
    std::size_t to = out.find('\n', from);
    if (to == std::string::npos) to = out.size();
    line = out.substr(from, to - from);
    if (full && !line.empty() && line[0] == ' ')
      joined += line.substr(1);
    else
      joined += (joined.empty() ? "" : "\n") + line;
    full = line.size() == 79 && line.back() != ' ';
    from = to + 1;
  }
  return joined;
}

// True when one line of the output, without its trailing blanks, is `line`.
bool hasLine(const std::string& out, const std::string& line) {
  const std::string all = unwrapped(out);
  for (std::size_t from = 0; from <= all.size();) {
    std::size_t to = all.find('\n', from);
    if (to == std::string::npos) to = all.size();
    std::string_view got(all.data() + from, to - from);
    while (!got.empty() && got.back() == ' ') got.remove_suffix(1);
    if (got == line) return true;
    from = to + 1;
  }
  return false;
}

// Non-white pixels of page `page` of a PDF, rendered small.
int inkOnPdfPage(const fs::path& pdf, int page) {
  const std::string p = std::to_string(page);
  zeptest::runCommand("pdftoppm -r 20 -png -f " + p + " -l " + p + " -singlefile '" + pdf.string() + "' page 2>&1");
  const zeptest::Png png("page.png");
  if (!png.ok()) return -1;
  int n = 0;
  for (int y = 0; y < png.height(); ++y)
    for (int x = 0; x < png.width(); ++x)
      if ((png.pixel(x, y) & 0xffffffu) != 0xffffffu) ++n;
  return n;
}

const char* kWindowError = " ***** ERROR (SGSTRF) ***  WINDOW DEFINITION IS INVALID.";

TEST(SessionFiles, AnErrorKeepsThePagesWrittenSoFar) {
  {  // one PDF file: pages 1 and 2 complete, page 3 as far as it was drawn
    TempWorkDir dir;
    int status = 0;
    const std::string out = runSession(dir, "3 -SW_IFL=4", status);
    EXPECT_NE(status, 0) << out;
    EXPECT_TRUE(hasLine(out, kWindowError)) << out;
    EXPECT_TRUE(hasLine(out, " ***** ERROR (-CNT.-) ***  PAGE 3 IS INCOMPLETE; KEPT AS DRAWN IN zep.pdf.")) << out;
    EXPECT_EQ(pdfPages(dir.path() / "zep.pdf"), 3) << out;
    EXPECT_GT(inkOnPdfPage(dir.path() / "zep.pdf", 3), 0) << "the diagonal of page 3 is lost";
  }
  {  // one PDF file per page
    TempWorkDir dir;
    int status = 0;
    const std::string out = runSession(dir, "3 -SW_IFL=4 -SW_LSEP=T", status);
    EXPECT_TRUE(hasLine(out, " ***** ERROR (-CNT.-) ***  PAGE 3 IS INCOMPLETE; KEPT AS DRAWN IN zep_0003.pdf.")) << out;
    for (const char* f : {"zep_0001.pdf", "zep_0002.pdf", "zep_0003.pdf"}) EXPECT_EQ(pdfPages(f), 1) << f;
    EXPECT_FALSE(fs::exists("zep_0004.pdf"));
  }
  {  // PNG pages: the page in progress is written too
    TempWorkDir dir;
    int status = 0;
    const std::string out = runSession(dir, "3 -SW_IFL=1", status);
    EXPECT_TRUE(hasLine(out, " ***** ERROR (-CNT.-) ***  PAGE 3 IS INCOMPLETE; KEPT AS DRAWN IN zep_0003.png.")) << out;
    for (const char* f : {"zep_0001.png", "zep_0002.png", "zep_0003.png"}) EXPECT_TRUE(zeptest::isPng(f)) << f;
  }
  {  // SVG and EPS: the file of the page in progress is finished
    TempWorkDir dir;
    int status = 0;
    std::string out = runSession(dir, "2 -SW_IFL=3", status);
    EXPECT_TRUE(hasLine(out, " ***** ERROR (-CNT.-) ***  PAGE 2 IS INCOMPLETE; KEPT AS DRAWN IN zep_0002.svg.")) << out;
    EXPECT_NE(zeptest::readFile("zep_0002.svg").find("</svg>"), std::string::npos);
    out = runSession(dir, "1 -SW_IFL=2", status);
    EXPECT_NE(zeptest::readFile("zep_0001.eps").find("%%EOF"), std::string::npos) << out;
  }
  {  // an error between sessions' pages marks nothing as incomplete
    TempWorkDir dir;
    int status = 0;
    const std::string out = runSession(dir, "0 -SW_IFL=4", status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(out.find("-CNT.-"), std::string::npos) << out;
    EXPECT_EQ(pdfPages(dir.path() / "zep.pdf"), 4);
  }
}

TEST(SessionFiles, FilesThatCannotBeWrittenAreErrors) {
  {  // no such directory: the single PDF file cannot even be created
    TempWorkDir dir;
    int status = 0;
    const std::string out = runSession(dir, "0 -SW_FNAME=out/myplot", status);
    EXPECT_NE(status, 0) << out;
    EXPECT_TRUE(hasLine(out, " ***** ERROR (SWDOPN) ***  CANNOT WRITE out/myplot.pdf (NO SUCH FILE OR DIRECTORY)."))
        << out;
    EXPECT_EQ(out.find("COMPLETED"), std::string::npos) << out;
  }
  // A full disk shows only when the file is written or finished.
  for (const char* format : {"1", "2", "3"}) {
    TempWorkDir dir;
    const std::string suffix = std::string(format) == "1" ? "png" : std::string(format) == "2" ? "eps" : "svg";
    fs::create_symlink("/dev/full", "zep_0001." + suffix);
    int status = 0;
    const std::string out = runSession(dir, std::string("0 -SW_IFL=") + format, status);
    EXPECT_NE(status, 0) << out;
    EXPECT_TRUE(hasLine(out, " ***** ERROR (SWPCLS) ***  CANNOT WRITE zep_0001." + suffix +
                                 " (NO SPACE LEFT ON DEVICE).")) << out;
    EXPECT_EQ(out.find("PAGE =   1 COMPLETED"), std::string::npos) << out;
  }
  {
    TempWorkDir dir;
    fs::create_symlink("/dev/full", "zep.pdf");
    int status = 0;
    const std::string out = runSession(dir, "0", status);
    EXPECT_NE(status, 0) << out;
    EXPECT_NE(unwrapped(out).find("CANNOT WRITE zep.pdf (NO SPACE LEFT ON DEVICE)."), std::string::npos) << out;
    EXPECT_EQ(out.find("TERMINATED"), std::string::npos) << out;
  }
}

std::vector<std::string> reports;
void rememberReport(std::string_view routine, std::string_view text) {
  reports.push_back(std::string(routine) + ": " + std::string(text));
}

TEST(SessionFiles, AnErrorCallbackHearsOfEveryUnwritablePage) {
  ZEP_EXPECT_ISOLATED([] {
    TempWorkDir dir;
    zep::set_msgdmp_err_func(&rememberReport);
    zep::gliset("MSGLEV", 2);
    zep::swiset("IFL", 1);
    zep::swcset("FNAME", "out/x");
    zep::sgopn(2);
    zep::sgfrm();
    zep::sgfrm();
    zep::sgcls();
    const std::vector<std::string> want = {"SWPCLS: CANNOT WRITE out/x_0001.png (NO SUCH FILE OR DIRECTORY).",
                                           "SWPCLS: CANNOT WRITE out/x_0002.png (NO SUCH FILE OR DIRECTORY)."};
    if (reports != want) {
      std::string got = "reports:";
      for (const auto& r : reports) got += " [" + r + "]";
      return got;
    }
    return std::string();
  });
}

// Opens workstation `iws` on the recording double and returns the reports.
std::vector<std::string> openWith(int iws) {
  reports.clear();
  zep::sgiset("IWS", iws);
  zep::swiset("IWS", iws);
  zep::swdopn();
  zep::swdcls();
  return reports;
}

TEST(SessionFiles, SettingsOutsideTheirRangeAreRefusedAtOpen) {
  EXPECT_EXIT(
      {
        zep::swiset("IFL", 7);
        zep::sgopn(2);
      },
      testing::KilledBySignal(SIGABRT),
      lineRegex(" ***** ERROR (SWDOPN) ***  IFL = 7 IS OUT OF RANGE (1-4: PNG EPS SVG PDF)."));
  ZEP_EXPECT_ISOLATED([] {
    zep::set_msgdmp_err_func(&rememberReport);
    zep::gliset("MSGLEV", 2);
    zep::workstation::setDriverPort(&zeptest::recordingPort());
    struct Case {
      void (*set)();
      void (*reset)();
      int iws;
      const char* report;  // nullptr: accepted
    };
    const float inf = std::numeric_limits<float>::infinity();
    static float badFactor = 0;
    const Case cases[] = {
        {[] { zep::swiset("IFL", 0); }, [] { zep::swiset("IFL", 4); }, 2,
         "IFL = 0 IS OUT OF RANGE (1-4: PNG EPS SVG PDF)."},
        // the window does not read the file format
        {[] { zep::swiset("IFL", 9); }, [] { zep::swiset("IFL", 4); }, 1, nullptr},
        {[] { zep::swiset("IBGPAGE", 2147483647); }, [] { zep::swiset("IBGPAGE", 1); }, 2,
         "IBGPAGE = 2147483647 IS OUT OF RANGE (1 TO 999999999)."},
        {[] { zep::swiset("IBGPAGE", 0); }, [] { zep::swiset("IBGPAGE", 1); }, 1,
         "IBGPAGE = 0 IS OUT OF RANGE (1 TO 999999999)."},
        {[] { zep::swiset("IWIDTH", 2147483647); }, [] { zep::swiset("IWIDTH", 900); }, 2,
         "IWIDTH = 2147483647 IS OUT OF RANGE (1 TO 19996)."},
        {[] { zep::swiset("IHEIGHT", 0); }, [] { zep::swiset("IHEIGHT", 650); }, 1,
         "IHEIGHT = 0 IS OUT OF RANGE (1 TO 19996)."},
        {[] { zep::swiset("IWIDTH", 19996); }, [] { zep::swiset("IWIDTH", 900); }, 2, nullptr},
        // a larger surface once the limit is raised, up to cairo's own
        {[] { zep::swiset("MAXSURF", 30004); zep::swiset("IWIDTH", 30000); },
         [] { zep::swiset("MAXSURF", 20000); zep::swiset("IWIDTH", 900); }, 2, nullptr},
        {[] { zep::swiset("MAXSURF", 40000); }, [] { zep::swiset("MAXSURF", 20000); }, 2,
         "MAXSURF = 40000 IS OUT OF RANGE (5 TO 32767)."},
        {[] { zep::swiset("IDMPDGT", -1); }, [] { zep::swiset("IDMPDGT", 4); }, 2,
         "IDMPDGT = -1 IS OUT OF RANGE (0 TO 32)."},
        {[] { zep::swrset("RLWFACT", badFactor); }, [] { zep::swrset("RLWFACT", 0.2F); }, 2,
         "RLWFACT = INF IS OUT OF RANGE (>0 TO 100, OR 999)."},
        {[] { zep::swrset("RLWFACT", -1); }, [] { zep::swrset("RLWFACT", 0.2F); }, 2,
         "RLWFACT = -1 IS OUT OF RANGE (>0 TO 100, OR 999)."},
        {[] { zep::swrset("RLWFACT", 999); }, [] { zep::swrset("RLWFACT", 0.2F); }, 2, nullptr},
        // only PDF lines use the factor
        {[] { zep::swrset("RLWFACT", -1); zep::swiset("IFL", 1); },
         [] { zep::swrset("RLWFACT", 0.2F); zep::swiset("IFL", 4); }, 2, nullptr},
    };
    badFactor = inf;
    std::string bad;
    int k = 0;
    for (const Case& c : cases) {
      ++k;
      c.set();
      const std::vector<std::string> got = openWith(c.iws);
      c.reset();
      const std::vector<std::string> want =
          c.report ? std::vector<std::string>{std::string("SWDOPN: ") + c.report} : std::vector<std::string>{};
      if (got != want) bad += "case " + std::to_string(k) + ": " + (got.empty() ? "no report" : got[0]) + "\n";
    }
    // After a refused format the driver is handed the nearest one.
    zep::swiset("IFL", 7);
    openWith(2);
    if (zeptest::lastOpen().ifl != 4) bad += "IFL handed on as " + std::to_string(zeptest::lastOpen().ifl) + "\n";
    return bad;
  });
}

}  // namespace
