// Framed axes in a few calls: a linear frame with titles and a legend, a log-log
// frame, a time axis and a labelled Mollweide map, one per frame of a page.
//
//   framed_axes [workstation]     workstation 2 (files, default) or 1 (window)
#include <cmath>
#include <cstdlib>

#include <zep/zep.hpp>

int main(int argc, char** argv) {
  zep::sgopn(argc > 1 && argv[1][0] != '-' ? std::atoi(argv[1]) : 2);
  zep::sldiv("Y", 2, 2);
  zep::sglset("LCLIP", true);  // data lines stop at the viewport
  float x[200], y[200], z[200];

  // Linear axes: ticks, labels and titles chosen for the window; a legend.
  zep::sgfrm();
  zep::sgsvpt(0.2F, 0.9F, 0.2F, 0.85F);
  zep::sgswnd(0, 7, -1.2F, 1.2F);
  zep::sgstrn(1);
  zep::sgstrf();
  for (int i = 0; i < 200; ++i) {
    x[i] = 7.0F * static_cast<float>(i) / 199;
    y[i] = std::sin(x[i]);
    z[i] = std::exp(-x[i] / 3) * std::cos(2 * x[i]);
  }
  zep::sgplzu(200, x, y, 1, 23);
  zep::sgplzu(200, x, z, 3, 43);
  zep::axsttl("B", "TIME t (s)");
  zep::axsttl("L", "SIGNAL (mV)");
  zep::axpfrm();
  zep::axlgln(23, 1, "sin t");
  zep::axlgln(43, 3, "e\\^{-t/3} cos 2t");
  zep::axlgpv("TR");

  // Log-log axes: decades labelled 10^k, minor ticks at 2 ... 9.
  zep::sgfrm();
  zep::sgsvpt(0.2F, 0.9F, 0.2F, 0.85F);
  zep::sgswnd(1, 1e4F, 1e-3F, 10);
  zep::sgstrn(4);
  zep::sgstrf();
  for (int i = 0; i < 41; ++i) {
    x[i] = std::pow(10.0F, 0.1F * static_cast<float>(i));
    y[i] = 5 / (1 + x[i] * x[i] / 1e4F) / std::sqrt(x[i]);
  }
  zep::sgplzu(41, x, y, 1, 25);
  zep::axinit();
  zep::axsttl("B", "FREQUENCY (Hz)");
  zep::axsttl("L", "POWER (V\\^{2}/Hz)");
  zep::axpfrm();

  // A time axis: U counts days from 1 January 2024, labels at calendar steps.
  zep::sgfrm();
  zep::sgsvpt(0.2F, 0.9F, 0.3F, 0.75F);
  zep::sgswnd(0, 366, -5, 30);
  zep::sgstrn(1);
  zep::sgstrf();
  for (int i = 0; i < 200; ++i) {
    x[i] = 366.0F * static_cast<float>(i) / 199;
    y[i] = 12 - 13 * std::cos(2 * 3.14159F * (x[i] - 15) / 366);
  }
  zep::sgplzu(200, x, y, 1, 33);
  zep::axinit();
  zep::axstim("B", 2024, 1, 1, "D");
  zep::axsttl("L", "TEMPERATURE (\xC2\xB0" "C)");
  zep::axpfrm();

  // A Mollweide map: outline, graticule and labels outside the map.
  zep::sgfrm();
  zep::sgsvpt(0.05F, 0.95F, 0.1F, 0.9F);
  zep::sgssim(0.14F, 0, 0);
  zep::sgstrn(12);
  zep::sgstrf();
  zep::axpfrm();

  zep::sgcls();
  return 0;
}
