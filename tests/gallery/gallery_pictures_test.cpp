// Picture regression: every page of the gallery, rendered to PNG, against the
// reference pictures kept in tests/reference/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "gallery/picture_compare.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;

const fs::path kReferences = fs::path(ZEP_SOURCE_DIR) / "tests" / "reference";
constexpr const char* kRegenerate = "scripts/update-references.sh";

// ---------------------------------------------------------------------------
// The comparison itself
// ---------------------------------------------------------------------------

zeptest::Picture blank(int w, int h, std::uint32_t rgb = 0xffffff) {
  return {w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h, rgb)};
}

TEST(PictureCompare, ExactThenToleranceThenBudget) {
  const zeptest::Picture want = blank(8, 6);
  zeptest::Picture got = want;
  EXPECT_TRUE(zeptest::compare(got, want, {}).exact());

  // A small change in one channel of one pixel: not exact, but inside a
  // tolerance of 4, and outside a tolerance of 2 unless the budget allows it.
  got.pixels[9] = 0xfffcff;
  zeptest::Comparison c = zeptest::compare(got, want, {4, 0});
  EXPECT_FALSE(c.exact());
  EXPECT_EQ(c.differing, 1);
  EXPECT_EQ(c.beyond, 0);
  EXPECT_EQ(c.largest, 3);
  EXPECT_TRUE(c.passes({4, 0}));
  c = zeptest::compare(got, want, {2, 0});
  EXPECT_EQ(c.beyond, 1);
  EXPECT_FALSE(c.passes({2, 0}));
  EXPECT_TRUE(c.passes({2, 1}));

  // Each channel counts, blue (the low byte) as much as red.
  got = want;
  got.pixels[0] = 0xffff00;
  got.pixels[1] = 0x00ffff;
  c = zeptest::compare(got, want, {254, 0});
  EXPECT_EQ(c.beyond, 2);
  EXPECT_EQ(c.largest, 255);

  // Another size never passes, whatever the budget.
  c = zeptest::compare(blank(8, 5), want, {255, 1000});
  EXPECT_FALSE(c.sameSize);
  EXPECT_FALSE(c.passes({255, 1000}));
  EXPECT_FALSE(zeptest::compare(zeptest::Picture{}, zeptest::Picture{}, {}).passes({}));
}

TEST(PictureCompare, DifferenceImageMarksWhatDiffers) {
  const zeptest::Picture want = blank(4, 3, 0x000000);
  zeptest::Picture got = want;
  got.pixels[5] = 0x400000;  // beyond a tolerance of 8
  got.pixels[6] = 0x000004;  // within it
  zeptest::Picture diff;
  zeptest::compare(got, want, {8, 0}, &diff);
  ASSERT_EQ(diff.width, 4);
  ASSERT_EQ(diff.height, 3);
  EXPECT_EQ(diff.at(1, 1), 0xff0000u);
  EXPECT_EQ(diff.at(2, 1), 0x0000ffu);
  // The rest is the reference faded: black becomes a light grey.
  EXPECT_EQ(diff.at(0, 0), 0xc0c0c0u);

  // And it survives the trip through a PNG file.
  zeptest::TempWorkDir dir;
  ASSERT_TRUE(zeptest::writePicture(diff, dir.path() / "d.png"));
  const zeptest::Picture back = zeptest::readPicture(dir.path() / "d.png");
  EXPECT_TRUE(zeptest::compare(back, diff, {}).exact());
}

// ---------------------------------------------------------------------------
// The gallery's pages
// ---------------------------------------------------------------------------

// Tolerances by kind of page from tests/reference/tolerances.txt: lines
// "<kind> <channel> <pixels>", "#" comments.
std::map<std::string, zeptest::Tolerance> readTolerances() {
  std::map<std::string, zeptest::Tolerance> t;
  for (const std::string& line : zeptest::readLines(kReferences / "tolerances.txt")) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream in(line);
    std::string name;
    zeptest::Tolerance tol;
    if (in >> name >> tol.channel >> tol.maxPixels) t[name] = tol;
  }
  return t;
}

