// The window device under an X display: a hidden window that writes every page,
// and waits ended by real key presses and clicks sent with xdotool. Each
// scenario runs in a child process (the window stays with its process) under
// an alarm, so a wait that never ends fails the test instead of hanging it.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "zgpack_test_util.hpp"

extern char** environ;

namespace {

using namespace zgtest;
using zeptest::runCommand;
using zeptest::TempWorkDir;

bool haveDisplay() {
  const char* d = std::getenv("DISPLAY");
  return d != nullptr && *d != '\0';
}

void touch(const char* name) { writeText(name, ""); }

// Runs `body` in a forked child; the child's exit status 0 means success.
#define ZG_EXPECT_IN_CHILD(body)                                  \
  do {                                                            \
    GTEST_FLAG_SET(death_test_style, "fast");                     \
    EXPECT_EXIT(                                                  \
        {                                                         \
          ::alarm(60);                                            \
          const std::string failure = (body)();                   \
          if (!failure.empty()) std::fprintf(stderr, "FAILED: %s\n", failure.c_str()); \
          std::fflush(nullptr);                                   \
          std::_Exit(failure.empty() ? 0 : 1);                    \
        },                                                        \
        ::testing::ExitedWithCode(0), "");                        \
  } while (0)

TEST(ZgpackWindow, HiddenWindowWritesEveryPageWithoutWaiting) {
  if (!haveDisplay()) GTEST_SKIP() << "no X display";
  TempWorkDir dir;
  ZG_EXPECT_IN_CHILD([]() -> std::string {
    Opts o;
    o.iws = 1;
    o.lwnd = false;
    o.lwait0 = true;  // would wait after opening if the window were shown
    open(o);
    const zep::ZgState& s = zep::zgstate();
    if (s.wait_np || s.wait_op || s.wait_cl || !s.dump) return "waits not disabled";
    if (s.wsxwd != 904 || s.wsywd != 654) return "wrong window size";
    for (int page = 0; page < 2; ++page) {
      zep::zgpopn();
      hline(100, 300, 100, 2 + page);
      zep::zgpcls();
    }
    zep::zgdcls();
    return "";
  });
  Png first("zep_0001.png"), second("zep_0002.png");
  ASSERT_TRUE(first.ok());
  ASSERT_TRUE(second.ok());
  EXPECT_EQ(first.width(), 904);
  EXPECT_EQ(first.height(), 654);
  EXPECT_EQ(first.pixel(0, 0), 0xffffffu);
  EXPECT_EQ(first.pixel(200, 554), 0xff0000u);
  EXPECT_EQ(second.pixel(200, 554), 0x0000ffu);
}

TEST(ZgpackWindow, KeptWindowKeepsItsSizeAfterFileOutput) {
  if (!haveDisplay()) GTEST_SKIP() << "no X display";
  TempWorkDir dir;
  auto scenario = []() -> std::string {
    Opts o;
    o.iws = 1;
    o.lwnd = false;
    open(o);
    zep::zgdcls();  // no closing wait: the window stays
    Opts pdf;       // files in between: a PDF plot of 732 x 529 points
    open(pdf);
    zep::zgdcls();
    Opts again = o;
    again.iwidth = 300;  // a size asked for later does not resize the kept window
    again.iheight = 200;
    open(again);
    const zep::ZgState& s = zep::zgstate();
    if (s.wsxwd != 904 || s.wsywd != 654) return "size " + std::to_string(s.wsxwd) + " x " + std::to_string(s.wsywd);
    float x0, x1, y0, y1, f;
    zep::zgqrct(x0, x1, y0, y1, f);
    if (x1 != 902.0f || y1 != 652.0f) return "rectangle";
    zep::zgpopn();
    hline(100, 800, 600, 2);
    zep::zgpcls();
    zep::zgdcls();
    return "";
  };
  ZG_EXPECT_IN_CHILD(scenario);
  Png page("zep_0001.png");
  ASSERT_TRUE(page.ok());
  EXPECT_EQ(page.width(), 904);
  EXPECT_EQ(page.height(), 654);
  EXPECT_EQ(page.pixel(700, 54), 0xff0000u);
}

// Drives the window from outside: each step waits until the test announces a
// wait ("readyN"), repeats its input until the wait has ended ("doneN"), then
// says that it has stopped sending ("stoppedN"). Under load an input may take
// longer than one repeat to arrive, so a repeat can still be on its way when
// the wait ends; the test takes such left-overs in before it starts the next
// wait (see settle), so that they cannot end that wait instead. Nothing waits
// a fixed time for the window: the screenshot is taken again until it shows
// page 2 (or 10 s have passed, and the test then reports what it showed).
const char* kController = R"sh(
set -u
await() { i=0; while [ ! -e "$1" ]; do i=$((i+1)); [ $i -gt 1200 ] && exit 1; sleep 0.05; done; }
await ready1
W=$(timeout 30 xdotool search --sync --name '^zgtest-window$' | head -n 1)
[ -n "$W" ] || exit 1
while [ ! -e done1 ]; do xdotool windowraise "$W" mousemove --window "$W" 100 100 click 1; sleep 0.3; done
touch stopped1
await ready2
i=0
while [ $i -lt 40 ]; do
  xdotool windowraise "$W"
  import -window "$W" shot.png 2> /dev/null
  case "$(convert shot.png -format '%[hex:p{200,554}]' info: 2> /dev/null)" in 0000FF*) break ;; esac
  i=$((i+1)); sleep 0.25
