// The stroke-font engine: markup conversion, text widths, and the font-file
// reader on good, truncated and corrupt files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "primitives/text_markup.hpp"
#include "support/message_file.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
using zep::text_engine::convertMarkup;

std::vector<std::string>& errors() {
  static std::vector<std::string> r;
  return r;
}
void recordError(std::string_view routine, std::string_view text) {
  errors().push_back(std::string(routine) + ": " + std::string(text));
}

std::string convert(std::string_view text) { return convertMarkup(text, 124, 95, 34); }

TEST(StrokeFontMarkup, BackslashesBecomeControlCharacters) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::MessageFile messages("markup-messages.txt");
    zep::gliset("MSGLEV", 0);
    std::string failure;
    auto check = [&](std::string_view in, const std::string& want) {
      const std::string got = convert(in);
      if (got != want) failure += "[" + std::string(in) + "] -> [" + got + "], want [" + want + "]\n";
    };
    check("x\\^2", "x|2\"");
    check("H\\_{2}O", "H_2\"O");
    check("a\\_i\\^{n+1}  ", "a_i\"|n+1\"");
    check("\\\\", "\\");
    check("\\a", "a\"");
    check("plain text   ", "plain text");
    check("x\\^{-3}", "x|-3\"");
    // The stroke fonts have one script level: a backslash inside a group is
    // drawn as it stands, and the group still ends at its "}".
    check("e\\^{i\\pi}x", "e|i\\pi\"x");
    check("e\\^{-x\\^2}y", "e|-x\\^2\"y");
    if (!messages.lines().empty()) failure += "warnings for good markup\n";
    // Bars are drawn as "~" without a reset; unfinished markup is closed if the
    // text leaves room.
    check("\\o{a}b", "~ab");
    check("\\ua", "~a");
    check("x\\^", "x|\"");
    check("x\\^{ab", "x|ab\"");
    check("\\{abc", "abc\"");
    failure += zeptest::expectLines(messages.lines(), {" *** WARNING (SZTXWV) ***  TOPBAR IS NOT SUPPORT IN STROKEFONT",
                                                       " *** WARNING (SZTXWV) ***  UNDERBAR IS NOT SUPPORT IN STROKEFONT",
                                                       " *** WARNING (SZTXWV) ***  MARKUP IS NOT IN GOOD AGREEMENT.",
                                                       " *** WARNING (SZTXWV) ***  MARKUP IS NOT IN GOOD AGREEMENT.",
                                                       " *** WARNING (SZTXWV) ***  MARKUP IS NOT IN GOOD AGREEMENT."});
    // Other control codes; a converted string holds at most 256 characters.
    if (convertMarkup("x\\^2\\_3", 1, 2, 3) != std::string("x\x01" "2\x03\x02" "3\x03")) failure += "own codes\n";
    if (convert(std::string(300, 'a')) != std::string(256, 'a')) failure += "long text\n";
    return failure;
  });
}

// Width of a text in heights and its height factor, as the engine reports them.
struct Extent {
  float width = 0, height = 0;
};
Extent extentOf(std::string_view text) {
  Extent e;
  int nc = -1;
  zep::szqtxw(text, nc, e.width, e.height);
  return e;
}

