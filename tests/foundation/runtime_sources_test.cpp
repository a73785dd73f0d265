// The configuration file, environment variables and command-line options, seen
// end to end through a child program that reads the GL tables.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <map>
#include <sstream>
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
}

// Report lines as the probe wrote them, joined by "|" without their margin.
std::string reportLines(const ProbeResult& r) {
  std::string out;
  std::istringstream in(r.output);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(" *", 0) == 0) out += line.substr(1, line.find_last_not_of(' ')) + "|";
  return out;
}

TEST(RuntimeSources, AValueLongerThanItsParameterHoldsIsReported) {
  zeptest::TempWorkDir dir;
  // A cut value would be another value: a path elsewhere, a number ten times smaller.
  const ProbeResult env = probe(dir, "GL_DUPATH=" + std::string(300, 'd'), "");
  EXPECT_NE(env.status, 0);
  EXPECT_EQ(reportLines(env),
            "***** ERROR (RPNENV) ***  VALUE OF GL_DUPATH HAS 300 CHARACTERS; IT HOLDS 80.|"
            "***** ERROR (-CNT.-) ***  FROM THE ENVIRONMENT.|");
  const ProbeResult name = probe(dir, "ZEPTEST_ACTION=sw", "-SW_FNAME=" + std::string(113, 'n'));
  EXPECT_EQ(reportLines(name),
            "***** ERROR (RPNOPT) ***  VALUE OF SW_FNAME HAS 113 CHARACTERS; IT HOLDS 80.|"
            "***** ERROR (-CNT.-) ***  FROM THE COMMAND LINE.|");
  EXPECT_EQ(name["FNAME"], "<missing>");
  const ProbeResult width = probe(dir, "ZEPTEST_ACTION=sw", "-SW_IWIDTH=" + std::string(78, '0') + "600");
  EXPECT_NE(reportLines(width).find("VALUE OF SW_IWIDTH HAS 81 CHARACTERS; IT HOLDS 80."), std::string::npos)
      << width.output;
  writeFile(dir.path() / ".zeprc", "GL_MAXMSG 12" + std::string(500, ' ') + "junk\n");
  EXPECT_EQ(reportLines(probe(dir, "", "")),
            "***** ERROR (RPNXFL) ***  VALUE OF GL_MAXMSG HAS 506 CHARACTERS; IT HOLDS 32.|"
            "***** ERROR (-CNT.-) ***  FROM CONFIGURATION FILE .zeprc, LINE 1.|");
  // Exactly as long as the parameter holds is fine, from every source.
  const std::string path80 = "/" + std::string(78, 'p') + "/";
  writeFile(dir.path() / ".zeprc", "SW_FNAME " + std::string(80, 'f') + "\n");
  const ProbeResult fits = probe(dir, "ZEPTEST_ACTION=sw GL_DUPATH=" + path80, "-SW_IFL=4");
  EXPECT_EQ(fits.status, 0) << fits.output;
  EXPECT_EQ(fits["FNAME"], "[" + std::string(80, 'f') + "]");
}

