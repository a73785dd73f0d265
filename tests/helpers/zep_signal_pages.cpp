// A session that writes 20 pages to one PDF file (pages.pdf), slowly: after
// each page it writes "page N" on standard output and waits a little, so that
// a test can signal it between pages. The first argument that is not an option:
// "own" installs the program's own SIGTERM handler first (the program then
// closes the session itself and exits with status 3); "thread" makes a second
// thread draw while the session is open. Options are the library's runtime
// parameters (-SW_LSIGNL=F ...).
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

#include <zep/zep.hpp>

namespace {
std::atomic<bool> stop{false};
extern "C" void onTerm(int) { stop = true; }
}  // namespace

int main(int argc, char** argv) {
  const char* mode = "";
  for (int i = 1; i < argc; ++i)
    if (argv[i][0] != '-') mode = argv[i];
  if (std::strcmp(mode, "own") == 0) std::signal(SIGTERM, &onTerm);
  zep::swiset("IFL", 4);
  zep::swcset("FNAME", "pages");
  zep::sgopn(2);
  for (int page = 1; page <= 20; ++page) {
    zep::sgfrm();
    for (int k = 0; k < 200; ++k) zep::sglnv(0.1F, 0.1F + 0.004F * k, 0.9F, 0.9F - 0.004F * k);
    std::printf("page %d\n", page);
    std::fflush(stdout);
    if (page == 3 && std::strcmp(mode, "thread") == 0) {
      std::thread other([] { zep::sglnv(0.2F, 0.2F, 0.8F, 0.8F); });
      other.detach();
    }
    for (int wait = 0; wait < 20 && !stop; ++wait) usleep(10000);
    if (stop) {
      zep::sgcls();
      return 3;
    }
  }
  zep::sgcls();
  return 0;
}
