// A session on workstation 2 that draws pages until an error report ends it.
// The first argument that is not an option is the page on which the error
// comes (after a line has been drawn on it; 0 for none); then four pages in
// all. Options are the library's runtime parameters (-SW_IFL=1 ...).
//
// Every page carries one diagonal; the error is an invalid window given to
// sgstrf ("WINDOW DEFINITION IS INVALID.").
#include <cstdlib>

#include <zep/zep.hpp>

int main(int argc, char** argv) {
  int errorPage = 0;
  for (int i = 1; i < argc; ++i)
    if (argv[i][0] != '-') errorPage = std::atoi(argv[i]);
  zep::sgopn(2);
  for (int page = 1; page <= 4; ++page) {
    zep::sgfrm();
    zep::sgslni(25);
    zep::sglnv(0.1F, 0.1F, 0.9F, 0.9F);
    if (page == errorPage) {
      zep::sgswnd(1, 1, 0, 1);
      zep::sgstrf();
    }
  }
  zep::sgcls();
  return 0;
}
