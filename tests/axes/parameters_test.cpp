// The AX parameter tables: the ten operations, and overrides from the
// configuration file, the environment and the command line in a child process.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <zep/zep.hpp>

#include "support/test_support.hpp"

namespace {

std::map<std::string, std::string> probe(const zeptest::TempWorkDir& dir, const std::string& env,
                                         const std::string& args) {
  const std::string command = "cd '" + dir.path().string() + "' && env -i PATH=/usr/bin:/bin " + env + " " +
                              ZEP_HELPER_zep_axes_probe + " " + args + " 2>&1";
  int status = -1;
  const std::string out = zeptest::runCommand(command, &status);
  std::map<std::string, std::string> values;
  values["status"] = std::to_string(status);
  values["output"] = out;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return values;
}

void writeFile(const std::filesystem::path& p, const std::string& content) { std::ofstream(p) << content; }

TEST(AxisParameters, RuntimeSourcesReachTheTables) {
  zeptest::TempWorkDir dir;
  auto v = probe(dir, "", "");
  EXPECT_EQ(v["NTICK"], "6");
  EXPECT_EQ(v["NMAJOR"], "6");
  EXPECT_EQ(v["LMINOR"], "1");
  EXPECT_EQ(v["CDEG"], "[\xC2\xB0]");

  writeFile(dir.path() / ".zeprc", "AX_NTICK 11\nAX_LMINOR F\nLABEL_HEIGHT 0.03\nAX_CDEG deg\n");
  v = probe(dir, "", "");
  EXPECT_EQ(v["NTICK"], "11") << v["output"];
  EXPECT_EQ(v["NMAJOR"], "11");  // the ticks follow the override
  EXPECT_EQ(v["LMINOR"], "0");
  EXPECT_EQ(v["RLABEL"], "0.03");
  EXPECT_EQ(v["CDEG"], "[deg]");
  // The environment beats the file, the command line the environment.
  v = probe(dir, "AX_NTICK=3 AX_ITICK=2", "");
  EXPECT_EQ(v["NTICK"], "3");
  EXPECT_EQ(v["NMAJOR"], "3");
  EXPECT_EQ(v["ITICK"], "2");
  v = probe(dir, "AX_NTICK=3", "-AX_NTICK=2 -ax_itick=3");
  EXPECT_EQ(v["NTICK"], "2");
  EXPECT_EQ(v["ITICK"], "3");
  // Long names beat short names.
  EXPECT_EQ(probe(dir, "", "-AX_NTICK=2 -MAJOR_TICK_TARGET=5")["NTICK"], "5");
  // A program's set-with-override yields to the user, a plain set does not.
  EXPECT_EQ(probe(dir, "ZEPTEST_ACTION=stx", "")["NTICK"], "11");
  EXPECT_EQ(probe(dir, "ZEPTEST_ACTION=set", "")["NTICK"], "4");
  writeFile(dir.path() / ".zeprc", "");
  EXPECT_EQ(probe(dir, "ZEPTEST_ACTION=stx", "")["NTICK"], "4");
  // A malformed value is reported, not taken.
  v = probe(dir, "AX_NTICK=many", "");
  EXPECT_NE(v["status"], "0");
  EXPECT_EQ(v.count("NTICK"), 0U) << v["output"];
}

TEST(AxisParameters, TheTenOperations) {
  int n = 0;
  zep::axiqnp(n);
  EXPECT_EQ(n, 12);
  zep::axlqnp(n);
  EXPECT_EQ(n, 6);
  zep::axrqnp(n);
  EXPECT_EQ(n, 10);
  zep::axcqnp(n);
  EXPECT_EQ(n, 2);
  int id = 0;
  zep::axrqid("label_height", id);
  std::string name(8, ' '), longName(40, ' ');
  zep::axrqcp(id, name);
  zep::axrqcl(id, longName);
  EXPECT_EQ(name, "RLABEL  ");
  EXPECT_EQ(longName.substr(0, 12), "LABEL_HEIGHT");
  float h = 0;
  zep::axrqvl(id, h);
  EXPECT_FLOAT_EQ(h, 0.02F);
  zep::axrsvl(id, 0.05F);
  zep::axrget("RLABEL", h);
  EXPECT_FLOAT_EQ(h, 0.05F);
  zep::axrset("RLABEL", 0.02F);
  zep::axiqin("NOSUCH", id);
  EXPECT_EQ(id, 0);
  std::string sign(4, '?');
  zep::axcget("CTIMES", sign);
  EXPECT_EQ(sign, "\xC3\x97  ");
  EXPECT_EXIT(zep::axiget("NOSUCH", n), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (AXIQID) ***  PARAMETER 'NOSUCH' IS NOT DEFINED."));
  EXPECT_EXIT(zep::axlsvl(7, true), testing::KilledBySignal(SIGABRT),
              zeptest::lineRegex(" ***** ERROR (AXLSVL) ***  IDX IS OUT OF RANGE."));
}

}  // namespace

namespace {

// The README's program is the example program, line for line.
TEST(AxisDocumentation, ReadmeShowsTheExampleProgram) {
  const std::string readme = zeptest::readFile(std::filesystem::path(ZEP_SOURCE_DIR) / "README.md");
  const std::string example = zeptest::readFile(std::filesystem::path(ZEP_SOURCE_DIR) / "examples/framed_axes.cpp");
  std::string indented;
  std::istringstream in(example.substr(example.find("#include <cmath>")));
  for (std::string line; std::getline(in, line);) indented += (line.empty() ? "" : "    " + line) + "\n";
  EXPECT_NE(readme.find(indented), std::string::npos);
  EXPECT_NE(readme.find("(docs/framed_axes.png)"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(ZEP_SOURCE_DIR) / "docs/framed_axes.png"));
}

}  // namespace
