// Prints what the runtime parameter sources made of the GL parameters, so that
// tests can run it as a child process with real options, environment variables
// and configuration files. Extra work is chosen through ZEPTEST_ACTION, because
// the command line belongs to the sources under test.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <zep/zep.hpp>

namespace {
std::string trimmed(const std::string& s) { return s.substr(0, s.find_last_not_of(' ') + 1); }
}  // namespace

int main() {
  const char* actionEnv = std::getenv("ZEPTEST_ACTION");
  const std::string action = actionEnv != nullptr ? actionEnv : "";

  if (action == "warnings") {  // reports go through the dumper's runtime settings
    for (int i = 1; i <= 5; ++i) zep::msgdmp("W", "PROBE", "WARNING " + std::to_string(i));
    return 0;
  }
  if (action == "stx") {  // set-with-override after the tables are in use
    int v = 0;
    zep::gliget("MSGLEV", v);
    zep::glistx("MAXMSG", 5);
    std::string dir(80, ' ');
    zep::glcstx("DUPATH", "/from/program/");
    zep::glcget("DUPATH", dir);
    std::string rc(80, ' ');
    zep::glcstx("ZEPRC", "program.rc");
    zep::glcget("ZEPRC", rc);
    zep::gliget("MAXMSG", v);
    std::printf("MAXMSG=%d\nDUPATH=[%s]\nZEPRC=[%s]\n", v, trimmed(dir).c_str(), trimmed(rc).c_str());
    return 0;
  }

  if (action == "sw") {  // a program that also has the workstation's tables
    int ifl = 0, msglev = 0;
    float factor = 0;
    zep::gliget("MSGLEV", msglev);
    zep::swiget("IFL", ifl);
    zep::swrget("RLWFACT", factor);
    std::string fname(80, ' ');
    zep::swcget("FNAME", fname);
    std::printf("IFL=%d\nRLWFACT=%g\nFNAME=[%s]\n", ifl, static_cast<double>(factor), trimmed(fname).c_str());
    return 0;
  }
  if (action == "cmaplist") {  // loads the colormap list and names its entries
    zep::swcmll();
    int n = 0;
    zep::swqcmn(n);
    for (int i = 1; i <= n; ++i) {
      std::string f(80, ' ');
      zep::swqcmf(i, f);
      std::printf("ENTRY%d=[%s]\n", i, trimmed(f).c_str());
    }
    return 0;
  }

  int maxmsg = 0, msglev = 0, nlnsize = 0;
  bool llmsg = false, lmiss = false;
  float rfact = 0, rmiss = 0;
  std::string dupath(80, ' '), dspath(80, ' '), zeprc(80, ' ');
  zep::gliget("MAXMSG", maxmsg);
  zep::gliget("MSGLEV", msglev);
  zep::gliget("NLNSIZE", nlnsize);
  zep::gllget("LLMSG", llmsg);
  zep::gllget("LMISS", lmiss);
  zep::glrget("RFACT", rfact);
  zep::glrget("RMISS", rmiss);
  zep::glcget("DUPATH", dupath);
  zep::glcget("DSPATH", dspath);
  zep::glcget("ZEPRC", zeprc);
  std::printf("MAXMSG=%d\nMSGLEV=%d\nNLNSIZE=%d\nLLMSG=%d\nLMISS=%d\nRFACT=%g\nRMISS=%g\n", maxmsg, msglev,
              nlnsize, llmsg ? 1 : 0, lmiss ? 1 : 0, static_cast<double>(rfact), static_cast<double>(rmiss));
  std::printf("DUPATH=[%s]\nDSPATH=[%s]\nZEPRC=[%s]\n", trimmed(dupath).c_str(), trimmed(dspath).c_str(),
              trimmed(zeprc).c_str());
  int n = 0;
  zep::osqarn(n);
  std::printf("NARG=%d\n", n);
  for (int i = 0; i <= n; ++i) {
    std::string arg(80, ' ');
    zep::osgarg(i, arg);
    std::printf("ARG%d=[%s]\n", i, trimmed(arg).c_str());
  }
  return 0;
}
