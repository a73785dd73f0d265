// What the README promises a new user about the first program: which message
// level silences what, where the output goes, how workstation 2 lays out its
// page, and where an installed library looks for its data.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/png_image.hpp"
#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;

std::string readme() { return zeptest::readFile(fs::path(ZEP_SOURCE_DIR) / "README.md"); }

// The first indented code block after the heading.
std::string codeAfter(const std::string& heading) {
  std::istringstream in(readme());
  std::string line, code;
  bool inSection = false, inCode = false;
  while (std::getline(in, line)) {
    if (!inSection) {
      inSection = line == heading;
      continue;
    }
    if (line.rfind("    ", 0) == 0) {
      inCode = true;
      code += line.substr(4) + "\n";
    } else if (inCode && !line.empty()) {
      break;
    } else if (inCode) {
      code += "\n";
    }
  }
  return code;
}

// Builds `code` into `name` in the working directory; the compiler's output on failure.
std::string build(const std::string& name, const std::string& code) {
  std::ofstream(name + ".cpp") << code;
  std::string flags = "-std=c++20";
  if (ZEP_TEST_SANITIZE) flags += " -fsanitize=address,undefined";
  int status = -1;
  const std::string out = zeptest::runCommand(
      std::string(ZEP_TEST_CXX) + " " + flags + " -I" ZEP_SOURCE_DIR "/include " + name + ".cpp -o " + name + " " ZEP_BUILD_DIR
      "/libzep.a $(pkg-config --libs gtk+-2.0 pangocairo cairo-pdf cairo-ps cairo-svg libpng) -lm 2>&1",
      &status);
  return status == 0 ? "" : out;
}

// Runs a built program; its standard error only (the reports' unit).
std::string run(const std::string& command, int& status) {
  return zeptest::runCommand("GL_DSPATH=" ZEP_BUILD_DATA_DIR " " + command + " 2>&1 >/dev/null", &status);
}

struct Box {
  int width = 0, height = 0;
};

