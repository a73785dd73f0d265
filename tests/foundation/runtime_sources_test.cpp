// The configuration file, environment variables and command-line options, seen
// end to end through a child program that reads the GL tables.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <map>
#include <zep/zep.hpp>

#include "support/test_support.hpp"

namespace {

struct ProbeResult {
  std::map<std::string, std::string> values;
  std::string output;
  int status = -1;
  std::string operator[](const std::string& k) const {
    auto it = values.find(k);
    return it == values.end() ? "<missing>" : it->second;
  }
};

// Runs the probe in `dir` with a clean environment plus `env`, and `args` as options.
ProbeResult probe(const zeptest::TempWorkDir& dir, const std::string& env, const std::string& args) {
  const std::string command = "cd '" + dir.path().string() + "' && env -i PATH=/usr/bin:/bin " + env + " " +
                              ZEP_HELPER_zep_param_probe + " " + args + " 2>&1";
  ProbeResult r;
  r.output = zeptest::runCommand(command, &r.status);
  std::istringstream in(r.output);
  for (std::string line; std::getline(in, line);) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) r.values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return r;
}

void writeFile(const std::filesystem::path& p, const std::string& content) { std::ofstream(p) << content; }

TEST(RuntimeSources, PrecedenceFileEnvironmentCommandLine) {
  zeptest::TempWorkDir dir;
  writeFile(dir.path() / ".zeprc", "* a comment\nGL_MAXMSG 10\nGL_LLMSG  T\nGL_RFACT 2.5\n");
  EXPECT_EQ(probe(dir, "", "")["MAXMSG"], "10");
  EXPECT_EQ(probe(dir, "", "")["LLMSG"], "1");
  EXPECT_EQ(probe(dir, "", "")["RFACT"], "2.5");
  EXPECT_EQ(probe(dir, "GL_MAXMSG=20", "")["MAXMSG"], "20");
  EXPECT_EQ(probe(dir, "GL_MAXMSG=20", "-GL_MAXMSG=30")["MAXMSG"], "30");
  EXPECT_EQ(probe(dir, "", "-gl_maxmsg=31")["MAXMSG"], "31");       // case is ignored
  EXPECT_EQ(probe(dir, "", "-GL_MAXMSG 32")["MAXMSG"], "10");       // no "=": not an option
  EXPECT_EQ(probe(dir, "", "-GL_MAXMSGX=33")["MAXMSG"], "10");      // no prefix matching
  // A long name beats a short name from any source, even a short-name option
  // beaten by a long-name record in the file.
  writeFile(dir.path() / ".zeprc", "MESSAGE_LEVEL 2\n");
  EXPECT_EQ(probe(dir, "GL_MSGLEV=1", "-GL_MSGLEV=1")["MSGLEV"], "2");
  EXPECT_EQ(probe(dir, "MESSAGE_LEVEL=3", "")["MSGLEV"], "3");
  EXPECT_EQ(probe(dir, "MESSAGE_LEVEL=3", "-MESSAGE_LEVEL=4")["MSGLEV"], "4");
}

TEST(RuntimeSources, SpecialCharacters) {
  zeptest::TempWorkDir dir;
  writeFile(dir.path() / ".zeprc", "GL_MSGLEV:2\nGL_MAXMSG 7\n# GL.NLNSIZE 50\nGL.NLNSIZE 60\n");
  const ProbeResult r = probe(dir, "ZEPDIVCHAR=:", "");
  EXPECT_EQ(r["MSGLEV"], "2");
  EXPECT_EQ(r["MAXMSG"], "20");  // without ":" the record has a blank name
  const ProbeResult s = probe(dir, "ZEPENVCHAR=. ZEPCOMCHAR=#", "+GL.LLMSG:T");
  EXPECT_EQ(s["NLNSIZE"], "60");
  EXPECT_EQ(s["LLMSG"], "0");
  EXPECT_EQ(probe(dir, "ZEPENVCHAR=. ZEPOPTCHAR=+ ZEPSETCHAR=:", "+GL.LLMSG:T")["LLMSG"], "1");
  EXPECT_EQ(probe(dir, "ZEPENVCHAR=. GL.MAXMSG=9", "")["MAXMSG"], "9");
}

