// Every program of examples/ (the gallery has its own picture test) runs to its
// end and draws: its PNG pages carry ink, and the figures of the README also
// write their one-page PDF.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/exact_page.hpp"
#include "support/png_image.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;

std::string run(const zeptest::TempWorkDir& dir, const std::string& program, const std::string& args, int& status) {
  const fs::path exe = fs::path(ZEP_BUILD_DIR) / program;
  return zeptest::runCommand("cd '" + dir.path().string() + "' && GL_MSGLEV=2 '" + exe.string() + "' " + args + " 2>&1",
                             &status);
}

// Inked pixels of a PNG page (anything not white).
int ink(const fs::path& png) {
  const zeptest::Png page(png);
  if (!page.ok()) return -1;
  const zeptest::PagePixels p{page};
  return p.inkIn(0, page.width() - 1, 0, page.height() - 1);
}

TEST(Examples, EveryExampleRunsAndDraws) {
  const std::vector<std::string> programs = {
      "first_figure",    "page_titles",         "labelled_lines", "text_gallery",       "map_projections",
      "curvilinear_and_perspective", "drawing_data", "contours", "framed_axes", "figure_time_series",
      "figure_global_field", "figure_wind",     "figure_scatter", "colormap_swatches"};
  for (const std::string& program : programs) {
    zeptest::TempWorkDir dir;
    int status = -1;
    const std::string out = run(dir, program, "-SW_IFL=1", status);
    EXPECT_EQ(status, 0) << program << ": " << out;
    int pages = 0;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
      if (entry.path().extension() != ".png") continue;
      ++pages;
      EXPECT_GT(ink(entry.path()), 100) << program << ": " << entry.path().filename();
    }
    EXPECT_GT(pages, 0) << program << " wrote no PNG page: " << out;
  }
}

TEST(Examples, TheReadmeFiguresWriteTheirPdfPageAtItsSize) {
  struct Figure {
    const char* name;
    const char* size;
  } figures[] = {{"figure_time_series", "453.543 x 283.465 pts"},
                 {"figure_global_field", "566.929 x 255.118 pts"},
                 {"figure_wind", "340.157 x 283.465 pts"},
                 {"figure_scatter", "340.157 x 283.465 pts"}};
  for (const Figure& f : figures) {
    zeptest::TempWorkDir dir;
    int status = -1;
    const std::string out = run(dir, f.name, "", status);
    EXPECT_EQ(status, 0) << f.name << ": " << out;
    const fs::path pdf = dir.path() / (std::string(f.name) + ".pdf");
    EXPECT_EQ(zeptest::pdfinfoValue(pdf, "Pages"), "1") << f.name;
    EXPECT_EQ(zeptest::pdfinfoValue(pdf, "Page size"), f.size) << f.name;
  }
}

// Non-blank lines that are not only a comment ("//" in C++, "#" in Python).
int codeLines(const fs::path& file, const std::string& comment) {
  std::ifstream in(file);
  int n = 0;
  for (std::string line; std::getline(in, line);) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first != std::string::npos && line.compare(first, comment.size(), comment) != 0) ++n;
  }
  return n;
}

// The four figures of the README are at most 1.2 times the lines of their
// matplotlib equivalents, and the README's table gives today's counts.
TEST(Examples, TheReadmeFiguresAreAsShortAsMatplotlib) {
  const fs::path src(ZEP_SOURCE_DIR);
  std::ifstream readmeFile(src / "README.md");
  std::stringstream readme;
  readme << readmeFile.rdbuf();
  for (const char* name : {"time_series", "global_field", "wind", "scatter"}) {
    const int ours = codeLines(src / "examples" / ("figure_" + std::string(name) + ".cpp"), "//");
    const int theirs = codeLines(src / "examples" / "matplotlib" / ("figure_" + std::string(name) + ".py"), "#");
    ASSERT_GT(theirs, 5) << name;
    EXPECT_LE(ours, 1.2 * theirs) << name << ": " << ours << " lines against " << theirs;
    std::string image(name);
    for (char& c : image)
      if (c == '_') c = '-';
    const std::regex row("figure-" + image + "\\.png\\)[^\\n]*\\| " + std::to_string(ours) + " \\| " +
                         std::to_string(theirs) + " \\|");
    EXPECT_TRUE(std::regex_search(readme.str(), row)) << name << ": the README's row should read " << ours << " | "
                                                      << theirs;
  }
}

}  // namespace
