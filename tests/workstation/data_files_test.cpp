// Data-file names (directory and suffix order), the colormap list and its
// reports, and the data files that the library ships.
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
using zeptest::lineRegex;

std::string trimmed(const std::string& s) { return s.substr(0, s.find_last_not_of(' ') + 1); }

void touch(const fs::path& p) {
  fs::create_directories(p.parent_path().empty() ? fs::path(".") : p.parent_path());
  std::ofstream(p) << "x\n";
}

void writeText(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }

std::string resolve(std::string_view name) {
  std::string file(160, '?');
  zep::swqfnm(name, file);
  return trimmed(file);
}

std::vector<std::string>& reports() {
  static std::vector<std::string> r;
  return r;
}
void collect(std::string_view routine, std::string_view text) {
  reports().push_back(std::string(routine) + ": " + std::string(text));
}
std::string expectReports(const std::vector<std::string>& want, const std::string& what) {
  std::string bad;
  if (reports() != want) {
    bad = what + " reports:\n";
    for (const auto& r : reports()) bad += "  [" + r + "]\n";
  }
  reports().clear();
  return bad;
}

// The system data directory in force (the tests get it through GL_DSPATH).
std::string dataDirectory() {
  std::string dir(160, ' ');
  zep::glcget("DSPATH", dir);
  return trimmed(dir);
}

// A working directory with a user and a system data directory of its own.
struct DataDirs {
  zeptest::TempWorkDir dir;
  std::string user = (dir.path() / "user").string() + "/";
  std::string system = (dir.path() / "sys").string() + "/";
  DataDirs() {
    fs::create_directories(user);
    fs::create_directories(system);
    zep::glcset("DUPATH", user);
    zep::glcset("DSPATH", system);
  }
};

TEST(DataFiles, DirectoriesBeforeSuffixesAndSuffixesByWorkstation) {
  ZEP_EXPECT_ISOLATED([] {
    DataDirs d;
    std::string bad;
    const auto expect = [&bad](const std::string& got, const std::string& want, const char* what) {
      if (got != want) bad += std::string(what) + ": [" + got + "] instead of [" + want + "]\n";
    };
    // Workstation 1: ".x11", bare, ".psx" within one directory.
    zep::swiset("IWS", 1);
    touch(d.system + "colormap.psx");
    expect(resolve("CLRMAP"), d.system + "colormap.psx", "only .psx");
    touch(d.system + "colormap");
    expect(resolve("CLRMAP"), d.system + "colormap", "bare before .psx");
    touch(d.system + "colormap.x11");
    expect(resolve("clrmap"), d.system + "colormap.x11", ".x11 first");
    // Workstations 2 and 3: ".psx" first.
    zep::swiset("IWS", 2);
    expect(resolve("CLRMAP"), d.system + "colormap.psx", "IWS 2");
    zep::swiset("IWS", 3);
    expect(resolve("CLRMAP"), d.system + "colormap.psx", "IWS 3");
    // Every candidate is tried in one directory before the next one.
    zep::swiset("IWS", 2);
    touch(d.user + "colormap.psx");
    expect(resolve("CLRMAP"), d.user + "colormap.psx", "user directory before system");
    touch("colormap.x11");
    expect(resolve("CLRMAP"), "colormap.x11", "working directory first");
    zep::swiset("IWS", 1);
    expect(resolve("CLRMAP"), "colormap.x11", "working directory, IWS 1");

    // The bitmap follows the same rules, under its own parameter.
    zep::swcset("BITMAP", "tones");
    touch(d.user + "tones");
    touch(d.system + "tones.x11");
    expect(resolve("Bitmap"), d.user + "tones", "bitmap");

    // Fonts, the colour-to-tone map and the list take no suffix.
    touch(d.system + "font1u.x11");
    expect(resolve("FONT1"), "", "font with suffix only");
    touch(d.system + "font2u");
    expect(resolve("FONT2"), d.system + "font2u", "font");
    zep::swcset("CL2TN", "my_map");
    touch(d.user + "my_map");
    expect(resolve("CL2TN"), d.user + "my_map", "colour-to-tone map");
    zep::swcset("CMAPLIST", "nolist");
    expect(resolve("CMAPLIST"), "", "missing list");

    // A blank file name names no file, not a directory.
    zep::swcset("FONT2", "");
    expect(resolve("FONT2"), "", "blank name");
    return bad;
  });
}

