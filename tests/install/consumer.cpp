// A program outside the tree: uses the installed headers, library and data.
// With ZEPTEST_DRAW set it also draws a page, so that the driver and its
// toolkit libraries have to link as well.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <zep/zep.hpp>

int main() {
  int maxmsg = 0;
  zep::gliget("MAXMSG", maxmsg);
  std::string dspath(80, ' ');
  zep::glcget("DSPATH", dspath);
  char version[9];
  zep::zepvnm(version);
  std::printf("%d %s %.*s\n", maxmsg, dspath.substr(0, static_cast<std::size_t>(zep::lenz(dspath))).c_str(), 9,
              version);
  if (std::getenv("ZEPTEST_DRAW") != nullptr) {
    zep::swistx("IFL", 1);
    zep::sgopn(2);
    zep::sgfrm();
    zep::sgswnd(0, 10, -1, 1);
    zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.6F);
    zep::sgstrn(1);
    zep::sgstrf();
    zep::sglnu(0, -1, 10, 1);
    zep::sgcls();
  }
  return 0;
}
