// The parameter registry through the GL tables: names, values, stores, reports.
#include <gtest/gtest.h>

#include <bit>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <limits>
#include <zep/zep.hpp>

#include "foundation/units.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::lineRegex;

TEST(Registry, GlobalTablesHoldTheirNamesAndDefaults) {
  struct IntRow { const char* s; const char* l; int v; };
  const IntRow ints[] = {{"IMISS", "MISSING_INT", 999},        {"IUNDEF", "UNDEFINED_INT", -999},
                         {"INTMAX", "MAX_INT", 2147483647},    {"NBITSPW", "WORD_LENGTH_IN_BIT", 32},
                         {"NCHRSPW", "WORD_LENGTH_IN_CHAR", 4}, {"IIUNIT", "INPUT_UNIT", 5},
                         {"IOUNIT", "OUTPUT_UNIT", 6},         {"MSGUNIT", "MESSAGE_UNIT", 0},
                         {"MAXMSG", "MAX_MESSAGE_NUMBER", 20}, {"MSGLEV", "MESSAGE_LEVEL", 0},
                         {"NLNSIZE", "LINE_SIZE", 78}};
  int n = 0;
  zep::gliqnp(n);
  ASSERT_EQ(n, 11);
  for (int id = 1; id <= n; ++id) {
    char s[8];
    std::string l(40, '?');
    int v = 0;
    zep::gliqcp(id, s);
    zep::gliqcl(id, l);
    zep::gliqvl(id, v);
    const IntRow& want = ints[id - 1];
    EXPECT_EQ(std::string(s, 8), want.s + std::string(8 - std::strlen(want.s), ' '));
    EXPECT_EQ(l, want.l + std::string(40 - std::strlen(want.l), ' '));
    EXPECT_EQ(v, want.v) << want.s;
  }
  const char* logicals[][2] = {{"LMISS", "INTERPRET_MISSING_VALUE"},
                               {"LEPSL", "INTERPRET_TRUNCATION"},
                               {"LLMSG", "ENABLE_LONG_MESSAGE"}};
  zep::gllqnp(n);
  ASSERT_EQ(n, 3);
  for (int id = 1; id <= 3; ++id) {
    int found = 0;
    bool v = true;
    zep::gllqid(logicals[id - 1][1], found);
    EXPECT_EQ(found, id);
    zep::gllget(logicals[id - 1][0], v);
    EXPECT_FALSE(v);
  }
  zep::glrqnp(n);
  ASSERT_EQ(n, 6);
  float r = 0;
  zep::glrget("RMISS", r);
  EXPECT_EQ(r, 999.0F);
  zep::glrget("UNDEFINED_REAL", r);
  EXPECT_EQ(r, -999.0F);
  zep::glrget("REPSL", r);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(r), 0x35A00406U);
  zep::glrget("RFACT", r);
  EXPECT_EQ(r, 1.0F);
  zep::glrget("MAX_REAL", r);
  EXPECT_EQ(r, std::numeric_limits<float>::max());
  zep::glrget("REALMIN", r);
  EXPECT_EQ(r, std::numeric_limits<float>::min());
  zep::glcqnp(n);
  ASSERT_EQ(n, 3);
  std::string c(20, '?');
  zep::glcget("ZEPRC", c);
  EXPECT_EQ(c, ".zeprc" + std::string(14, ' '));
  zep::glcget("user_database_dir", c);
  EXPECT_EQ(c, std::string(20, ' '));
}

