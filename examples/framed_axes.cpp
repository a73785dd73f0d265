// Framed axes in a few calls: a linear frame with titles and a legend, a log-log
// frame, a time axis and a labelled Mollweide map, one per frame of a page.
//
//   framed_axes [workstation]     workstation 2 (files, default) or 1 (window)
#include <cmath>
#include <cstdlib>

#include <zep/zep.hpp>

int main(int argc, char** argv) {
  zep::sgopn(argc > 1 && argv[1][0] != '-' ? std::atoi(argv[1]) : 2);
  zep::fggrid(2, 2);  // four frames, each laid out for its labels and titles

  // Linear axes: ticks, labels and titles chosen for the data; a legend.
  const auto t = zep::fglins(0, 7, 200);
  zep::fgfrm();
  zep::fgplzu(t, zep::fgeval(t, [](float s) { return std::sin(s); }), 1, 23);
  zep::fgplzu(t, zep::fgeval(t, [](float s) { return std::exp(-s / 3) * std::cos(2 * s); }), 3, 43);
  zep::fgsttl("TIME t (s)", "SIGNAL (mV)", "");
  zep::fgpfrm();
  zep::axlgln(23, 1, "sin t");
  zep::axlgln(43, 3, "e\\^{-t/3} cos 2t");
  zep::axlgpv("TR");

  // Log-log axes: decades labelled 10^k, minor ticks at 2 ... 9.
  const auto f = zep::fgarry(41, [](int i) { return std::pow(10.0F, 0.1F * static_cast<float>(i)); });
  zep::fgfrm();
  zep::sgstrn(4);
  zep::fgplzu(f, zep::fgeval(f, [](float v) { return 5 / (1 + v * v / 1e4F) / std::sqrt(v); }), 1, 25);
  zep::fgsttl("FREQUENCY (Hz)", "POWER (V\\^{2}/Hz)", "");

  // A time axis: U counts days from 1 January 2024, labels at calendar steps.
  const auto day = zep::fglins(0, 366, 200);
  zep::fgfrm();
  zep::sgswnd(0, 366, -5, 30);
  zep::axstim("B", 2024, 1, 1, "D");
  zep::fgplzu(day, zep::fgeval(day, [](float d) { return 12 - 13 * std::cos(2 * 3.14159F * (d - 15) / 366); }), 1, 33);
  zep::fgsttl("", "TEMPERATURE (\\deg{}C)", "");

  // A Mollweide map: outline, graticule and labels outside the map.
  zep::fgfrm();
  zep::fgsmap(12, -180, 180, -90, 90);

  zep::fgcls();
  return 0;
}
