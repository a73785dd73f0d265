// Reports: composition, filtering, budget, line cutting, error callbacks, process stack.
#include <gtest/gtest.h>

#include <csignal>
#include <zep/zep.hpp>

#include "foundation/units.hpp"
#include "support/message_file.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::lineRegex;

// Reports go to a file in a fresh directory.
class MessageFile {
 public:
  MessageFile() : file_(dir_.path() / "messages.txt") {}
  std::vector<std::string> lines() { return file_.lines(); }
  std::vector<std::string> rawLines() { return file_.rawLines(); }

 private:
  zeptest::TempWorkDir dir_;
  zeptest::MessageFile file_;
};

using zeptest::expectLines;

TEST(Messages, ShortAndLongFormsAreComposedExactly) {
  ZEP_EXPECT_ISOLATED([] {
    MessageFile f;
    zep::msgdmp("W", "SGOPN", "ABC");
    zep::msgdmp("m", "SLPAGE", "TEXT  ");  // lower-case level, trailing blanks dropped
    zep::msgdmp("W", "LONGROUTINENAME", "X");
    zep::gllset("LLMSG", true);
    zep::msgdmp("W", "SGOPN", "ABC");
    zep::prcopn("OUTER");
    zep::prcopn("INNER");
    zep::msgdmp("M", "SGFRM", "DEF");
    zep::msgdmp("Q", "SGFRM", "UNKNOWN LEVELS WRITE NOTHING");
    zep::prccls("INNER");
    zep::prccls("OUTER");
    return expectLines(f.lines(), {" *** WARNING (SGOPN ) ***  ABC", " *** MESSAGE (SLPAGE) ***  TEXT",
                                   " *** WARNING (LONGRO) ***  X", " - Warning (SGOPN@ MAIN) ABC",
                                   " - Message (SGFRM@ OUTER) DEF"});
  });
}