TEST(DataFiles, UnknownParameterNameIsReported) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  std::string file(80, ' ');
  EXPECT_EXIT(zep::swqfnm("TITLE", file), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SWQFNM) ***  PARAMETER NAME <TITLE> IS INVALID."));
  ZEP_EXPECT_ISOLATED([] {
    zep::set_msgdmp_err_func(collect);
    std::string file(10, '?');
    zep::swqfnm("COLORMAPS ", file);
    std::string bad = expectReports({"SWQFNM: PARAMETER NAME <COLORMAPS> IS INVALID."}, "unknown name");
    if (file != std::string(10, ' ')) bad += "result not blank\n";
    return bad;
  });
}

TEST(DataFiles, ShippedFilesAreFoundThroughDspath) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    const std::string data = dataDirectory();
    std::string bad;
    const std::map<std::string, std::string> want = {{"CMAPLIST", "cmaplist"},
                                                      {"CLRMAP", "colormap.x11"},
                                                      {"BITMAP", "bitmap.x11"},
                                                      {"CL2TN", "cl2tnmap"}};
    for (const auto& [name, file] : want)
      if (resolve(name) != data + file) bad += name + " resolved to [" + resolve(name) + "]\n";
    return bad;
  });
}

TEST(DataFiles, ShippedColormapListPicksTheShippedMaps) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    std::string bad;
    zep::swcmll();
    int n = 0;
    zep::swqcmn(n);
    if (n < 5) return "only " + std::to_string(n) + " colormaps in the list";
    for (int i = 1; i <= n; ++i) {
      std::string file(80, '?'), description(80, '?');
      zep::swqcmf(i, file);
      zep::swqcmd(i, description);
      if (trimmed(description).empty()) bad += "entry " + std::to_string(i) + " has no description\n";
      zep::swcset("CLRMAP", file);
      const std::string path = resolve("CLRMAP");
      if (path != dataDirectory() + trimmed(file) + ".x11")
        bad += "entry " + std::to_string(i) + " resolves to [" + path + "]\n";
    }
    std::string first(80, ' ');
    zep::swqcmf(1, first);
    if (trimmed(first) != "colormap") bad += "entry 1 is not the default map\n";
    return bad;
  });
}

TEST(DataFiles, ListReadingQuotedCommaSeparatedAndMultiLine) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    writeText("mylist",
              "  4   this count ends the first read\n"
              "'a_map' 'quoted, with blanks'\n"
              "b_map unquoted words are cut\n"
              "c_map,\n"
              "\n"
              "   \"on the next line\"\n"
              "'d_map' , 'it''s the last' 'extra values are dropped'\n");
    zep::swcset("CMAPLIST", "mylist");
    zep::swcmll();
    std::string bad;
    int n = 0;
    zep::swqcmn(n);
    if (n != 4) return "count " + std::to_string(n);
    const char* files[] = {"a_map", "b_map", "c_map", "d_map"};
    const char* texts[] = {"quoted, with blanks", "unquoted", "on the next line", "it's the last"};
    for (int i = 1; i <= 4; ++i) {
      std::string file(12, '?'), text(100, '?');
      zep::swqcmf(i, file);
      zep::swqcmd(i, text);
      if (trimmed(file) != files[i - 1]) bad += "file " + std::to_string(i) + " [" + file + "]\n";
      if (trimmed(text) != texts[i - 1]) bad += "text " + std::to_string(i) + " [" + text + "]\n";
    }
    return bad;
  });
}