TEST(StrokeFontWidths, WidthsFollowTheGlyphExtents) {
  ZEP_EXPECT_ISOLATED([] {
    std::string failure;
    // Proportional widths are the glyphs' own extents.
    const Extent ab = extentOf("AB  ");
    std::vector<float> left(256), right(256);
    zep::szqfnw(left.data(), right.data());
    const float want = (right['A'] - left['A'] + right['B'] - left['B']) / 24;
    if (std::fabs(ab.width - want) > 1e-6F || ab.height != 1.0F || want <= 0.5F)
      failure += "proportional: " + std::to_string(ab.width) + " want " + std::to_string(want) + "\n";
    if (right['i'] - left['i'] >= right['W'] - left['W']) failure += "i as wide as W\n";

    // Fixed widths: every character is one height wide; the file is not read
    // again (its name now leads nowhere), only the extents change.
    int before = 0, after = 0;
    zep::szfint(before);
    zep::swcset("FONT1", "no-such-font-file");
    zep::sglset("LFPROP", false);
    zep::szfint(after);
    if (after != before + 1) failure += "counter did not grow\n";
    if (extentOf("AB").width != 2.0F) failure += "fixed width of AB\n";

    // Scripts with control characters: 1 + 0.7 wide, 1 + (0.35 + 0.3 - 0.5) high.
    zep::sglset("LCNTL", true);
    const Extent script = extentOf("A|2\"");
    if (std::fabs(script.width - 1.7F) > 1e-6F || std::fabs(script.height - 1.15F) > 1e-6F)
      failure += "script: " + std::to_string(script.width) + " x " + std::to_string(script.height) + "\n";
    const Extent both = extentOf("A|2\"_i\"");
    if (std::fabs(both.width - 2.4F) > 1e-6F || std::fabs(both.height - 1.3F) > 1e-6F) failure += "both scripts\n";
    int nc = 5;
    float w = 0, h = 0;
    zep::szqtxw("A", nc, w, h);
    if (nc != 0) failure += "nc\n";
    // Without control characters the same text is four ordinary glyphs.
    zep::sglset("LCNTL", false);
    if (extentOf("A|2\"").width != 4.0F) failure += "control characters as glyphs\n";
    return failure;
  });
}

TEST(StrokeFontWidths, ControlCharacterErrors) {
  ZEP_EXPECT_ISOLATED([] {
    zep::set_msgdmp_err_func(&recordError);
    zep::sglset("LCNTL", true);
    extentOf("A|2");     // no reset
    extentOf("A|\"");    // empty superscript
    extentOf("A_\"");    // empty subscript
    extentOf("|_2\"\""); // two scripts before one reset
    zep::sgiset("IFONT", 3);
    extentOf("A");
    return zeptest::expectLines(errors(), {"SZQTXW: CONTROL CHARACTERS ARE NOT IN GOOD AGREEMENT.",
                                           "SZQTXW: NO VALID SUP CHARACTER.", "SZQTXW: NO VALID SUB CHARACTER.",
                                           "SZQTXW: CONTROL CHARACTERS ARE NOT IN GOOD AGREEMENT.",
                                           "SZINIT: FONT NUMBER IS OUT OF RANGE."});
  });
}

TEST(StrokeFontFile, TablesBeforeAnyLoadAreAnError) {
  ZEP_EXPECT_ISOLATED([] {
    zep::set_msgdmp_err_func(&recordError);
    std::vector<int> index(256, 7);
    std::string xs(6000, 'x'), ys(6000, 'y');
    std::vector<float> l(256, 3), r(256, 3);
    zep::szqfnt(index.data(), xs, ys);
    zep::szqfnw(l.data(), r.data());
    if (index[0] != 7 || xs[0] != 'x' || l[0] != 3) return std::string("copied without a font");
    return zeptest::expectLines(errors(), {"SZQFNT: FONT FILE HAS NOT BEEN LOADED.", "SZQFNW: FONT FILE HAS NOT BEEN LOADED."});
  });
}

// The shipped font 1, to be broken in various ways.
std::string shippedFont() { return zeptest::readFile(fs::path(ZEP_BUILD_DATA_DIR) / "font1u"); }