TEST(RuntimeSources, ConfigurationFilesAsEditorsWriteThem) {
  zeptest::TempWorkDir dir;
  // A UTF-8 byte-order mark, indented and tab-separated records, an indented comment.
  writeFile(dir.path() / ".zeprc", "\xEF\xBB\xBFGL_MAXMSG 14\n   GL_MSGLEV 2\n\tGL_NLNSIZE\t90\n  * GL_RFACT 3\n");
  ProbeResult r = probe(dir, "", "");
  EXPECT_EQ(r["MAXMSG"], "14");
  EXPECT_EQ(r["MSGLEV"], "2");
  EXPECT_EQ(r["NLNSIZE"], "90");
  EXPECT_EQ(r["RFACT"], "1");
  // A binary file is reported, not skipped in silence.
  writeFile(dir.path() / ".zeprc", std::string("GL_MAXMSG 3\n\x7F" "ELF\x02\x01\x01\0\0\0", 22));
  r = probe(dir, "", "");
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(reportLines(r),
            "***** ERROR (RTNXFL) ***  CONFIGURATION FILE CANNOT BE READ.|"
            "***** ERROR (-CNT.-) ***  FILE .zeprc: LINE 2 HOLDS BINARY DATA.|");
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

namespace {

// Report lines are written padded to the line width; compare them trimmed.
bool hasLine(const std::string& output, const std::string& line) {
  std::istringstream in(output);
  for (std::string l; std::getline(in, l);)
    if (l.substr(0, l.find_last_not_of(' ') + 1) == line) return true;
  return false;
}

int countOf(const std::string& output, const std::string& part) {
  int n = 0;
  for (std::size_t p = output.find(part); p != std::string::npos; p = output.find(part, p + 1)) ++n;
  return n;
}

const char* const kNonNumeral = " ***** ERROR (JFROMC) ***  THERE IS A NON-NUMERAL CHARACTER.";

// A malformed value keeps its report and is followed by a line that names the
// parameter, where the text came from and the text itself.
TEST(RuntimeSources, MalformedValuesSayWhichParameterAndWhere) {
  zeptest::TempWorkDir dir;
  struct Case {
    std::string env, args, file, report, continuation;
  };
  const Case cases[] = {
      {"", "-SW_IFL=abc", "", kNonNumeral, "PARAMETER SW_IFL: \"abc\" FROM THE COMMAND LINE"},
      {"GL_NLNSIZE=120", "", "* settings\nSW_IFL one\n", kNonNumeral,
       "PARAMETER SW_IFL: \"one\" FROM CONFIGURATION FILE .zeprc, LINE 2"},
      {"GL_MSGLEV=x", "", "", kNonNumeral, "PARAMETER GL_MSGLEV: \"x\" FROM THE ENVIRONMENT"},
      {"SW_RLWFACT=1,5", "", "", kNonNumeral, "PARAMETER SW_RLWFACT: \"1,5\" FROM THE ENVIRONMENT"},
      {"", "-MESSAGE_LEVEL=two", "", kNonNumeral, "PARAMETER MESSAGE_LEVEL: \"two\" FROM THE COMMAND LINE"},
      // A real past the largest single-precision value is refused, not infinity.
      {"SW_RLWFACT=1e39", "", "", " ***** ERROR (RFROMC) ***  THE NUMBER IS OUT OF THE REAL RANGE.",
       "PARAMETER SW_RLWFACT: \"1e39\" FROM THE ENVIRONMENT"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(dir.path() / ".zeprc");
    if (!c.file.empty()) writeFile(dir.path() / ".zeprc", c.file);
    const ProbeResult r = probe(dir, "ZEPTEST_ACTION=sw " + c.env, c.args);
    EXPECT_NE(r.status, 0) << c.continuation;
    EXPECT_TRUE(hasLine(r.output, c.report)) << r.output;
    EXPECT_TRUE(hasLine(r.output, " ***** ERROR (-CNT.-) ***  " + c.continuation)) << r.output;
    EXPECT_EQ(countOf(r.output, "ERROR"), 2) << r.output;
  }
  // Values that are fine say nothing more.
  const ProbeResult fine = probe(dir, "ZEPTEST_ACTION=sw SW_RLWFACT=3.4e38", "-SW_IFL=2");
  EXPECT_EQ(fine.status, 0) << fine.output;
  EXPECT_EQ(fine["IFL"], "2");
}

// Names that belong to a known package but to none of its parameters are
// warned about once each, with the nearest name when one is close; names of
// other packages and other programs' options pass in silence.
TEST(RuntimeSources, UnknownParametersOfKnownPackagesAreWarnedOnce) {
  zeptest::TempWorkDir dir;
  writeFile(dir.path() / ".zeprc", "SW_IFX 1\nGL_MAXMSG 20\nsw_rlwfac 2\nSW_ZZZZZZZZ 3\nOTHER_IFL 1\n\n");
  const std::string env = "ZEPTEST_ACTION=sw GL_NLNSIZE=120 SW_IFX=2 SW_IFL=3 XSW_IFL=1 SWX_IFL=1 OTHER_X=1";
  const std::string args = "-SW_IFLL=1 -SW_IFL 4 -SW_IFLL=2 -o out --help -GL_LLMSG=F -MESSAGE_LEVEL";
  ProbeResult r = probe(dir, env, args);
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r["IFL"], "3");  // the environment's value: nothing else took effect
  EXPECT_EQ(r["RLWFACT"], "0.2");  // the default: the misspelt record did nothing
  const char* const want[] = {
      " *** WARNING (RPNOPT) ***  UNKNOWN PARAMETER SW_IFLL; DID YOU MEAN IFL?",
      " *** WARNING (-CNT.-) ***  IN COMMAND-LINE OPTION -SW_IFLL=1",
      " *** WARNING (RPNOPT) ***  OPTION -SW_IFL HAS NO \"=\" AND IS IGNORED.",
      " *** WARNING (-CNT.-) ***  WRITE -SW_IFL=VALUE.",
      " *** WARNING (RPNOPT) ***  OPTION -MESSAGE_LEVEL HAS NO \"=\" AND IS IGNORED.",
      " *** WARNING (RPNENV) ***  UNKNOWN PARAMETER SW_IFX; DID YOU MEAN IFL?",
      " *** WARNING (-CNT.-) ***  IN ENVIRONMENT VARIABLE SW_IFX",
      " *** WARNING (RPNXFL) ***  UNKNOWN PARAMETER sw_rlwfac; DID YOU MEAN RLWFACT?",
      " *** WARNING (-CNT.-) ***  IN CONFIGURATION FILE .zeprc, LINE 3",
      " *** WARNING (RPNXFL) ***  UNKNOWN PARAMETER SW_ZZZZZZZZ IS IGNORED.",
  };
  for (const char* line : want) EXPECT_TRUE(hasLine(r.output, line)) << line << "\n" << r.output;
  // SW_IFX is one name, in the environment and in the file: one warning.
  EXPECT_EQ(countOf(r.output, "WARNING ("), 12) << r.output;
  EXPECT_EQ(countOf(r.output, "SW_IFX"), 2) << r.output;

  // The warnings obey the dumper's settings, from whichever source they come.
  r = probe(dir, env + " GL_MSGLEV=2", args);
  EXPECT_EQ(countOf(r.output, "WARNING"), 0) << r.output;
  r = probe(dir, env + " GL_MAXMSG=1", args);
  EXPECT_EQ(countOf(r.output, "WARNING"), 1) << r.output;
  EXPECT_TRUE(hasLine(r.output, " +++ THE FOLLOWING MESSAGES ARE SUPPRESSED.")) << r.output;
  // Another joining character: SW_IFLL is then no package-qualified name at all.
  r = probe(dir, "ZEPTEST_ACTION=sw ZEPENVCHAR=.", "-SW_IFLL=1 -SW.IFLL=1");
  EXPECT_EQ(countOf(r.output, "WARNING"), 2) << r.output;
  EXPECT_TRUE(hasLine(r.output, " *** WARNING (RPNOPT) ***  UNKNOWN PARAMETER SW.IFLL; DID YOU MEAN IFL?"));
}

// The dumper's own line width and budget are checked where it uses them: a
// value that cannot work is reported with its range, and the report at hand
// still goes out with the default.
TEST(RuntimeSources, DumperSettingsOutOfRangeAreReported) {
  zeptest::TempWorkDir dir;
  for (const std::string setting : {"GL_NLNSIZE=0", "GL_NLNSIZE=-5", "GL_NLNSIZE=1000", "GL_MAXMSG=-1"}) {
    const ProbeResult r = probe(dir, "ZEPTEST_ACTION=warnings " + setting, "");
    EXPECT_NE(r.status, 0) << setting;
    const std::string value = setting.substr(setting.find('=') + 1);
    const std::string line = setting.find("NLNSIZE") != std::string::npos
                                 ? " ***** ERROR (MSGDMP) ***  NLNSIZE = " + value + " IS OUT OF ITS RANGE, 1 TO 999."
                                 : " ***** ERROR (MSGDMP) ***  MAXMSG = " + value + " IS OUT OF ITS RANGE, 0 OR MORE.";
    EXPECT_TRUE(hasLine(r.output, line)) << r.output;
    EXPECT_TRUE(hasLine(r.output, " *** WARNING (PROBE ) ***  WARNING 1")) << r.output;
  }
}

std::vector<std::string> callbackReports;
void keepReport(std::string_view routine, std::string_view text) {
  callbackReports.push_back(std::string(routine) + ": " + std::string(text));
}

// With an error callback the report returns; it is made once per bad value.
TEST(RuntimeSources, DumperSettingsOutOfRangeReachTheCallbackOnce) {
  ZEP_EXPECT_ISOLATED([] {
    zep::set_msgdmp_err_func(keepReport);
    zep::gliset("NLNSIZE", 0);
    zep::msgdmp("W", "PROBE", "ONE");
    zep::msgdmp("W", "PROBE", "TWO");
    zep::gliset("NLNSIZE", 78);
    zep::msgdmp("W", "PROBE", "THREE");
    zep::gliset("NLNSIZE", 0);
    zep::msgdmp("M", "PROBE", "FOUR");
    const std::vector<std::string> want = {"MSGDMP: NLNSIZE = 0 IS OUT OF ITS RANGE, 1 TO 999."};
    return callbackReports == want ? std::string() : "reports: " + std::to_string(callbackReports.size());
  });
}

}  // namespace