TEST(Registry, NamesMatchInAnyCaseButNeverByPrefix) {
  int a = -1, b = -1, c = -1, d = -1;
  zep::gliset("MSGLEV", 1);
  zep::gliget("MSGLEV", a);
  zep::gliget("msglev", b);
  zep::gliget("MESSAGE_LEVEL", c);
  zep::gliget("message_level  ", d);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 1);
  EXPECT_EQ(c, 1);
  EXPECT_EQ(d, 1);
  int id = -1;
  zep::gliqin("MSGLE", id);
  EXPECT_EQ(id, 0);
  zep::gliqin("nlnsize", id);
  EXPECT_EQ(id, 11);
  EXPECT_EXIT(zep::gliget("MSGLE", a), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (GLIQID) ***  PARAMETER 'MSGLE' IS NOT DEFINED."));
  EXPECT_EXIT(zep::glcset("NOSUCH   ", "x"), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (GLCQID) ***  PARAMETER 'NOSUCH' IS NOT DEFINED."));
}

TEST(Registry, ValuesAreCutAndPadded) {
  // A value longer than the 80 characters a text parameter holds is refused, not cut.
  EXPECT_EXIT(zep::glcset("DUPATH", std::string(100, 'p')), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (GLCSVL) ***  VALUE OF GL DUPATH HAS 100 CHARACTERS; IT HOLDS 80."));
  zep::glcset("DUPATH", std::string(80, 'p') + "   ");  // trailing blanks are no part of the value
  std::string big(90, '?');
  zep::glcget("DUPATH", big);
  EXPECT_EQ(big, std::string(80, 'p') + std::string(10, ' '));
  // What a receiving string cannot hold is cut: its length is the caller's choice.
  char small[3];
  zep::glcget("DUPATH", small);
  EXPECT_EQ(std::string(small, 3), "ppp");
}

TEST(Registry, ReadOnlyEntriesAndIdsAreChecked) {
  for (const char* name : {"INTMAX", "NBITSPW", "NCHRSPW"})
    EXPECT_EXIT(zep::gliset(name, 1), testing::KilledBySignal(SIGABRT),
                lineRegex(" ***** ERROR (GLIQVL) ***  PARAMETER'" + std::string(name) +
                          std::string(8 - std::strlen(name), ' ') + "' CANNOT BE SET."));
  for (const char* name : {"REPSL", "REALMAX", "REALMIN"})
    EXPECT_EXIT(zep::glrset(name, 1.0F), testing::KilledBySignal(SIGABRT),
                lineRegex(" ***** ERROR (GLRQVL) ***  PARAMETER'" + std::string(name) +
                          std::string(8 - std::strlen(name), ' ') + "' CANNOT BE SET."));
  int v = 0;
  EXPECT_EXIT(zep::gliqvl(12, v), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (GLIQVL) ***  IDX IS OUT OF RANGE."));
  EXPECT_EXIT(zep::glisvl(0, v), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (GLIQVL) ***  IDX IS OUT OF RANGE."));
  EXPECT_EXIT(zep::glcsvl(4, "x"), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (GLCSVL) ***  IDX IS OUT OF RANGE."));
  char name[8];
  EXPECT_EXIT(zep::gllqcp(4, name), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (GLLQCP) ***  IDX IS OUT OF RANGE."));
  EXPECT_EXIT(zep::glrqcl(-1, name), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (GLRQCL) ***  IDX IS OUT OF RANGE."));
}

std::vector<std::string> reports;
void keep(std::string_view routine, std::string_view text) {
  reports.push_back(std::string(routine) + ": " + std::string(text));
}

TEST(Registry, ErrorPathsLeaveValuesAloneUnderACallback) {
  ZEP_EXPECT_ISOLATED([] {
    zep::set_msgdmp_err_func(&keep);
    zep::gliset("INTMAX", 5);
    int v = 77;
    zep::gliget("INTMAX", v);
    if (v != 2147483647) return std::string("read-only value changed");
    v = 77;
    zep::gliget("NOPE", v);
    zep::gliqvl(99, v);
    if (v != 77) return std::string("value written on error");
    char name[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    zep::gliqcp(0, name);
    if (std::string(name, 8) != "xxxxxxxx") return std::string("name written on error");
    int id = 5;
    zep::gliqid("NOPE", id);
    if (id != 0) return std::string("unknown id not 0");
    const std::vector<std::string> want = {"GLIQVL: PARAMETER'INTMAX  ' CANNOT BE SET.",
                                           "GLIQID: PARAMETER 'NOPE' IS NOT DEFINED.", "GLIQVL: IDX IS OUT OF RANGE.",
                                           "GLIQCP: IDX IS OUT OF RANGE.", "GLIQID: PARAMETER 'NOPE' IS NOT DEFINED."};
    return reports == want ? std::string() : std::string("unexpected reports");
  });
}

TEST(Registry, RuntimeOverridesComeOnceAndSetBeatsThem) {
  ZEP_EXPECT_ISOLATED([] {
    ::setenv("GL_MAXMSG", "50", 1);
    ::setenv("INTERPRET_MISSING_VALUE", "T", 1);
    int v = 0;
    zep::gliget("MSGLEV", v);  // the first use of the table applies every override
    zep::gliget("MAXMSG", v);
    if (v != 50) return "first use: " + std::to_string(v);
    ::setenv("GL_MAXMSG", "60", 1);  // read once only
    zep::gliget("MAXMSG", v);
    if (v != 50) return std::string("sources read twice");
    zep::glistx("MAXMSG", 5);  // a source names it: the source wins
    zep::gliget("MAXMSG", v);
    if (v != 60) return "stx with a source: " + std::to_string(v);
    zep::glistx("NLNSIZE", 70);  // nothing names it: the program's value
    zep::gliget("NLNSIZE", v);
    if (v != 70) return std::string("stx without a source");
    zep::gliset("MAXMSG", 9);
    zep::gliget("MAXMSG", v);
    if (v != 9) return std::string("set does not win");
    bool lmiss = false;
    zep::gllget("LMISS", lmiss);
    if (!lmiss) return std::string("long-name environment variable ignored");
    return std::string();
  });
  // A runtime source may change what no program can set.
  ZEP_EXPECT_ISOLATED([] {
    ::setenv("GL_INTMAX", "12", 1);
    int v = 0;
    zep::gliget("INTMAX", v);
    return v == 12 ? std::string() : std::string("source did not reach a read-only entry");
  });
}

TEST(FileSearch, DirectoriesAndNamesInOrder) {
  zeptest::TempWorkDir dir;
  std::filesystem::create_directory("sys");
  std::ofstream("sys/.zeprc") << "x";
  std::ofstream("datafont1u") << "x";
  const std::string_view dirs[] = {" ", " ", "sys/"};
  const std::string_view names[] = {".zeprc"};
  std::string path(80, '?');
  zep::cfsrch(dirs, 3, names, 1, path);
  EXPECT_EQ(path, "sys/.zeprc" + std::string(70, ' '));
  std::ofstream(".zeprc") << "x";
  zep::cfsrch(dirs, 3, names, 1, path);
  EXPECT_EQ(path, ".zeprc" + std::string(74, ' '));
  // Directories are joined to names without a separator.
  const std::string_view data[] = {"data"};
  const std::string_view font[] = {"nothing", "font1u"};
  zep::cfsrch(data, 1, font, 2, path);
  EXPECT_EQ(zep::lenz(path), 10);
  EXPECT_EQ(path.substr(0, 10), "datafont1u");
  const std::string_view missing[] = {"absent"};
  zep::cfsrch(dirs, 3, missing, 1, path);
  EXPECT_EQ(path, std::string(80, ' '));
  char tiny[5];
  EXPECT_EXIT(zep::cfsrch(dirs + 2, 1, names, 1, tiny), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (CFSRCH) ***  LENGTH OF CHARACTER IS TOO SHORT TO STORE FILE NAME."));
  // glqfnm: working directory, then DUPATH, then DSPATH.
  std::string found(80, ' ');
  zep::glqfnm("ZEPRC", found);
  EXPECT_EQ(zep::lenz(found), 6);
  std::filesystem::remove(".zeprc");
  zep::glcset("DUPATH", (dir.path() / "sys").string() + "/");
  zep::glqfnm("ZEPRC", found);
  EXPECT_EQ(std::string(found.substr(0, zep::lenz(found))), (dir.path() / "sys" / ".zeprc").string());
}

TEST(Units, LowestFreeUnitIsHandedOut) {
  ZEP_EXPECT_ISOLATED([] {
    if (zep::iufopn() != 1) return std::string("fresh process: 1");
    if (zep::iufopn() != 1) return std::string("stays free until opened");
    zeptest::TempWorkDir dir;
    std::vector<std::unique_ptr<zep::units::ScopedUnit>> open;
    for (int i = 0; i < 4; ++i) open.push_back(std::make_unique<zep::units::ScopedUnit>("u" + std::to_string(i), "w"));
    if (zep::iufopn() != 7) return "with 1..4 open: " + std::to_string(zep::iufopn());
    open.erase(open.begin() + 1);
    if (zep::iufopn() != 2) return std::string("a closed unit is free again");
    return std::string();
  });
  EXPECT_EXIT(
      {
        zeptest::TempWorkDir dir;
        for (int u = 1; u <= 99; ++u) zep::units::open(u, "f" + std::to_string(u), "w");
        zep::iufopn();
      },
      testing::KilledBySignal(SIGABRT), lineRegex(" ***** ERROR (IUFOPN) ***  THERE IS NO UNIT TO BE OPENED."));
}

}  // namespace

namespace {

std::vector<std::string> fileReports;
void keepFileReport(std::string_view routine, std::string_view text) {
  fileReports.push_back(std::string(routine) + ": " + std::string(text));
}

TEST(FileSearch, ErrorPathsReturnSafelyUnderACallback) {
  ZEP_EXPECT_ISOLATED([] {
    zep::set_msgdmp_err_func(&keepFileReport);
    zeptest::TempWorkDir dir;
    std::filesystem::create_directory("a-long-directory-name");
    std::ofstream("a-long-directory-name/f") << "x";
    std::ofstream("f") << "x";
    // The first candidate does not fit; the search goes on to the next one.
    const std::string_view dirs[] = {"a-long-directory-name/", " "};
    const std::string_view names[] = {"f"};
    char path[4] = {'?', '?', '?', '?'};
    zep::cfsrch(dirs, 2, names, 1, path);
    if (std::string(path, 4) != "f   ") return "next candidate: " + std::string(path, 4);
    for (int u = 1; u <= 99; ++u) zep::units::open(u, "u" + std::to_string(u), "w");
    if (zep::iufopn() != 0) return std::string("no unit left: 0 expected");
    zep::prccls("NOTHING");  // nothing open
    std::string name(32, 'x');
    zep::prcnam(-1, name);
    if (name != std::string(32, ' ')) return std::string("negative level name");
    for (int i = 0; i < 20; ++i) zep::prcopn("P");
    int level = 0;
    zep::prclvl(level);
    if (level != 16) return "level after overflow: " + std::to_string(level);
    const std::vector<std::string> want = {"CFSRCH: LENGTH OF CHARACTER IS TOO SHORT TO STORE FILE NAME.",
                                           "IUFOPN: THERE IS NO UNIT TO BE OPENED.",
                                           "PRCCLS: THERE IS NO PROCESS TO BE CLOSED.",
                                           "PRCNAM: PROCESS LEVEL IS NEGATIVE.",
                                           "PRCOPN: TOO MANY NESTED PROCESSES (>16).",
                                           "PRCOPN: TOO MANY NESTED PROCESSES (>16).",
                                           "PRCOPN: TOO MANY NESTED PROCESSES (>16).",
                                           "PRCOPN: TOO MANY NESTED PROCESSES (>16)."};
    return fileReports == want ? std::string() : "reports: " + std::to_string(fileReports.size());
  });
}

}  // namespace