void putInt(std::string& bytes, std::size_t at, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

void writeFile(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

// Loads font 1 from `bytes` written into the working directory, where the file
// search looks first; returns the reports.
std::vector<std::string> loadFrom(const std::string& bytes) {
  writeFile("font1u", bytes);
  errors().clear();
  int n = 0;
  zep::szfint(n);
  return errors();
}

TEST(StrokeFontFile, BrokenFilesGiveClearReports) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::set_msgdmp_err_func(&recordError);
    const std::string good = shippedFont();
    if (good.size() != 3 * 8 + 1024 + 6000 + 6000) return std::string("shipped font has the wrong size");
    std::string failure;
    auto check = [&](const std::string& what, const std::string& bytes, const std::string& want) {
      const std::string f = zeptest::expectLines(loadFrom(bytes), {"SZFONT: FONT FILE <font1u> " + want});
      if (!f.empty()) failure += what + ": " + f;
    };
    check("empty", "", "IS TRUNCATED.");
    check("cut in the index", good.substr(0, 500), "IS TRUNCATED.");
    check("cut in the y array", good.substr(0, good.size() - 100), "IS TRUNCATED.");
    check("cut before the last count", good.substr(0, good.size() - 2), "IS TRUNCATED.");
    std::string wrongLength = good;
    putInt(wrongLength, 0, 1000);
    check("first count", wrongLength, "HAS A RECORD OF WRONG LENGTH.");
    std::string wrongTail = good;
    putInt(wrongTail, 4 + 1024 + 4 + 4 + 6000, 5999);  // end count of the x array
    check("end count", wrongTail, "HAS A RECORD OF WRONG LENGTH.");
    std::string badIndex = good;
    putInt(badIndex, 4 + 4 * 65, 6001);  // character 65, "A"
    check("index past the arrays", badIndex, "GLYPH INDEX OF CHARACTER 65 IS OUT OF RANGE.");
    putInt(badIndex, 4 + 4 * 65, 0);
    check("index 0", badIndex, "GLYPH INDEX OF CHARACTER 65 IS OUT OF RANGE.");
    putInt(badIndex, 4 + 4 * 65, -5);
    check("negative index", badIndex, "GLYPH INDEX OF CHARACTER 65 IS OUT OF RANGE.");
    // A glyph that runs into the end of the arrays without its end mark.
    std::string endless = good;
    const std::size_t xAt = 4 + 1024 + 4 + 4, yAt = xAt + 6000 + 8;
    putInt(endless, 4 + 4 * 200, 5999);
    endless[xAt + 5998] = endless[xAt + 5999] = 70;
    endless[yAt + 5998] = endless[yAt + 5999] = 70;
    check("no end mark", endless, "GLYPH OF CHARACTER 200 HAS NO END.");

    // Nothing was loaded: the tables are still unavailable.
    errors().clear();
    std::vector<int> index(256);
    std::string xs(6000, ' '), ys(6000, ' ');
    zep::szqfnt(index.data(), xs, ys);
    if (errors() != std::vector<std::string>{"SZQFNT: FONT FILE HAS NOT BEEN LOADED."}) failure += "tables after failures\n";

    // The good file loads; a broken font 2 afterwards leaves font 1 in place.
    if (!loadFrom(good).empty()) failure += "good file reported\n";
    writeFile("font2u", good.substr(0, 100));
    zep::sgiset("IFONT", 2);
    errors().clear();
    int n = 0;
    zep::szfint(n);
    if (errors() != std::vector<std::string>{"SZFONT: FONT FILE <font2u> IS TRUNCATED."}) failure += "font 2 report\n";
    zep::szqfnt(index.data(), xs, ys);
    int want = 0;
    std::memcpy(&want, good.data() + 4 + 4 * 65, 4);
    if (index[65] != want) failure += "font 1 lost after a failed load\n";
    // A missing file.
    zep::swcset("FONT2", "no-such-font-file");
    zep::sgiset("IFONT", 1);
    zep::szfint(n);
    zep::sgiset("IFONT", 2);
    errors().clear();
    zep::szfint(n);
    if (errors() != std::vector<std::string>{"SZFONT: FONT FILE DOES NOT EXIST."}) failure += "missing file\n";
    return failure;
  });
}

TEST(StrokeFontFile, BrokenFileEndsTheProcessWithItsReport) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        zeptest::TempWorkDir dir;
        writeFile("font1u", shippedFont().substr(0, 3000));
        int n = 0;
        zep::szfint(n);
      },
      testing::KilledBySignal(SIGABRT), zeptest::lineRegex(" ***** ERROR (SZFONT) ***  FONT FILE <font1u> IS TRUNCATED."));
}

TEST(StrokeFontFile, ShippedFontsAreWhatTheGeneratorMakes) {
  // The committed font files are the generator's output for the committed sources.
  zeptest::TempWorkDir dir;
  int status = -1;
  const std::string out = zeptest::runCommand(std::string("python3 '") + ZEP_SOURCE_DIR + "/tools/make_stroke_fonts.py' '" +
                                                  ZEP_SOURCE_DIR + "/data' . 2>&1",
                                              &status);
  if (status == 127) GTEST_SKIP() << "no python3";
  ASSERT_EQ(status, 0) << out;
  for (const char* name : {"font1u", "font2u"})
    EXPECT_EQ(zeptest::readFile(name), zeptest::readFile(fs::path(ZEP_SOURCE_DIR) / "data" / name)) << name;
}

}  // namespace
