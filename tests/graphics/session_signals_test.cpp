// A session ended from outside: a signal between pages, or a second thread.
// The finished pages of the PDF file must stay readable.
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "support/child_process.hpp"
#include "support/test_support.hpp"

namespace {

struct Outcome {
  int status = 0;
  std::string errors;  // standard error, report lines joined
  std::string info;    // pdfinfo's answer about the file
};

// Runs the 20-page program; `sig` (if not 0) is sent once page 7 is drawn.
Outcome runPages(const std::vector<std::string>& args, int sig) {
  zeptest::TempWorkDir dir;
  Outcome o;
  {
    zeptest::ChildProcess child(ZEP_HELPER_zep_signal_pages, args, "errors.txt");
    EXPECT_TRUE(child.started());
    if (sig != 0) {
      EXPECT_TRUE(child.waitForLine("page 7"));
      child.signal(sig);
    }
    o.status = child.wait();
  }
  for (const std::string& line : zeptest::readLines("errors.txt")) o.errors += line.substr(std::min<std::size_t>(1, line.size())) + "|";
  o.info = zeptest::runCommand("pdfinfo pages.pdf 2>&1");
  return o;
}

int pagesOf(const std::string& info) {
  const std::size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

TEST(SessionSignals, AnEndingSignalFinishesThePdfFirst) {
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(strsignal(sig));
    const Outcome o = runPages({"-GL_NLNSIZE=200"}, sig);
    // Ended as the signal ends a program, and the file opens with the pages drawn so far.
    ASSERT_TRUE(WIFSIGNALED(o.status)) << o.status;
    EXPECT_EQ(WTERMSIG(o.status), sig);
    const int pages = pagesOf(o.info);
    EXPECT_GE(pages, 7) << o.info;
    EXPECT_LE(pages, 8) << o.info;
    EXPECT_NE(o.errors.find("RECEIVED: THE OUTPUT IS FINISHED AND THE PROGRAM ENDS AS THE SIGNAL DOES."),
              std::string::npos)
        << o.errors;
  }
}

TEST(SessionSignals, TheApplicationsHandlerAndTheSwitchAreRespected) {
  // The program's own handler runs: it closes the session and exits with 3.
  Outcome o = runPages({"own"}, SIGTERM);
  ASSERT_TRUE(WIFEXITED(o.status)) << o.status;
  EXPECT_EQ(WEXITSTATUS(o.status), 3);
  EXPECT_GE(pagesOf(o.info), 7) << o.info;
  EXPECT_EQ(o.errors.find("RECEIVED"), std::string::npos) << o.errors;
  // Switched off: the signal ends the program at once, the library says nothing.
  o = runPages({"-SW_LSIGNL=F"}, SIGTERM);
  ASSERT_TRUE(WIFSIGNALED(o.status)) << o.status;
  EXPECT_EQ(WTERMSIG(o.status), SIGTERM);
  EXPECT_EQ(o.errors.find("RECEIVED"), std::string::npos) << o.errors;
  // Without a signal all 20 pages are written.
  o = runPages({}, 0);
  EXPECT_TRUE(WIFEXITED(o.status) && WEXITSTATUS(o.status) == 0) << o.status;
  EXPECT_EQ(pagesOf(o.info), 20) << o.info;
}

TEST(SessionThreads, ASecondThreadIsReportedAndThePagesKept) {
  const Outcome o = runPages({"thread", "-GL_NLNSIZE=200"}, 0);
  ASSERT_TRUE(WIFSIGNALED(o.status)) << o.status;
  EXPECT_EQ(WTERMSIG(o.status), SIGABRT);
  EXPECT_NE(o.errors.find("***** ERROR (SWOOPN) ***  CALLED FROM A SECOND THREAD WHILE A SESSION IS OPEN: THE "
                          "LIBRARY IS SINGLE-THREADED."),
            std::string::npos)
      << o.errors;
  EXPECT_GE(pagesOf(o.info), 3) << o.info;
}

}  // namespace