std::vector<std::string> pngNames(const fs::path& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (e.path().extension() == ".png" && e.path().stem().string().find(".diff") == std::string::npos)
      names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Renders the gallery into a folder of the build tree that stays after the
// test, so that a failure leaves the pages and the difference images. Both
// formats are drawn, as the README's command does: the PNG pages then come from
// a second session in the same process, and a page that leaves a setting
// changed behind it shows up as a difference.
fs::path renderGallery(std::string& log) {
  const fs::path out = fs::path(ZEP_BUILD_DIR) / "test-work" / "gallery-pictures";
  std::error_code ec;
  fs::remove_all(out, ec);
  int status = -1;
  log = zeptest::runCommand(std::string("GL_MSGLEV=1 '") + ZEP_GALLERY + "' '" + out.string() + "' 2>&1",
                            &status);
  if (status != 0) log += "\n(exit status " + std::to_string(status) + ")";
  return status == 0 ? out : fs::path();
}

TEST(GalleryPictures, EveryPageMatchesItsReference) {
  std::string log;
  const fs::path out = renderGallery(log);
  ASSERT_FALSE(out.empty()) << "the gallery failed:\n" << log;
  // Warnings of the library would mean a page draws something it did not ask for.
  EXPECT_EQ(log.find("*** WARNING"), std::string::npos) << log;
  EXPECT_EQ(log.find("*** Error"), std::string::npos) << log;

  EXPECT_GT(fs::exists(out / "gallery.pdf") ? fs::file_size(out / "gallery.pdf") : 0, 0u);
  const std::vector<std::string> pages = pngNames(out);
  const std::vector<std::string> references = pngNames(kReferences);
  ASSERT_FALSE(pages.empty());
  EXPECT_EQ(pages, references) << "the gallery's pages and the reference pictures differ in number or name;\n"
                               << "if pages were added or removed on purpose, run " << kRegenerate
                               << " and look at the new references before committing them";

  // The gallery lists each page's kind (stroke-font or system-font text).
  std::map<std::string, std::string> kinds;
  for (const std::string& line : zeptest::readLines(out / "gallery-pages.txt")) {
    std::istringstream in(line);
    std::string file, kind;
    if (in >> file >> kind) kinds[file] = kind;
  }
  EXPECT_EQ(kinds.size(), pages.size()) << "gallery-pages.txt should list every page";
  const auto tolerances = readTolerances();
  ASSERT_TRUE(tolerances.count("stroke-font")) << "no tolerance for stroke-font pages in tolerances.txt";
  for (const std::string& name : pages) {
    if (!fs::exists(kReferences / name)) continue;
    const std::string kind = kinds.count(name) ? kinds.at(name) : "stroke-font";
    const zeptest::Tolerance tol = tolerances.count(kind) ? tolerances.at(kind) : tolerances.at("stroke-font");
    const zeptest::Picture got = zeptest::readPicture(out / name);
    const zeptest::Picture want = zeptest::readPicture(kReferences / name);
    ASSERT_FALSE(want.empty()) << "unreadable reference " << (kReferences / name);
    zeptest::Picture diff;
    const zeptest::Comparison c = zeptest::compare(got, want, tol, &diff);
    if (c.exact()) continue;
    const fs::path diffFile = out / (fs::path(name).stem().string() + ".diff.png");
    if (c.sameSize) zeptest::writePicture(diff, diffFile);
    EXPECT_TRUE(c.passes(tol)) << name << " differs from " << (kReferences / name).string() << ":\n  "
                               << (c.sameSize ? "" : "another size; ") << c.beyond
                               << " pixels differ by more than " << tol.channel << " in a channel (allowed "
                               << tol.maxPixels << "), " << c.differing << " differ at all, the largest by "
                               << c.largest << ".\n  Page: " << (out / name).string()
                               << "\n  Difference image (red beyond the tolerance): " << diffFile.string()
                               << "\n  If the change is intended, run " << kRegenerate
                               << " and look at the new references before committing them.";
  }
}

}  // namespace
