// The three font programs run as a user runs them: fontroll's listing against
// Pango, fontsheet's dialogue and sheets (for the machine's fonts and for small
// font sets of a private fontconfig configuration), fontpick on files and, under
// an X display, with its font dialog answered from the keyboard.
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/png_image.hpp"
#include "support/pango_families.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;

const std::string kFontsheet = ZEP_BUILD_DIR "/fontsheet";
const std::string kFontpick = ZEP_BUILD_DIR "/fontpick";
const std::string kFontroll = ZEP_BUILD_DIR "/fontroll";

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs a program in `dir` with `input` on standard input; `env` is prepended to
// the command ("NAME=value ...").
ProgramRun runProgram(const fs::path& dir, const std::string& program, const std::string& args,
               const std::string& input = "", const std::string& env = "") {
  {
    std::ofstream in(dir / "stdin.txt", std::ios::binary);
    in << input;
  }
  ProgramRun r;
  // Sanitized builds: the leak checker's summary of suppressions is not output.
  zeptest::runCommand("cd '" + dir.string() + "' && LSAN_OPTIONS=\"$LSAN_OPTIONS:print_suppressions=0\" " + env +
                          " '" + program + "' " + args +
                          " < stdin.txt > stdout.txt 2> stderr.txt",
                      &r.status);
  r.out = zeptest::readFile(dir / "stdout.txt");
  r.err = zeptest::readFile(dir / "stderr.txt");
  return r;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.push_back(text.substr(start, nl - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// Any clearly non-white pixel: the smallest texts are only a few pixels high
// and their antialiased strokes stay grey.
bool isInk(std::uint32_t rgb) {
  const unsigned r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  return r * 299 + g * 587 + b * 114 < 220 * 1000;
}

// A square of the page in pixels: V (0..1) to pixel columns and rows of a PNG
// page of 900 x 650 workstation units inside a 2-pixel border.
struct Square {
  double x0, y0, size;  // lower left corner and side in workstation units
  int px(double v) const { return static_cast<int>(2 + x0 + size * v + 0.5); }
  int py(double v) const { return static_cast<int>(2 + 650 - (y0 + size * v) + 0.5); }
};

// Ink pixels in the V rectangle [vx0, vx1] x [vy0, vy1] of a square, and the
// columns of the leftmost and rightmost of them.
struct Ink {
  int count = 0;
  int left = 1 << 30;
  int right = -1;
};
Ink inkIn(const zeptest::Png& png, const Square& s, double vx0, double vx1, double vy0, double vy1) {
  Ink ink;
  for (int y = std::max(0, s.py(vy1)); y <= s.py(vy0) && y < png.height(); ++y)
    for (int x = std::max(0, s.px(vx0)); x <= s.px(vx1) && x < png.width(); ++x)
      if (isInk(png.pixel(x, y))) {
        ++ink.count;
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
      }
  return ink;
}

// ---------------------------------------------------------------------------
// The font catalogue
// ---------------------------------------------------------------------------

using zeptest::Family;
using zeptest::pangoFamilies;

// The family names in fontroll's listing, in order.
std::vector<std::string> listedFamilies(const std::string& listing) {
  std::vector<std::string> names;
  for (const std::string& line : splitLines(listing)) {
    const std::string head = "Family " + std::to_string(names.size()) + ": ";
    if (line.rfind(head, 0) == 0) names.push_back(line.substr(head.size()));
  }
  return names;
}

TEST(Fontroll, PrintsTheCatalogueAsPangoReportsIt) {
  const std::vector<Family> families = pangoFamilies();
  ASSERT_FALSE(families.empty()) << "no fonts on this machine";
  std::string want = "There are " + std::to_string(families.size()) + " families\n";
  for (std::size_t i = 0; i < families.size(); ++i) {
    want += "Family " + std::to_string(i) + ": " + families[i].name + "\n  Faces : ";
    for (std::size_t j = 0; j < families[i].faces.size(); ++j)
      want += std::to_string(j) + ") " + families[i].faces[j] + "  ";
    want += "\n\n";
  }
  zeptest::TempWorkDir dir;
  const ProgramRun r = runProgram(dir.path(), kFontroll, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, want);
  // No workstation is opened: no session messages, no files.
  EXPECT_EQ(r.err, "");
  std::vector<fs::path> made;
  for (const auto& e : fs::directory_iterator(dir.path()))
    if (e.path().filename().string().rfind("std", 0) != 0) made.push_back(e.path());
  EXPECT_TRUE(made.empty());
}

// ---------------------------------------------------------------------------
// Private font sets
// ---------------------------------------------------------------------------

// A fontconfig configuration that sees only `files` (linked into a directory of
// its own); FONTCONFIG_FILE=<result> selects it for a program.
fs::path privateFontSet(const fs::path& dir, const std::vector<std::string>& files) {
  fs::create_directories(dir / "fonts");
  for (const std::string& f : files) fs::create_symlink(f, dir / "fonts" / fs::path(f).filename());
  const fs::path conf = dir / "fonts.conf";
  std::ofstream(conf) << "<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>" << (dir / "fonts").string()
                      << "</dir>\n  <cachedir>" << (dir / "cache").string() << "</cachedir>\n</fontconfig>\n";
  return conf;
}

// Up to n font files of n different families, each file naming one family only
// (so that each adds exactly one family to the catalogue), in formats that Pango
// lists (not Type 1).
std::vector<std::string> filesOfDistinctFamilies(std::size_t n) {
  std::map<std::string, std::string> byFamily;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_FONTFORMAT, nullptr);
  FcFontSet* set = FcFontList(nullptr, pattern, objects);
  const std::set<std::string> generic = {"Sans", "Serif", "Monospace", "System-ui"};
  for (int i = 0; set != nullptr && i < set->nfont; ++i) {
    FcChar8* family = nullptr;
    FcChar8* file = nullptr;
    FcChar8* second = nullptr;
    FcChar8* format = nullptr;
    if (FcPatternGetString(set->fonts[i], FC_FONTFORMAT, 0, &format) != FcResultMatch) continue;
    const std::string fmt = reinterpret_cast<const char*>(format);
    if (fmt != "TrueType" && fmt != "CFF") continue;
    if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch) continue;
    if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
    if (FcPatternGetString(set->fonts[i], FC_FAMILY, 1, &second) == FcResultMatch) continue;
    const std::string name = reinterpret_cast<const char*>(family);
    if (generic.count(name) == 0) byFamily.emplace(name, reinterpret_cast<const char*>(file));
  }
  if (set != nullptr) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  std::vector<std::string> files;
  for (const auto& [family, file] : byFamily) {
    if (files.size() == n) break;
    files.push_back(file);
  }
  return files;
}

// ---------------------------------------------------------------------------
// fontsheet
// ---------------------------------------------------------------------------

constexpr int kRows = 10;
double rowY(int j) { return (11 - j) * 0.09; }

// Frames of a 2 x 2 division in order "T": down the left column, then the right.
Square frameSquare(int positionOnPage) {
  const int column = positionOnPage / 2, row = positionOnPage % 2;
  return {62.5 + 450.0 * column, 325.0 * (1 - row), 325};
}

std::string padded(std::string s, std::size_t n) {
  s.resize(n, ' ');
  return s;
}

// What fontsheet writes on standard output for the catalogue `names`.
std::string expectedSheetOutput(const std::vector<std::string>& names) {
  std::string want = " WORKSTATION ID (I)  ? ;\n";
  want += "Family 0: " + names.at(0) + "\n";
  const std::string suffix = padded(" Regular", 20);
  want += " " + suffix + "\n";
  for (std::size_t k = 1; k < names.size(); ++k) {
    want += "Family " + std::to_string(k) + ": " + names[k] + "\n";
    want += " " + padded(names[k] + suffix, 70) + "\n";
  }
  return want;
}

int framesDrawn(int nfamilies) { return (nfamilies - 1) / kRows + 1; }

// Checks the PNG pages of a sheet for `nfamilies` families: every frame started
// shows its separators; the rows of families 1 .. n-1 show a number, a name and
// a sample; every other row and every frame not started is empty.
std::string sheetFaults(const fs::path& dir, const std::string& base, int nfamilies, bool distinctFonts) {
  const int frames = framesDrawn(nfamilies);
  const int pages = (frames + 3) / 4;
  auto pageFile = [&](int page) {
    char file[64];
    std::snprintf(file, sizeof file, "%s_%04d.png", base.c_str(), page);
    return std::string(file);
  };
  if (fs::exists(dir / pageFile(pages + 1))) return "a page too many";
  std::set<int> sampleWidths;
  for (int page = 1; page <= pages; ++page) {
    const std::string file = pageFile(page);
    const zeptest::Png png(dir / file);
    if (!png.ok()) return "cannot read " + file;
    if (png.width() != 904 || png.height() != 654) return "page size of " + file;
    for (int pos = 0; pos < 4; ++pos) {
      const int p = (page - 1) * 4 + pos;
      const Square s = frameSquare(pos);
      const std::string where = "frame " + std::to_string(p + 1);
      if (p >= frames) {
        if (inkIn(png, s, 0, 1, 0, 1).count != 0) return where + " should be empty";
        continue;
      }
      for (int j = 1; j <= kRows; ++j) {
        const double y = rowY(j);
        const std::string row = where + " row " + std::to_string(j);
        if (inkIn(png, s, 0.45, 0.55, y + 0.045, y + 0.055).count == 0) return row + ": no separator";
        const int k = kRows * p + j;
        if (k > nfamilies - 1) {
          if (inkIn(png, s, 0.0, 1.0, y - 0.033, y + 0.043).count != 0) return row + " should be empty";
          continue;
        }
        if (inkIn(png, s, 0.01, 0.08, y + 0.028, y + 0.043).count == 0) return row + ": no number";
        if (inkIn(png, s, 0.01, 0.33, y + 0.007, y + 0.022).count == 0) return row + ": no font name";
        const Ink sample = inkIn(png, s, 0.35, 0.99, y - 0.033, y + 0.043);
        if (sample.count < 50) return row + ": no sample";
        if (sample.left > s.px(0.37)) return row + ": sample not at its column";
        sampleWidths.insert(sample.right - sample.left);
      }
      if (inkIn(png, s, 0.45, 0.55, 0.045, 0.055).count == 0) return where + ": no bottom line";
    }
  }
  // Each sample is drawn in its own family: samples differ in width.
  if (distinctFonts && sampleWidths.size() < 3) return "the samples all look alike";
  return "";
}

void checkSheet(const std::string& env, const std::string& label, bool distinctFonts) {
  zeptest::TempWorkDir dir;
  const ProgramRun listing = runProgram(dir.path(), kFontroll, "", "", env);
  const std::vector<std::string> names = listedFamilies(listing.out);
  ASSERT_FALSE(names.empty()) << label;

  const ProgramRun r = runProgram(dir.path(), kFontsheet, "-SW_IFL=1 -SW_FNAME=sheet", "2\n", env);
  ASSERT_EQ(r.status, 0) << label << "\n" << r.err;
  EXPECT_EQ(r.out, expectedSheetOutput(names)) << label;
  EXPECT_NE(("\n" + r.err).find("\n 1:DISP, 2:FILES ;\n"), std::string::npos) << r.err;
  const int pages = (framesDrawn(static_cast<int>(names.size())) + 3) / 4;
  char last[64];
  std::snprintf(last, sizeof last, "GRPH1 : PAGE = %3d COMPLETED.", pages);
  EXPECT_NE(r.err.find(last), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("GRPH1 : TERMINATED."), std::string::npos) << r.err;
  EXPECT_EQ(sheetFaults(dir.path(), "sheet", static_cast<int>(names.size()), distinctFonts), "") << label;

  // The same sheet into one PDF file.
  const ProgramRun pdf = runProgram(dir.path(), kFontsheet, "-SW_IFL=4 -SW_FNAME=sheet", "2\n", env);
  ASSERT_EQ(pdf.status, 0) << pdf.err;
  const std::string info = zeptest::runCommand("pdfinfo '" + (dir.path() / "sheet.pdf").string() + "'");
  EXPECT_NE(info.find("Pages:           " + std::to_string(pages) + "\n"), std::string::npos) << info;
}

TEST(Fontsheet, SheetOfTheMachinesFonts) { checkSheet("", "machine's fonts", true); }

TEST(Fontsheet, SmallFontSets) {
  zeptest::TempWorkDir fonts;
  const std::vector<std::string> seven = filesOfDistinctFamilies(7);
  if (seven.size() < 7) GTEST_SKIP() << "fewer than 7 font families on this machine";

  // One font file and Pango's generic families (all drawn with that font): a
  // few rows in the first frame.
  const fs::path one = privateFontSet(fonts.path() / "one", {seven.front()});
  checkSheet("FONTCONFIG_FILE='" + one.string() + "'", "one font file", false);

  // Eleven families: the first frame is full and the second, started, stays
  // empty apart from its separators.
  const fs::path eleven = privateFontSet(fonts.path() / "eleven", seven);
  const std::string env = "FONTCONFIG_FILE='" + eleven.string() + "'";
  const ProgramRun listing = runProgram(fonts.path(), kFontroll, "", "", env);
  ASSERT_EQ(listedFamilies(listing.out).size(), 11U) << listing.out;
  checkSheet(env, "eleven families", true);
}

TEST(Fontsheet, WorkstationNumberFromStandardInput) {
  zeptest::TempWorkDir dir;
  // Free-form input: blank records are passed over, a comma ends the number.
  ProgramRun r = runProgram(dir.path(), kFontsheet, "-SW_IFL=1", "\n   \n 2, 7\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("GRPH1 : STARTED / IWS =  2."), std::string::npos) << r.err;

  // No number, something else, or a workstation that does not exist: the
  // session opener stops the program before any page is made.
  for (const std::string input : {"", "two\n", "3\n", "0\n"}) {
    zeptest::TempWorkDir empty;
    r = runProgram(empty.path(), kFontsheet, "-SW_IFL=1", input);
    EXPECT_NE(r.status, 0) << "input '" << input << "'";
    EXPECT_EQ(r.out.rfind(" WORKSTATION ID (I)  ? ;\n", 0), 0U) << r.out;
    EXPECT_NE(r.err.find(" ***** ERROR (SGINIT) ***  WORKSTATION NUMBER IS INVALID."), std::string::npos)
        << "input '" << input << "': " << r.err;
    EXPECT_EQ(r.err.find("GRPH1 : STARTED"), std::string::npos) << r.err;
  }
}

// ---------------------------------------------------------------------------
// fontpick
// ---------------------------------------------------------------------------

// One frame on the page: the largest centred square.
constexpr Square kPickPage{125, 0, 650};

struct PickLine {
  double y, height;
};
constexpr PickLine kPickLines[] = {{0.75, 0.04}, {0.7, 0.03}, {0.5, 0.04}, {0.45, 0.03}, {0.25, 0.03}, {0.2, 0.03}};

// Long lines reach beyond the frame into the page margins.
Ink lineInk(const zeptest::Png& png, const PickLine& l) {
  return inkIn(png, kPickPage, -0.2, 1.2, l.y - 0.6 * l.height, l.y + 0.6 * l.height);
}

// Every line is present and centred; nothing lies between the groups.
std::string pickPageFaults(const zeptest::Png& png) {
  if (!png.ok()) return "no page";
  if (png.width() != 904 || png.height() != 654) return "page size";
  for (const PickLine& l : kPickLines) {
    const Ink ink = lineInk(png, l);
    const std::string where = "line at " + std::to_string(l.y);
    if (ink.count < 50) return where + " missing";
    if (std::abs((ink.left + ink.right) / 2.0 - kPickPage.px(0.5)) > 5)
      return where + " not centred: " + std::to_string(ink.left) + " to " + std::to_string(ink.right);
  }
  for (double y : {0.1, 0.35, 0.6, 0.87})
    if (inkIn(png, kPickPage, -0.2, 1.2, y - 0.04, y + 0.04).count != 0) return "ink near " + std::to_string(y);
  return "";
}

TEST(Fontpick, FilesRefuseTheDialogAndKeepTheDefaultFont) {
  zeptest::TempWorkDir dir;
  const ProgramRun r = runProgram(dir.path(), kFontpick, "-SG_IWS=2 -SW_IFL=1 -SW_FNAME=pick");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("\n *** MESSAGE (SWSLFT) ***  DIALOG NEEDS WINDOW.DEFAULT FONT IS USED"), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("GRPH1 : STARTED / IWS =  2."), std::string::npos);
  ASSERT_TRUE(fs::exists(dir.path() / "pick_0001.png"));
  EXPECT_FALSE(fs::exists(dir.path() / "pick_0002.png"));
  const zeptest::Png page(dir.path() / "pick_0001.png");
  EXPECT_EQ(pickPageFaults(page), "");
}

bool haveXdotool() { return std::system("command -v xdotool > /dev/null 2>&1") == 0; }

// Runs fontpick on the window workstation (its page window hidden, the page
// dumped to a PNG file) and answers the dialog with the keys of `keys`, a list
// of xdotool commands.
//
// Keys sent while a loaded X server is still mapping the dialog can be lost, so
// the answer is sent again every 2 s for as long as the dialog is shown (the
// answers here do the same when repeated). Every step that waits has its own
// time limit, and a watchdog started with the program ends it after 50 s: a
// single-shot answer with a retry of the whole dialogue could take 3 x 60 s,
// past the test's own time limit, and a focus wait without a limit could hang.
ProgramRun pickUnderX(const fs::path& dir, const std::string& keys) {
  const std::string script =
      "LSAN_OPTIONS=\"$LSAN_OPTIONS:print_suppressions=0\" '" + kFontpick +
      "' -SW_LWND=F -SW_FNAME=pick > stdout.txt 2> stderr.txt &\n"
      "pid=$!\n"
      "( sleep 50; kill $pid 2> /dev/null ) &\n"
      "watchdog=$!\n"
      "(\n"
      "  while :; do\n"
      "    w=$(timeout 10 xdotool search --sync --all --onlyvisible --pid $pid --name 'Choose a Font' | head -n 1)\n"
      "    if [ -n \"$w\" ]; then\n"
      "      timeout 5 xdotool windowfocus --sync $w\n" +
      keys +
      "\n      sleep 2\n"
      "    fi\n"
      "  done\n"
      ") &\n"
      "answerer=$!\n"
      "wait $pid\n"
      "rc=$?\n"
      "kill $answerer $watchdog 2> /dev/null\n"
      "exit $rc\n";
  std::ofstream(dir / "answer.sh") << script;
  ProgramRun r;
  zeptest::runCommand("cd '" + dir.string() + "' && sh answer.sh > /dev/null 2>&1", &r.status);
  r.out = zeptest::readFile(dir / "stdout.txt");
  r.err = zeptest::readFile(dir / "stderr.txt");
  return r;
}

TEST(Fontpick, DialogUnderX) {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') GTEST_SKIP() << "no X display";
  if (!haveXdotool()) GTEST_SKIP() << "xdotool is not installed";

  // The default font, for comparison.
  zeptest::TempWorkDir files;
  ASSERT_EQ(runProgram(files.path(), kFontpick, "-SG_IWS=2 -SW_IFL=1 -SW_FNAME=pick").status, 0);
  const zeptest::Png plain(files.path() / "pick_0001.png");

  // Escape closes the dialog without a choice: the driver's current font.
  zeptest::TempWorkDir cancelled;
  ProgramRun r = pickUnderX(cancelled.path(), "      xdotool key Escape");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.find("SWSLFT"), std::string::npos) << r.err;
  const zeptest::Png kept(cancelled.path() / "pick_0001.png");
  EXPECT_EQ(pickPageFaults(kept), "");

  // The family list typed to "Serif" and activated: the dialog's OK.
  zeptest::TempWorkDir chosen;
  r = pickUnderX(chosen.path(),
                 "      xdotool key alt+f\n      xdotool type --delay 60 Serif\n      sleep 0.3\n      xdotool key Return");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "selected font name is  'Serif 12'  \n");
  const zeptest::Png serif(chosen.path() / "pick_0001.png");
  EXPECT_EQ(pickPageFaults(serif), "");

  // The stroke-font lines do not depend on the dialog.
  for (int i : {0, 1}) {
    const Ink a = lineInk(plain, kPickLines[i]), b = lineInk(kept, kPickLines[i]), c = lineInk(serif, kPickLines[i]);
    EXPECT_TRUE(a.left == b.left && a.right == b.right && b.left == c.left && b.right == c.right) << i;
  }
  // The "Selected font name" line grows by the name returned by the dialog:
  // nothing after the files' refusal, "Sans Normal 12" is longer than "Serif 12".
  const int plainName = lineInk(plain, kPickLines[2]).right - lineInk(plain, kPickLines[2]).left;
  const int keptName = lineInk(kept, kPickLines[2]).right - lineInk(kept, kPickLines[2]).left;
  const int serifName = lineInk(serif, kPickLines[2]).right - lineInk(serif, kPickLines[2]).left;
  EXPECT_LT(plainName, serifName);
  EXPECT_LT(serifName, keptName);
  // The sample line is drawn in the chosen font: Serif sets it differently from
  // the default Sans.
  const Ink sansSample = lineInk(kept, kPickLines[4]), serifSample = lineInk(serif, kPickLines[4]);
  EXPECT_GT(std::abs((serifSample.right - serifSample.left) - (sansSample.right - sansSample.left)), 4);
}

}  // namespace