TEST(Messages, ErrorsEndTheProcessInBothForms) {
  EXPECT_EXIT(zep::msgdmp("E", "GLIQID", "PARAMETER 'X' IS NOT DEFINED."), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (GLIQID) ***  PARAMETER 'X' IS NOT DEFINED."));
  EXPECT_EXIT(
      {
        zep::gllset("LLMSG", true);
        zep::msgdmp("e", "SGOPN", "BAD");
      },
      testing::KilledBySignal(SIGABRT), lineRegex(" *** Error (SGOPN@ MAIN) BAD"));
}

TEST(Messages, BudgetSuppressesAfterMaxmsgButNeverErrors) {
  ZEP_EXPECT_ISOLATED([] {
    MessageFile f;
    for (int i = 1; i <= 25; ++i) zep::msgdmp(i % 2 ? "W" : "M", "TESTER", "N" + std::to_string(i));
    std::vector<std::string> want;
    for (int i = 1; i <= 20; ++i)
      want.push_back(std::string(i % 2 ? " *** WARNING" : " *** MESSAGE") + " (TESTER) ***  N" + std::to_string(i));
    want.push_back(" +++ THE FOLLOWING MESSAGES ARE SUPPRESSED.");
    return expectLines(f.lines(), want);
  });
  // After the budget is spent an error is still written and still ends the process.
  EXPECT_EXIT(
      {
        for (int i = 0; i < 30; ++i) zep::msgdmp("W", "TESTER", "W");
        zep::msgdmp("E", "TESTER", "STILL HERE");
      },
      testing::KilledBySignal(SIGABRT), lineRegex(" ***** ERROR (TESTER) ***  STILL HERE"));
}

TEST(Messages, LevelFilterAndZeroBudget) {
  ZEP_EXPECT_ISOLATED([] {
    MessageFile f;
    zep::gliset("MSGLEV", 1);
    zep::msgdmp("M", "A", "DROPPED");
    zep::msgdmp("W", "A", "KEPT");
    zep::gliset("MSGLEV", 2);
    zep::msgdmp("W", "A", "DROPPED");
    // Dropped messages are not counted: with a budget of 1 the next kept one still shows.
    zep::gliset("MSGLEV", 0);
    zep::gliset("MAXMSG", 2);
    zep::msgdmp("M", "A", "SECOND");
    zep::msgdmp("M", "A", "THIRD");
    return expectLines(f.lines(), {" *** WARNING (A     ) ***  KEPT", " *** MESSAGE (A     ) ***  SECOND",
                                   " +++ THE FOLLOWING MESSAGES ARE SUPPRESSED."});
  });
  ZEP_EXPECT_ISOLATED([] {
    MessageFile f;
    zep::gliset("MAXMSG", 0);
    zep::msgdmp("W", "A", "NEVER");
    return expectLines(f.lines(), {});
  });
}

TEST(Messages, LongReportsAreCutIntoLinesAndAt200Characters) {
  ZEP_EXPECT_ISOLATED([] {
    MessageFile f;
    std::string text;
    for (int i = 0; i < 100; ++i) text += static_cast<char>('A' + i % 26);
    zep::mszdmp(text, 42, 78);
    zep::mszdmp(std::string(250, 'x'), 42, 100);
    zep::mszdmp("", 42, 78);
    const std::vector<std::string> lines = f.rawLines();
    if (lines.size() != 5) return std::string("expected 5 lines, got ") + std::to_string(lines.size());
    if (lines[0] != " " + text.substr(0, 78) || lines[1] != " " + text.substr(78) + std::string(56, ' '))
      return std::string("cut at 78");
    if (lines[2] != " " + std::string(100, 'x') || lines[3] != " " + std::string(100, 'x')) return std::string("200");
    // Lines are fixed-width slices of the 200-character buffer.
    if (lines[4] != " " + std::string(78, ' ') ) return std::string("blank text: one line");
    return std::string();
  });
  ZEP_EXPECT_ISOLATED([] {
    MessageFile f;
    zep::msgdmp("W", "LONG", std::string(300, 'y'));
    const auto lines = f.lines();
    // "*** WARNING (LONG  ) ***  " is 26 characters; the report stops at 200.
    std::string all;
    for (const auto& l : lines) all += l.substr(1);
    return all.size() == 200 ? std::string() : "report length " + std::to_string(all.size());
  });
}

std::vector<std::string> callbackSeen;
void rememberError(std::string_view routine, std::string_view text) {
  callbackSeen.push_back(std::string(routine) + "|" + std::string(text));
}

TEST(Messages, ErrorCallbackReceivesErrorsAndTheCallReturns) {
  ZEP_EXPECT_ISOLATED([] {
    MessageFile f;
    zep::set_msgdmp_err_func(&rememberError);
    zep::msgdmp("E", "MYRTN", "SOMETHING BAD");
    zep::msgdmp("W", "MYRTN", "A WARNING");
    if (callbackSeen != std::vector<std::string>{"MYRTN|SOMETHING BAD"}) return std::string("callback not called");
    return expectLines(f.lines(), {" *** WARNING (MYRTN ) ***  A WARNING"});
  });
}

std::vector<std::string> dumped;
void myDumper(std::string_view level, std::string_view routine, std::string_view text) {
  dumped.push_back(std::string(level) + std::string(routine) + std::string(text));
}

TEST(Messages, ReplacedDumperReceivesEverything) {
  ZEP_EXPECT_ISOLATED([] {
    zep::set_msgdmp_func(&myDumper);
    zep::msgdmp("E", "R", "T");
    zep::msgdmp("W", "R", "U");
    return dumped == std::vector<std::string>{"ERT", "WRU"} ? std::string() : std::string("not forwarded");
  });
}

TEST(ProcessStack, NamesNestAndFaultsAreReported) {
  int level = -1;
  zep::prclvl(level);
  EXPECT_EQ(level, 0);
  std::string name(32, '?');
  zep::prcnam(0, name);
  EXPECT_EQ(name, "MAIN" + std::string(28, ' '));
  zep::prcopn("FIRST");
  zep::prcopn("SECOND");
  zep::prclvl(level);
  EXPECT_EQ(level, 2);
  zep::prcnam(2, name);
  EXPECT_EQ(name.substr(0, 7), "SECOND ");
  zep::gliset("NLNSIZE", 150);  // the stack's fault lines are wider than the default width
  EXPECT_EXIT(zep::prccls("FIRST"), testing::KilledBySignal(SIGABRT),
              lineRegex(" *** ERROR (PRCCLS IN FIRST                           ) * PROCESS SECOND  "
                        "                         HAS NOT BEEN CLOSED YET."));
  EXPECT_EXIT(zep::prcnam(3, name), testing::KilledBySignal(SIGABRT),
              lineRegex(" *** ERROR (PRCNAM IN FIRST                           ) * TOO LARGE PROCESS LEVEL (NLEV)."));
  zep::prccls("SECOND");
  zep::prccls("FIRST");
  zep::prclvl(level);
  EXPECT_EQ(level, 0);
  zep::gliset("NLNSIZE", 78);  // later suites expect the default width
}

TEST(ProcessStack, CapacityFaultsAreOrderlyReports) {
  EXPECT_EXIT(zep::prccls("NONE"), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (PRCCLS) ***  THERE IS NO PROCESS TO BE CLOSED."));
  EXPECT_EXIT(
      {
        for (int i = 0; i < 17; ++i) zep::prcopn("P" + std::to_string(i));
      },
      testing::KilledBySignal(SIGABRT), lineRegex(" ***** ERROR (PRCOPN) ***  TOO MANY NESTED PROCESSES (>16)."));
  EXPECT_EXIT(
      {
        std::string n(32, ' ');
        zep::prcnam(-1, n);
      },
      testing::KilledBySignal(SIGABRT), lineRegex(" ***** ERROR (PRCNAM) ***  PROCESS LEVEL IS NEGATIVE."));
}

}  // namespace