// The extent of the ink on a PDF page rendered small.
Box inkBox(const std::string& pdf) {
  zeptest::runCommand("pdftoppm -r 30 -png -singlefile '" + pdf + "' ink 2>&1");
  const zeptest::Png png("ink.png");
  Box box;
  if (!png.ok()) return box;
  int x0 = png.width(), x1 = -1, y0 = png.height(), y1 = -1;
  for (int y = 0; y < png.height(); ++y)
    for (int x = 0; x < png.width(); ++x)
      if ((png.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu) {
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
      }
  if (x1 >= 0) box = {x1 - x0 + 1, y1 - y0 + 1};
  return box;
}

// The README's first program, with the figure layer: one page of the size asked.
TEST(ReadmePromises, FirstProgramWritesItsPageAtItsSize) {
  const std::string code = codeAfter("## A first program");
  ASSERT_NE(code.find("zep::fgopn("), std::string::npos) << "no first program in the README";
  zeptest::TempWorkDir dir;
  ASSERT_EQ(build("first", code), "");
  int status = -1;
  const std::string err = run("./first -GL_MSGLEV=1", status);
  EXPECT_EQ(status, 0) << err;
  EXPECT_EQ(err, "");  // no warning
  const std::string info = zeptest::runCommand("pdfinfo zep.pdf 2>&1");
  EXPECT_NE(info.find("453.543 x 283.465 pts"), std::string::npos) << info;
  run("./first -GL_MSGLEV=2 -SW_IFL=1", status);
  const zeptest::Png png("zep_0001.png");
  ASSERT_TRUE(png.ok());
  EXPECT_EQ(png.width(), 630);
  EXPECT_EQ(png.height(), 394);
}

TEST(ReadmePromises, KernelProgramMessagesOutputAndPage) {
  const std::string code = codeAfter("### The same frame with the kernel's routines");
  ASSERT_NE(code.find("zep::sgopn(2)"), std::string::npos) << "no kernel program in the README";
  zeptest::TempWorkDir dir;
  ASSERT_EQ(build("first", code), "");

  // MSGLEV 0 writes messages and warnings, 1 warnings only, 2 and more neither.
  const std::string progress = "GRPH1 : STARTED / IWS =  2.";
  const std::string warning = "WORKSTATION VIEWPORT WAS MODIFIED.";
  for (int level = 0; level <= 3; ++level) {
    int status = -1;
    const std::string err = run("./first -GL_MSGLEV=" + std::to_string(level), status);
    EXPECT_EQ(status, 0) << err;
    EXPECT_EQ(err.find(progress) != std::string::npos, level == 0) << "MSGLEV " << level << ":\n" << err;
    EXPECT_EQ(err.find(warning) != std::string::npos, level <= 1) << "MSGLEV " << level << ":\n" << err;
  }
  const std::string text = readme();
  for (const char* promise : {"are\nwritten only at `MSGLEV` 0 (the default)", "are written at `MSGLEV` 0 and 1",
                              "`MSGLEV` 2 or more silences both"})
    EXPECT_NE(text.find(promise), std::string::npos) << "the README no longer says: " << promise;

  // zep.pdf in the working directory, overwritten by each run: one A4 portrait
  // page, the plot turned so that the wave runs up the page.
  std::ofstream("zep.pdf") << "not a PDF from an earlier run\n";
  int status = -1;
  run("./first -GL_MSGLEV=2", status);
  const std::string info = zeptest::runCommand("pdfinfo zep.pdf 2>&1");
  EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
  EXPECT_NE(info.find("595 x 842 pts (A4)"), std::string::npos) << info;
  const Box turned = inkBox("zep.pdf");
  EXPECT_GT(turned.height, turned.width * 3 / 2) << turned.width << " x " << turned.height;

  // Another stem, and PNG pages numbered from 1.
  run("./first -GL_MSGLEV=2 -SW_FNAME=wave", status);
  EXPECT_NE(zeptest::runCommand("pdfinfo wave.pdf 2>&1").find("Pages:           1"), std::string::npos);
  run("./first -GL_MSGLEV=2 -SW_IFL=1", status);
  EXPECT_TRUE(zeptest::Png("zep_0001.png").ok());

  // sgopn(-2): the same A4 page with the plot upright.
  std::string upright = code;
  upright.replace(upright.find("zep::sgopn(2)"), 13, "zep::sgopn(-2)");
  ASSERT_EQ(build("upright", upright), "");
  run("./upright -GL_MSGLEV=2 -SW_FNAME=upright", status);
  EXPECT_NE(zeptest::runCommand("pdfinfo upright.pdf 2>&1").find("595 x 842 pts (A4)"), std::string::npos);
  const Box up = inkBox("upright.pdf");
  EXPECT_GT(up.width, up.height * 3 / 2) << up.width << " x " << up.height;
}

// The compiled default of the data directory is the configured install prefix's.
TEST(ReadmePromises, DefaultDataDirectoryIsTheConfiguredPrefixs) {
  const std::string cache = zeptest::readFile(fs::path(ZEP_BUILD_DIR) / "CMakeCache.txt");
  const std::string key = "CMAKE_INSTALL_PREFIX:PATH=";
  const std::size_t at = cache.find(key);
  ASSERT_NE(at, std::string::npos);
  const std::string prefix = cache.substr(at + key.size(), cache.find('\n', at) - at - key.size());
  zeptest::TempWorkDir dir;
  ASSERT_EQ(build("dspath", "#include <cstdio>\n#include <string>\n#include <zep/zep.hpp>\n"
                            "int main() { std::string d(80, ' '); zep::glcget(\"DSPATH\", d);"
                            " std::printf(\"[%s]\\n\", d.substr(0, d.find_last_not_of(' ') + 1).c_str()); }\n"),
            "");
  const std::string out = zeptest::runCommand("env -u GL_DSPATH -u SYSTEM_DATABASE_DIR ./dspath 2>&1");
  EXPECT_EQ(out, "[" + prefix + "/lib/czepdbase/]\n");
  EXPECT_NE(readme().find("`<prefix>/lib/czepdbase/`"), std::string::npos);
}

}  // namespace