TEST(RuntimeSources, GlobalCharacterTableNeverReadsTheFile) {
  zeptest::TempWorkDir dir;
  writeFile(dir.path() / ".zeprc",
            "GL_DUPATH /from/file/\nCONFIG_FILE other.rc\nUSER_DATABASE_DIR /long/file/\nGL_MAXMSG 11\n");
  const ProbeResult r = probe(dir, "", "");
  EXPECT_EQ(r["DUPATH"], "[]");
  EXPECT_EQ(r["ZEPRC"], "[.zeprc]");
  EXPECT_EQ(r["MAXMSG"], "11");
  EXPECT_EQ(probe(dir, "GL_DUPATH=/from/env/", "")["DUPATH"], "[/from/env/]");
  EXPECT_EQ(probe(dir, "", "-GL_DSPATH=/opt/x/")["DSPATH"], "[/opt/x/]");
  // glcstx consults the file under the long name, except for the file's own name.
  const ProbeResult stx = probe(dir, "ZEPTEST_ACTION=stx", "");
  EXPECT_EQ(stx["DUPATH"], "[/long/file/]");
  EXPECT_EQ(stx["ZEPRC"], "[program.rc]");
  EXPECT_EQ(stx["MAXMSG"], "11");
}

TEST(RuntimeSources, ConfigurationFileIsFoundInTheDataDirectories) {
  zeptest::TempWorkDir dir;
  std::filesystem::create_directory(dir.path() / "user");
  std::filesystem::create_directory(dir.path() / "work");
  writeFile(dir.path() / "user" / "my.rc", "GL_MAXMSG 44\n");
  const std::string env = "GL_DUPATH=" + (dir.path() / "user").string() + "/ GL_ZEPRC=my.rc";
  zeptest::TempWorkDir other;
  EXPECT_EQ(probe(other, env, "")["MAXMSG"], "44");
  writeFile(other.path() / "my.rc", "GL_MAXMSG 45\n");  // the working directory comes first
  EXPECT_EQ(probe(other, env, "")["MAXMSG"], "45");
}

TEST(RuntimeSources, SettingsChangeWhatReportsDo) {
  zeptest::TempWorkDir dir;
  ProbeResult r = probe(dir, "ZEPTEST_ACTION=warnings GL_MAXMSG=2", "");
  EXPECT_NE(r.output.find(" *** WARNING (PROBE ) ***  WARNING 2"), std::string::npos);
  EXPECT_NE(r.output.find(" +++ THE FOLLOWING MESSAGES ARE SUPPRESSED."), std::string::npos);
  EXPECT_EQ(r.output.find("WARNING 3"), std::string::npos);
  r = probe(dir, "ZEPTEST_ACTION=warnings", "-GL_MSGLEV=2");
  EXPECT_EQ(r.output.find("WARNING"), std::string::npos);
  writeFile(dir.path() / ".zeprc", "GL_LLMSG T\n");
  r = probe(dir, "ZEPTEST_ACTION=warnings", "");
  EXPECT_NE(r.output.find(" - Warning (PROBE@ MAIN) WARNING 1"), std::string::npos);
}

TEST(RuntimeSources, MalformedValuesEndInOneReport) {
  zeptest::TempWorkDir dir;
  ProbeResult r = probe(dir, "GL_MAXMSG=abc", "");
  EXPECT_NE(r.status, 0);
  const std::string line = " ***** ERROR (JFROMC) ***  THERE IS A NON-NUMERAL CHARACTER.";
  ASSERT_NE(r.output.find(line), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find(line), r.output.rfind(line));
  r = probe(dir, "", "-ENABLE_LONG_MESSAGE=maybe");
  EXPECT_NE(r.output.find(" ***** ERROR (LFROMC) ***  THIS IS INVALID LOGICAL EXPRESSION."), std::string::npos);
  writeFile(dir.path() / ".zeprc", "GL_RMISS\n");  // a matching entry is converted even when blank
  r = probe(dir, "", "");
  EXPECT_NE(r.output.find(" ***** ERROR (FFROMC) ***  THERE IS NO VALID CHARACTER."), std::string::npos);
}

