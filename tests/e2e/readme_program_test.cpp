// The program of the README's section "Drawing data" compiles as printed
// against the built library and draws its figure.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/png_image.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;

// The first code block (lines indented by four blanks) after the heading.
std::string codeAfter(const std::string& heading) {
  std::ifstream in(fs::path(ZEP_SOURCE_DIR) / "README.md");
  std::string line, code;
  bool inSection = false, inCode = false;
  while (std::getline(in, line)) {
    if (!inSection) {
      inSection = line == heading;
      continue;
    }
    const bool indented = line.rfind("    ", 0) == 0;
    if (indented) {
      inCode = true;
      code += line.substr(4) + "\n";
    } else if (inCode && !line.empty()) {
      break;
    } else if (inCode) {
      code += "\n";
    } else if (line.rfind("## ", 0) == 0) {
      break;
    }
  }
  return code;
}

TEST(ReadmeProgram, DrawingDataCompilesAsPrintedAndDraws) {
  const std::string code = codeAfter("## Drawing data");
  ASSERT_NE(code.find("int main()"), std::string::npos) << "no program in the section";
  zeptest::TempWorkDir dir;
  std::ofstream(dir.path() / "drawing.cpp") << code;

  std::string flags = "-std=c++20 -Wall -Wextra -Werror";
  if (ZEP_TEST_SANITIZE) flags += " -fsanitize=address,undefined";
  const std::string command = std::string(ZEP_TEST_CXX) + " " + flags + " -I" ZEP_SOURCE_DIR "/include drawing.cpp -o drawing " ZEP_BUILD_DIR
                              "/libzep.a $(pkg-config --libs gtk+-2.0 pangocairo cairo-pdf cairo-ps cairo-svg libpng) -lm 2>&1";
  int status = -1;
  const std::string out = zeptest::runCommand(command, &status);
  ASSERT_EQ(status, 0) << out;

  zeptest::runCommand("GL_DSPATH=" ZEP_BUILD_DATA_DIR " ./drawing -SW_IFL=1 -GL_MSGLEV=2 2>&1", &status);
  ASSERT_EQ(status, 0);
  const zeptest::Png png(dir.path() / "zep_0001.png");
  ASSERT_TRUE(png.ok());
  // The band (colour 14, light green) and the markers (colour 2, red) are there.
  const auto count = [&](std::uint32_t rgb) { return zeptest::countPixels(png, rgb, 0, 0, png.width(), png.height()); };
  EXPECT_GT(count(0x8CD264), 10000);
  EXPECT_GT(count(0xD7191C), 500);
}

}  // namespace
