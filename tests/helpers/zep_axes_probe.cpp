// Prints what the runtime parameter sources made of the AX tables, and the
// ticks that follow from them, for tests that run it as a child process.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <zep/zep.hpp>

int main() {
  const char* actionEnv = std::getenv("ZEPTEST_ACTION");
  const std::string action = actionEnv != nullptr ? actionEnv : "";
  if (action == "stx") zep::axistx("NTICK", 4);  // a program's choice the user can still override
  if (action == "set") zep::axiset("NTICK", 4);  // one the user cannot

  int ntick = 0, itick = 0;
  bool lminor = false;
  float rlabel = 0;
  std::string cdeg(80, ' ');
  zep::axiget("NTICK", ntick);
  zep::axiget("ITICK", itick);
  zep::axlget("LMINOR", lminor);
  zep::axrget("RLABEL", rlabel);
  zep::axcget("CDEG", cdeg);
  std::printf("NTICK=%d\nITICK=%d\nLMINOR=%d\nRLABEL=%g\nCDEG=[%s]\n", ntick, itick, lminor ? 1 : 0,
              static_cast<double>(rlabel), cdeg.substr(0, cdeg.find_last_not_of(' ') + 1).c_str());
  // Ticks of the window 0-1 follow the target count.
  zep::sgswnd(0, 1, 0, 1);
  zep::sgstrn(1);
  float major[64], minor[64];
  int nmajor = 0, nminor = 0;
  zep::axqtck("B", major, nmajor, minor, nminor, 64);
  std::printf("NMAJOR=%d\n", nmajor);
  return 0;
}