TEST(RuntimeSources, AtMostOneHundredEntries) {
  zeptest::TempWorkDir dir;
  std::string content = "* comments do not count\n\n";  // a blank record does
  for (int i = 0; i < 99; ++i) content += "X" + std::to_string(i) + " 1\n";
  writeFile(dir.path() / ".zeprc", content + "* another comment\n");
  ProbeResult r = probe(dir, "", "");
  EXPECT_EQ(r.status, 0) << r.output;
  writeFile(dir.path() / ".zeprc", content + "GL_MAXMSG 3\n");
  r = probe(dir, "", "");
  EXPECT_NE(r.output.find(" ***** ERROR (RTNXFL) ***  NUMBER OF INPUT PARAMETERS IS TOO LARGE (>100)."),
            std::string::npos);
  // Very long records are cut at 80 characters, never overrun.
  writeFile(dir.path() / ".zeprc", "GL_MAXMSG 12" + std::string(500, ' ') + "junk\n");
  EXPECT_EQ(probe(dir, "", "")["MAXMSG"], "12");
  EXPECT_EQ(probe(dir, "GL_DUPATH=" + std::string(300, 'd'), "")["DUPATH"], "[" + std::string(80, 'd') + "]");
}

TEST(RuntimeSources, ArgumentsComeFromTheOperatingSystem) {
  zeptest::TempWorkDir dir;
  const ProbeResult r = probe(dir, "", "first -GL_MAXMSG=3 " + std::string(100, 'a'));
  EXPECT_EQ(r["NARG"], "3");
  EXPECT_EQ(r["ARG1"], "[first]");
  EXPECT_EQ(r["ARG2"], "[-GL_MAXMSG=3]");
  EXPECT_EQ(r["ARG3"], "[" + std::string(80, 'a') + "]");
  EXPECT_NE(r["ARG0"].find("zep_param_probe"), std::string::npos);
  EXPECT_EQ(r["MAXMSG"], "3");
}

TEST(OperatingSystem, EnvironmentArgumentsAndVersion) {
  ::setenv("ZEPTEST_VALUE", "hello", 1);
  std::string v(10, 'x');
  zep::osgenv("ZEPTEST_VALUE   ", v);
  EXPECT_EQ(v, "hello     ");
  zep::osgenv("ZEPTEST_UNSET_VARIABLE", v);
  EXPECT_EQ(v, std::string(10, ' '));
  char five[5];
  zep::zepvnm(five);
  EXPECT_EQ(std::string(five, 5), "zep-7");
  std::string full(12, '?');
  zep::zepvnm(full);
  EXPECT_EQ(full, "zep-7.0.0   ");
  const char* argv[] = {"prog", "-SG_LCLIP=T", "x"};
  zep::zep_set_arguments(3, argv);
  int n = 0;
  zep::osqarn(n);
  EXPECT_EQ(n, 2);
  std::string arg(12, '?');
  zep::osgarg(1, arg);
  EXPECT_EQ(arg, "-SG_LCLIP=T ");
  zep::osgarg(7, arg);
  EXPECT_EQ(arg, std::string(12, ' '));
  bool clip = false;
  zep::rtlopt("SG", "LCLIP", clip);
  EXPECT_TRUE(clip);
}

}  // namespace

namespace {

TEST(RuntimeSources, BlankLinesAndLeadingBlanksMatchNoParameter) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    std::ofstream(".zeprc") << "\n   leading blank\nSW_IBGPAGE 3\n";
    const char* argv[] = {"prog", "-=7"};
    zep::zep_set_arguments(2, argv);
    int v = 0;
    zep::swiget("IBGPAGE", v);  // the parameter whose long name is blank
    return v == 3 ? std::string() : "IBGPAGE " + std::to_string(v);
  });
}

}  // namespace

namespace {

int tooManyEntries = 0;
void countTooManyEntries(std::string_view routine, std::string_view text) {
  if (routine == "RTNXFL" && text == "NUMBER OF INPUT PARAMETERS IS TOO LARGE (>100).") ++tooManyEntries;
}

// The report about an over-long file reads the GL tables, whose own first use
// must not read the file a second time and report again.
TEST(RuntimeSources, AnOverlongFileIsReportedOnce) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    std::string content;
    for (int i = 0; i < 100; ++i) content += "X" + std::to_string(i) + " 1\n";
    std::ofstream(".zeprc") << content << "SW_IWIDTH 640\n";
    zep::set_msgdmp_err_func(&countTooManyEntries);
    int width = 0;
    zep::swiget("IWIDTH", width);  // a table other than the dumper's comes first
    if (tooManyEntries != 1) return "reports: " + std::to_string(tooManyEntries);
    return width == 900 ? std::string() : "IWIDTH " + std::to_string(width);
  });
}

}  // namespace
