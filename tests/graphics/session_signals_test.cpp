// A session ended from outside: a signal between pages, or a second thread.
// The finished pages of the PDF file must stay readable.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <string>
#include <utility>

#include "support/test_support.hpp"

namespace {

struct Outcome {
  int status = -1;     // as the shell's wait gives it: 128 + signal when killed
  std::string errors;  // standard error
  int pages = -1;      // pdfinfo's page count, -1 when the file does not open
};

// Runs the 20-page program with `args`; `sig` (unless blank) is sent once page 7 is drawn.
Outcome runPages(const std::string& args, const std::string& sig) {
  zeptest::TempWorkDir dir;
  // Job control keeps SIGINT at its default in the background job.
  const std::string script = "set -m\n'" + std::string(ZEP_HELPER_zep_signal_pages) + "' " + args +
                             " > out.txt 2> err.txt &\npid=$!\n" +
                             (sig.empty() ? std::string()
                                          : "i=0; until grep -qx 'page 7' out.txt; do i=$((i+1)); [ $i -gt 600 ] && "
                                            "break; sleep 0.05; done\nkill -" + sig + " $pid\n") +
                             "wait $pid; echo $?\n";
  std::ofstream("run.sh") << script;
  Outcome o;
  o.status = std::stoi(zeptest::runCommand("bash run.sh"));
  o.errors = zeptest::readFile("err.txt");
  const std::string info = zeptest::runCommand("pdfinfo pages.pdf 2>&1");
  if (const std::size_t at = info.find("Pages:"); at != std::string::npos) o.pages = std::stoi(info.substr(at + 6));
  return o;
}

TEST(SessionSignals, AnEndingSignalFinishesThePdfFirst) {
  const std::string said = "RECEIVED: THE OUTPUT IS FINISHED AND THE PROGRAM ENDS AS THE SIGNAL DOES.";
  for (auto [name, number] : {std::pair{"TERM", SIGTERM}, {"INT", SIGINT}, {"HUP", SIGHUP}}) {
    const Outcome o = runPages("-GL_NLNSIZE=200", name);
    EXPECT_EQ(o.status, 128 + number) << name;  // ended as the signal ends a program
    EXPECT_TRUE(o.pages == 7 || o.pages == 8) << name << ": " << o.pages;  // the 8th as far as drawn
    EXPECT_NE(o.errors.find(std::string("SIG") + name + " " + said), std::string::npos) << o.errors;
  }
  // The program's own handler runs: it closes the session and exits with 3.
  Outcome o = runPages("own", "TERM");
  EXPECT_EQ(o.status, 3);
  EXPECT_GE(o.pages, 7);
  // Switched off: the signal ends the program at once, the file is left as it was.
  o = runPages("-SW_LSIGNL=F", "TERM");
  EXPECT_EQ(o.status, 128 + SIGTERM);
  EXPECT_EQ(o.errors.find("RECEIVED"), std::string::npos) << o.errors;
  EXPECT_EQ(runPages("", "").pages, 20);
}

TEST(SessionThreads, ASecondThreadIsReportedAndThePagesKept) {
  const Outcome o = runPages("thread -GL_NLNSIZE=200", "");
  EXPECT_EQ(o.status, 128 + SIGABRT);
  EXPECT_NE(o.errors.find(" ***** ERROR (SWOOPN) ***  CALLED FROM A SECOND THREAD WHILE A SESSION IS OPEN: THE "
                          "LIBRARY IS SINGLE-THREADED."),
            std::string::npos)
      << o.errors;
  EXPECT_GE(o.pages, 3);
}

}  // namespace