done
while [ ! -e done2 ]; do xdotool windowfocus "$W" key d; sleep 0.3; done
touch stopped2
await ready3
while [ ! -e done3 ]; do xdotool windowfocus "$W" key s; sleep 0.3; done
touch stopped3
await ready5
while [ ! -e done5 ]; do xdotool windowfocus "$W" key Return; sleep 0.3; done
)sh";

// After the wait of step `n`: once the controller has stopped sending, every
// input it sent has reached the X server; a round trip to the server brings
// the ones still on their way to this process, and the driver takes them in
// while no wait is open (where they end nothing that is to come).
bool settle(int n) {
  const std::string stopped = "stopped" + std::to_string(n);
  for (int i = 0; i < 1200 && !fs::exists(stopped); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  gdk_display_sync(gdk_display_get_default());
  while (gtk_events_pending()) gtk_main_iteration();
  return fs::exists(stopped);
}

TEST(ZgpackWindow, KeysAndClicksEndWaits) {
  if (!haveDisplay()) GTEST_SKIP() << "no X display";
  if (runCommand("command -v xdotool >/dev/null && command -v import >/dev/null && command -v convert >/dev/null; echo $?") !=
      "0\n")
    GTEST_SKIP() << "xdotool or ImageMagick missing";
  TempWorkDir dir;

  pid_t controller = 0;
  const char* argv[] = {"sh", "-c", kController, nullptr};
  ASSERT_EQ(posix_spawnp(&controller, "sh", nullptr, nullptr, const_cast<char**>(argv), environ), 0);

  ZG_EXPECT_IN_CHILD([]() -> std::string {
    Opts o;
    o.iws = 1;
    o.title = "zgtest-window";
    open(o);
    const zep::ZgState& s = zep::zgstate();
    if (!s.window || !s.drawing_area) return "no window";

    // Page 1: a click ends the page-end wait; no dump.
    zep::zgpopn();
    hline(100, 300, 100, 2, 3);
    touch("ready1");
    zep::zgpcls();
    touch("done1");
    if (!settle(1)) return "the controller did not stop after page 1";
    if (fs::exists("zep_0001.png")) return "page 1 dumped without asking";

    // Page 2: "d" ends the wait and writes the page image.
    zep::zgpopn();
    hline(100, 300, 100, 3, 3);
    touch("ready2");
    zep::zgpcls();
    touch("done2");
    if (!settle(2)) return "the controller did not stop after page 2";
    if (!fs::exists("zep_0002.png")) return "\"d\" did not write the page";
    if (!s.wait_np) return "page-end waits stopped by \"d\"";

    // Page 3: "s" ends the wait and stops the later ones.
    zep::zgpopn();
    touch("ready3");
    zep::zgpcls();
    touch("done3");
    if (!settle(3)) return "the controller did not stop after page 3";
    if (s.wait_np) return "\"s\" did not stop the page-end waits";

    // Page 4 closes without waiting (the alarm would end a hang).
    zep::zgpopn();
    zep::zgpcls();
    if (fs::exists("zep_0003.png") || fs::exists("zep_0004.png")) return "unexpected dump";

    // The closing wait takes Return, then the window goes.
    touch("ready5");
    zep::zgdcls();
    touch("done5");
    if (s.window || s.drawing_area) return "window not destroyed";
    return "";
  });

  int status = 0;
  for (int i = 0; i < 100 && waitpid(controller, &status, WNOHANG) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (waitpid(controller, &status, WNOHANG) == 0) {
    kill(controller, SIGKILL);
    waitpid(controller, &status, 0);
  }

  Png dumped("zep_0002.png");
  ASSERT_TRUE(dumped.ok());
  EXPECT_EQ(dumped.width(), 904);
  EXPECT_EQ(dumped.pixel(200, 554), 0x0000ffu);
  // The window showed page 2 while it waited.
  Png shot("shot.png");
  ASSERT_TRUE(shot.ok());
  EXPECT_EQ(shot.width(), 904);
  EXPECT_EQ(shot.pixel(200, 554), 0x0000ffu);
  EXPECT_EQ(shot.pixel(200, 300), 0xffffffu);
}

// "q" at the end of a page ends the process at once; a page that was to be
// dumped is written first.
TEST(ZgpackWindow, QuittingWritesThePageToBeDumped) {
  if (!haveDisplay()) GTEST_SKIP() << "no X display";
  if (runCommand("command -v xdotool >/dev/null; echo $?") != "0\n") GTEST_SKIP() << "xdotool missing";
  TempWorkDir dir;
  const char* script = R"(
i=0; while [ ! -e ready1 ]; do i=$((i+1)); [ $i -gt 400 ] && exit 1; sleep 0.05; done
W=$(xdotool search --sync --name '^zgtest-quit$' | head -n 1)
while [ -e ready1 ] && [ $i -lt 800 ]; do xdotool windowfocus "$W" key q; sleep 0.3; i=$((i+10)); done
)";
  // Keys sent while a loaded X server is still mapping the window can be lost:
  // the page then waits until the child's alarm, and the quitting is tried
  // again, up to three times. Any other outcome is the driver's own.
  int status = 0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::remove("ready1");
    pid_t controller = 0;
    const char* argv[] = {"sh", "-c", script, nullptr};
    ASSERT_EQ(posix_spawnp(&controller, "sh", nullptr, nullptr, const_cast<char**>(argv), environ), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::alarm(30);
      Opts o;
      o.iws = 1;
      o.ldump = true;
      o.title = "zgtest-quit";
      open(o);
      zep::zgpopn();
      hline(100, 300, 100, 2, 3);
      touch("ready1");
      zep::zgpcls();
      std::fprintf(stderr, "\"q\" did not end the process\n");
      std::_Exit(1);
    }
    waitpid(child, &status, 0);
    std::remove("ready1");
    int controllerStatus = 0;
    for (int i = 0; i < 100 && waitpid(controller, &controllerStatus, WNOHANG) == 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (waitpid(controller, &controllerStatus, WNOHANG) == 0) {
      kill(controller, SIGKILL);
      waitpid(controller, &controllerStatus, 0);
    }
    if (!(WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)) break;
  }
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
  Png page("zep_0001.png");
  ASSERT_TRUE(page.ok());
  EXPECT_EQ(page.pixel(200, 554), 0xff0000u);
}

}  // namespace
