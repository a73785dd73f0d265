// Draws a known figure for the end-to-end tests: a 2 x 2 division with a
// different transformation in every frame, then a fifth frame on a second page.
// The first argument that is not an option is the workstation number (2 by
// default); options are the library's runtime parameters (-SW_IFL=1 ...).
//
// Frame 1 (linear): the V diagonal from (0.1, 0.1) to (0.9, 0.9), index 25.
// Frame 2 (log-log): the U segment from (1, 1) to (1000, 1000) over a window of
//   (0.1, 10000) x (0.1, 10000): decades 1 to 4 of 5, the V diagonal from 0.2
//   to 0.8, index 35.
// Frame 3 (polar): a circle of radius 0.5 around the centre, index 45.
// Frame 4: with LCLIP a horizontal line across the whole frame is cut at the
//   viewport (0.25, 0.75); without LCLIP a vertical one only at the frame's edge.
// Frame 5 (page 2): the V anti-diagonal, index 25.
#include <cstdlib>

#include <zep/zep.hpp>

int main(int argc, char** argv) {
  int ws = 2;
  for (int i = 1; i < argc; ++i)
    if (argv[i][0] != '-') ws = std::atoi(argv[i]);
  zep::sgopn(ws);
  zep::sldiv("Y", 2, 2);

  zep::sgfrm();
  zep::sgslni(25);
  zep::sglnv(0.1F, 0.1F, 0.9F, 0.9F);

  zep::sgfrm();
  zep::sgswnd(0.1F, 10000, 0.1F, 10000);
  zep::sgstrn(4);
  zep::sgstrf();
  zep::sgslni(35);
  zep::sglnu(1, 1, 1000, 1000);

  zep::sgfrm();
  zep::sgssim(1, 0, 0);
  zep::sgstrn(5);
  zep::sgstrf();
  zep::sgslni(45);
  for (int a = 0; a < 360; a += 5) zep::sglnu(0.5F, static_cast<float>(a), 0.5F, static_cast<float>(a + 5));

  zep::sgfrm();
  zep::sgsvpt(0.25F, 0.75F, 0.25F, 0.75F);
  zep::sgswnd(0, 1, 0, 1);
  zep::sgstrf();
  zep::sglset("LCLIP", true);
  zep::sgslni(23);
  zep::sglnu(-1, 0.5F, 2, 0.5F);
  zep::sglset("LCLIP", false);
  zep::sglnu(0.5F, -1, 0.5F, 2);

  zep::sgfrm();
  zep::sgslni(25);
  zep::sglnv(0.1F, 0.9F, 0.9F, 0.1F);
  zep::sgcls();
  return 0;
}