TEST(DataFiles, OverlongLinesAreCutNeverOverrun) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    writeText("mylist", "1\n'" + std::string(3000, 'f') + "' " + std::string(5000, 'y') + "\n");
    zep::swcset("CMAPLIST", "mylist");
    zep::set_msgdmp_err_func(collect);
    zep::swcmll();
    std::string bad = expectReports({"SWCMLL: COLORMAP LIST IS INVALID"}, "unclosed quote after the cut");

    writeText("mylist", "1\n'" + std::string(300, 'f') + "' " + std::string(5000, 'y') + "\n");
    zep::swcmll();
    bad += expectReports({}, "long values");
    std::string file(100, '?'), text(100, '?');
    zep::swqcmf(1, file);
    zep::swqcmd(1, text);
    if (file != std::string(80, 'f') + std::string(20, ' ')) bad += "file [" + file + "]\n";
    if (text != std::string(80, 'y') + std::string(20, ' ')) bad += "text [" + text + "]\n";
    return bad;
  });
}

TEST(DataFiles, ListIsReadOnceAndQueriesCheckTheirNumber) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::set_msgdmp_err_func(collect);
    int n = -1;
    std::string s(8, '?');
    zep::swqcmn(n);
    zep::swqcmf(1, s);
    zep::swqcmd(1, s);
    const std::string first = "COLORMAP LIST FILE SHOULD BE READ FIRST USING \"SWCMLL\"";
    std::string bad = expectReports({"SWQCMN: " + first, "SWQCMF: " + first, "SWQCMD: " + first}, "before load");
    if (n != 0) bad += "count before load\n";

    writeText("mylist", "2\nx 'one'\ny 'two'\n");
    zep::swcset("CMAPLIST", "mylist");
    zep::swcmll();
    writeText("mylist", "1\nz 'three'\n");
    zep::swcmll();  // a second load changes nothing
    zep::swqcmn(n);
    zep::swqcmf(2, s);
    if (n != 2 || s != "y       ") bad += "list read again\n";

    zep::swqcmf(0, s);
    zep::swqcmd(3, s);
    zep::swqcmf(-7, s);
    zep::swqcmd(123, s);
    bad += expectReports({"SWQCMF: COLORMAP NUMBER < 0> IS OUT OF RANGE.",
                          "SWQCMD: COLORMAP NUMBER < 3> IS OUT OF RANGE.",
                          "SWQCMF: COLORMAP NUMBER <-7> IS OUT OF RANGE.",
                          "SWQCMD: COLORMAP NUMBER <**> IS OUT OF RANGE."},
                         "out of range");
    return bad;
  });
}

std::string entries(int n) {
  std::string s = std::to_string(n) + "\n";
  for (int i = 1; i <= n; ++i) s += "map" + std::to_string(i) + " 'map number " + std::to_string(i) + "'\n";
  return s;
}

TEST(DataFiles, BadListsAreReportedAndLeaveNothingLoaded) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::set_msgdmp_err_func(collect);
    zep::swcset("CMAPLIST", "mylist");
    std::string bad;
    const auto attempt = [&bad](const std::string& content, const std::string& want, const std::string& what) {
      writeText("mylist", content);
      zep::swcmll();
      bad += expectReports({"SWCMLL: " + want}, what);
      int n = -1;
      zep::swqcmn(n);  // still not loaded
      reports().clear();
      if (n != 0) bad += what + ": something was loaded\n";
    };
    attempt(entries(100), "COLORMAP LIST OVERFLOWS", "100 entries");
    attempt("3\na 'x'\nb 'y'\n", "COLORMAP LIST IS INVALID", "short list");
    attempt("many\na 'x'\n", "COLORMAP LIST IS INVALID", "count not a number");
    attempt("-1\n", "COLORMAP LIST IS INVALID", "negative count");
    attempt("", "COLORMAP LIST IS INVALID", "empty file");
    attempt("1\na 'not closed\n", "COLORMAP LIST IS INVALID", "unclosed quote");
    fs::remove("mylist");
    zep::swcmll();
    bad += expectReports({"SWCMLL: COLORMAP LIST DOES NOT EXIST."}, "missing list");

    writeText("mylist", entries(99));
    zep::swcmll();
    bad += expectReports({}, "99 entries");
    int n = 0;
    std::string d(20, ' ');
    zep::swqcmn(n);
    zep::swqcmd(99, d);
    if (n != 99 || trimmed(d) != "map number 99") bad += "99 entries not loaded\n";
    return bad;
  });
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        zeptest::TempWorkDir dir;
        writeText("mylist", entries(100));
        zep::swcset("CMAPLIST", "mylist");
        zep::swcmll();
      },
      testing::KilledBySignal(SIGABRT), lineRegex(" ***** ERROR (SWCMLL) ***  COLORMAP LIST OVERFLOWS"));
}

