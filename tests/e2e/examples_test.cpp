// Every program of examples/ (the gallery has its own picture test) runs to its
// end and draws: its PNG pages carry ink, and the figures of the README also
// write their one-page PDF.
#include <gtest/gtest.h>

#include <filesystem>
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

}  // namespace
