// A program outside the tree: uses the installed headers, library and data.
#include <cstdio>
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
  return 0;
}