// ---------------------------------------------------------------------------
// The shipped data files themselves
// ---------------------------------------------------------------------------

struct Colour {
  int r, g, b;
};

// Reads a colormap file in the driver's format; fills `why` when it is not one.
std::vector<Colour> readColormap(const fs::path& p, std::string& why) {
  std::vector<std::string> lines = zeptest::readLines(p);
  std::vector<Colour> out;
  int n = 0;
  char name[64];
  if (lines.empty() || std::sscanf(lines[0].c_str(), "%d : %63s", &n, name) != 2) {
    why = "header";
    return out;
  }
  if (n < 1 || n > 255 || static_cast<int>(lines.size()) < n + 1) {
    why = "count " + std::to_string(n);
    return out;
  }
  for (int i = 1; i <= n; ++i) {
    Colour c{};
    const std::string& l = lines[static_cast<std::size_t>(i)];
    if (l.size() < 21 || std::sscanf(l.c_str(), "%6d%6d%6d : %63s", &c.r, &c.g, &c.b, name) != 4 ||
        l.substr(18, 3) != " : ") {
      why = "record " + std::to_string(i) + " [" + l + "]";
      return out;
    }
    for (int v : {c.r, c.g, c.b})
      if (v < 0 || v > 65535) why = "value out of range in record " + std::to_string(i);
    out.push_back(c);
  }
  return out;
}

double luminance(const Colour& c) {
  const auto lin = [](int v) {
    const double s = v / 65535.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
}

TEST(DataFiles, ShippedColormapsAreInTheDriverFormat) {
  const fs::path data = ZEP_BUILD_DATA_DIR;
  std::map<std::string, std::vector<Colour>> maps;
  for (const char* name : {"colormap", "colormap_bw", "colormap_grey", "colormap_bwr", "colormap_seq"}) {
    std::string why;
    maps[name] = readColormap(data / (std::string(name) + ".x11"), why);
    ASSERT_EQ(why, "") << name;
    const auto& m = maps[name];
    ASSERT_GE(m.size(), 2U) << name;
    EXPECT_TRUE(m[0].r == 65535 && m[0].g == 65535 && m[0].b == 65535) << name << ": background not white";
    EXPECT_TRUE(m[1].r == 0 && m[1].g == 0 && m[1].b == 0) << name << ": foreground not black";
  }
  EXPECT_EQ(maps["colormap"].size(), 16U);
  EXPECT_EQ(maps["colormap_bw"].size(), 2U);
  // The default colours stay apart from each other.
  const auto& d = maps["colormap"];
  for (std::size_t i = 0; i < d.size(); ++i)
    for (std::size_t j = i + 1; j < d.size(); ++j) {
      const double dist = std::hypot(d[i].r - d[j].r, d[i].g - d[j].g, d[i].b - d[j].b);
      EXPECT_GT(dist, 12000.0) << "colours " << i << " and " << j;
    }
  // Ramps: the grey and the sequential map grow lighter step by step; the
  // diverging map grows lighter to its middle and darker after it, with no
  // colour twice.
  for (const char* name : {"colormap_grey", "colormap_seq"}) {
    const auto& m = maps[name];
    ASSERT_EQ(m.size(), 100U) << name;
    for (std::size_t i = 3; i < m.size(); ++i) EXPECT_GT(luminance(m[i]), luminance(m[i - 1])) << name << " " << i;
  }
  const auto& bwr = maps["colormap_bwr"];
  ASSERT_EQ(bwr.size(), 100U);
  for (std::size_t i = 3; i <= 50; ++i) EXPECT_GT(luminance(bwr[i]), luminance(bwr[i - 1])) << i;
  for (std::size_t i = 52; i < 100; ++i) EXPECT_LT(luminance(bwr[i]), luminance(bwr[i - 1])) << i;
  EXPECT_GT(bwr[2].b, bwr[2].r);
  EXPECT_GT(bwr[99].r, bwr[99].b);
}

TEST(DataFiles, ShippedToneAndColourToToneFiles) {
  const fs::path data = ZEP_BUILD_DATA_DIR;
  std::vector<std::string> lines = zeptest::readLines(data / "bitmap.x11");
  ASSERT_FALSE(lines.empty());
  const int m = std::atoi(lines[0].c_str());
  ASSERT_GE(m, 1);
  ASSERT_LE(m, 300);
  ASSERT_EQ(static_cast<int>(lines.size()), m + 1);
  std::vector<int> numbers;
  for (int i = 1; i <= m; ++i) {
    int nn1 = 0, nn2 = 0, nx = 0, ny = 0;
    char word[260];
    ASSERT_EQ(std::sscanf(lines[static_cast<std::size_t>(i)].c_str(), "%4d%4d%3d%3d%259s", &nn1, &nn2, &nx, &ny, word), 5)
        << lines[static_cast<std::size_t>(i)];
    const std::string hex = word;
    ASSERT_EQ(hex.size(), static_cast<std::size_t>(ny * ((nx + 3) / 4))) << nn1;
    int bits = 0;
    for (char c : hex) {
      ASSERT_TRUE(std::isxdigit(static_cast<unsigned char>(c))) << nn1;
      bits += __builtin_popcount(static_cast<unsigned>(std::stoi(std::string(1, c), nullptr, 16)));
    }
    EXPECT_EQ(bits, nn2) << "set pixels of pattern " << nn1;
    numbers.push_back(nn1);
  }
  lines = zeptest::readLines(data / "cl2tnmap");
  ASSERT_FALSE(lines.empty());
  const int n = std::atoi(lines[0].c_str());
  ASSERT_EQ(static_cast<int>(lines.size()), n + 1);
  for (int i = 1; i <= n; ++i) {
    int colour = -1, tone = -1;
    ASSERT_EQ(std::sscanf(lines[static_cast<std::size_t>(i)].c_str(), "%d%d", &colour, &tone), 2);
    EXPECT_EQ(colour, i - 1);
    EXPECT_TRUE(tone == 0 || std::find(numbers.begin(), numbers.end(), tone) != numbers.end()) << tone;
  }
}

TEST(DataFiles, ShippedFilesAreWhatTheGeneratorsMake) {
  int status = -1;
  zeptest::runCommand("python3 -c 'import sys' 2>/dev/null", &status);
  if (status != 0) GTEST_SKIP() << "no python3 to run the generators";
  zeptest::TempWorkDir dir;
  const std::string tools = std::string(ZEP_SOURCE_DIR) + "/tools/";
  zeptest::runCommand("python3 " + tools + "make_colormaps.py out && python3 " + tools + "make_tone_patterns.py out",
                      &status);
  ASSERT_EQ(status, 0);
  for (const auto& entry : fs::directory_iterator("out")) {
    const fs::path shipped = fs::path(ZEP_SOURCE_DIR) / "data" / entry.path().filename();
    EXPECT_EQ(zeptest::readFile(entry.path()), zeptest::readFile(shipped)) << entry.path().filename();
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Data files that are not what they seem
// ---------------------------------------------------------------------------

#include <sys/stat.h>

#include "driver/zgpack_internal.hpp"
#include "primitives/stroke_font.hpp"

namespace {

// Runs the parameter probe in the working directory with a clean environment;
// `timeout` ends it should a read never finish.
std::string runProbe(const std::string& env, const std::string& args, int* status) {
  const std::string command = "cd '" + fs::current_path().string() + "' && timeout 60 env -i PATH=/usr/bin:/bin " +
                              env + " " + ZEP_HELPER_zep_param_probe + " " + args + " 2>&1";
  return zeptest::runCommand(command, status);
}

bool hasLine(const std::string& output, const std::string& line) {
  std::istringstream in(output);
  for (std::string l; std::getline(in, l);)
    if (trimmed(l) == line) return true;
  return false;
}

// A device, a FIFO or a huge file as configuration file, colormap list,
// colormap, pattern or font file is refused at once, with a report that names
// the file, instead of reading without end or blocking.
TEST(DataFiles, FilesThatNeverEndOrBlockAreRefused) {
  zeptest::TempWorkDir dir;
  ASSERT_EQ(::mkfifo("fifo", 0600), 0);
  writeText("big", std::string((1 << 20) + 1, '1'));
  struct Case {
    std::string env, args, report, continuation;
  };
  const std::string rc = " ***** ERROR (RTNXFL) ***  CONFIGURATION FILE CANNOT BE READ.";
  const std::string list = " ***** ERROR (SWCMLL) ***  COLORMAP LIST IS INVALID";
  const Case cases[] = {
      {"GL_ZEPRC=/dev/zero", "", rc, "FILE /dev/zero IS NOT A REGULAR FILE."},
      {"GL_ZEPRC=fifo", "", rc, "FILE fifo IS NOT A REGULAR FILE."},
      {"GL_ZEPRC=big", "", rc, "FILE big IS LARGER THAN 1048576 BYTES."},
      {"ZEPTEST_ACTION=cmaplist", "-SW_CMAPLIST=/dev/zero", list, "FILE /dev/zero IS NOT A REGULAR FILE."},
      {"ZEPTEST_ACTION=cmaplist", "-SW_CMAPLIST=fifo", list, "FILE fifo IS NOT A REGULAR FILE."},
      {"ZEPTEST_ACTION=cmaplist", "-SW_CMAPLIST=big", list, "FILE big IS LARGER THAN 1048576 BYTES."},
  };
  for (const Case& c : cases) {
    int status = 0;
    const std::string out = runProbe(c.env, c.args, &status);
    EXPECT_NE(status, 0) << c.env << " " << c.args;
    EXPECT_NE(status, 124) << "timed out: " << c.env << " " << c.args;
    EXPECT_TRUE(hasLine(out, c.report)) << out;
    EXPECT_TRUE(hasLine(out, " ***** ERROR (-CNT.-) ***  " + c.continuation)) << out;
  }

  // The driver's colormap and pattern readers: the specified message, then why.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const char* file : {"/dev/zero", "fifo"}) {
    const std::string why = zeptest::quoteRegex(std::string("*** Error in zgdopn : ") + file + " is not a regular file.");
    EXPECT_EXIT(zep::zgreadcolormap(file, false), testing::ExitedWithCode(1),
                zeptest::quoteRegex("Allocation failed for colormap (" + std::string(file) + ").\n") + why);
    EXPECT_EXIT(zep::zgreadbitmap(file), testing::ExitedWithCode(1),
                zeptest::quoteRegex("Allocation failed for bitmap (" + std::string(file) + ").\n") + why);
  }
  EXPECT_EXIT(zep::zgreadcolormap("big", false), testing::ExitedWithCode(1),
              zeptest::quoteRegex("*** Error in zgdopn : big is larger than 1048576 bytes."));

  // The stroke-font reader.
  zep::stroke_font::Tables tables;
  EXPECT_EQ(zep::stroke_font::readFile("/dev/zero", tables), "IS NOT A REGULAR FILE.");
  EXPECT_EQ(zep::stroke_font::readFile("fifo", tables), "IS NOT A REGULAR FILE.");
  EXPECT_EQ(zep::stroke_font::readFile("big", tables), "IS LARGER THAN 65536 BYTES.");
  EXPECT_EQ(zep::stroke_font::readFile(".", tables), "IS NOT A REGULAR FILE.");
}

// A data file that is not found is reported with the names tried and every
// directory searched.
TEST(DataFiles, MissingFilesNameWhatWasSearched) {
  zeptest::TempWorkDir dir;
  int status = 0;
  const std::string out = runProbe("ZEPTEST_ACTION=cmaplist GL_DSPATH=/nonexistent/ GL_DUPATH=/my/data/", "", &status);
  EXPECT_NE(status, 0);
  const std::string cnt = " ***** ERROR (-CNT.-) ***  ";
  for (const std::string& line :
       {std::string(" ***** ERROR (SWCMLL) ***  COLORMAP LIST DOES NOT EXIST."),
        cnt + "FILE cmaplist (SW CMAPLIST) SEARCHED IN:", cnt + "THE WORKING DIRECTORY", cnt + "DUPATH /my/data/",
        cnt + "DSPATH /nonexistent/"})
    EXPECT_TRUE(hasLine(out, line)) << line << "\n" << out;

  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        zep::swcset("FONT2", "nofont");
        zep::glcset("DSPATH", "/nowhere/");
        zep::sgiset("IFONT", 2);
        int counter = 0;
        zep::szfint(counter);
      },
      testing::KilledBySignal(SIGABRT),
      lineRegex(" ***** ERROR (SZFONT) ***  FONT FILE DOES NOT EXIST.") + ".*" +
          zeptest::quoteRegex(cnt + "FILE nofont (SW FONT2) SEARCHED IN:") + ".*" +
          zeptest::quoteRegex(cnt + "DUPATH (BLANK: THE WORKING DIRECTORY)") + ".*" +
          zeptest::quoteRegex(cnt + "DSPATH /nowhere/"));
}

// Names from the colormap list stay in the data directories: one with a ".."
// component is refused and names no file; the others load as before.
TEST(DataFiles, ListEntriesThatClimbOutAreRefused) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::set_msgdmp_err_func(collect);
    writeText("mylist",
              "4\n'../../../../etc/passwd' 'escape'\ncolormap_bw 'fine'\n'maps/../../x' 'inner'\n..hidden 'a name'\n");
    zep::swcset("CMAPLIST", "mylist");
    zep::swcmll();
    const std::string refused = "SWCMLL: COLORMAP LIST ENTRY CLIMBS OUT OF ITS DIRECTORY.";
    std::string bad = expectReports({refused, refused}, "climbing entries");
    const char* const want[] = {"", "colormap_bw", "", "..hidden"};
    for (int i = 1; i <= 4; ++i) {
      std::string f(80, '?');
      zep::swqcmf(i, f);
      if (trimmed(f) != want[i - 1]) bad += "entry " + std::to_string(i) + " [" + trimmed(f) + "]\n";
    }
    return bad;
  });
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        zeptest::TempWorkDir dir;
        writeText("mylist", "1\n'../../../../etc/passwd' 'escape'\n");
        zep::swcset("CMAPLIST", "mylist");
        zep::swcmll();
      },
      testing::KilledBySignal(SIGABRT),
      lineRegex(" ***** ERROR (SWCMLL) ***  COLORMAP LIST ENTRY CLIMBS OUT OF ITS DIRECTORY.") + ".*" +
          zeptest::quoteRegex(" ***** ERROR (-CNT.-) ***  IN FILE mylist") + ".*" +
          zeptest::quoteRegex(" ***** ERROR (-CNT.-) ***  ENTRY 1: ../../../../etc/passwd"));
}

}  // namespace
