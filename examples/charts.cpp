// Everyday charts: measurements with error bars over a model curve with a
// marker on every 20th point, a histogram of two samples stacked, and grouped
// bars, each with its legend. One PNG page by default; a workstation number
// as the first argument draws elsewhere (1: the window).
#include <cmath>
#include <cstdlib>
#include <vector>

#include <zep/zep.hpp>

namespace {

// A repeatable value in [0, 1) for sample i.
float noise(int i) {
  const float v = std::sin(static_cast<float>(i) * 12.9898F) * 43758.5453F;
  return v - std::floor(v);
}

void frame(float x0, float x1, float y0, float y1) {
  zep::sgfrm();
  zep::sgsvpt(0.2F, 0.9F, 0.2F, 0.85F);
  zep::sgswnd(x0, x1, y0, y1);
  zep::sgstrn(1);
  zep::sgstrf();
  zep::axinit();
  zep::axlgcl();
}

}  // namespace

int main(int argc, char** argv) {
  zep::sgopn(argc > 1 && argv[1][0] != '-' ? std::atoi(argv[1]) : 2);
  zep::sldiv("Y", 2, 2);
  zep::sglset("LCLIP", true);

  // Measurements with asymmetric errors in y and symmetric ones in x.
  frame(0, 10, 0, 1.2F);
  std::vector<float> t, model, x, y, below, above, across;
  for (int i = 0; i <= 200; ++i) {
    t.push_back(0.05F * static_cast<float>(i));
    model.push_back(std::exp(-t.back() / 4));
  }
  for (int i = 0; i < 10; ++i) {
    x.push_back(0.5F + static_cast<float>(i));
    y.push_back(std::exp(-x.back() / 4) + 0.08F * (noise(i) - 0.5F));
    below.push_back(0.04F + 0.04F * noise(i + 20));
    above.push_back(0.06F);
    across.push_back(0.2F);
  }
  zep::sgplzu(201, t.data(), model.data(), 1, 41);
  zep::chmkev(201, t.data(), model.data(), 20, 1, 12, 41, 0.02F);  // markevery
  zep::chebry(10, x.data(), y.data(), below.data(), above.data(), 21);
  zep::chebrx(10, x.data(), y.data(), across.data(), nullptr, 21);
  zep::sgpmzu(10, x.data(), y.data(), 10, 21, 0.015F);
  zep::axsttl("B", "TIME (h)");
  zep::axsttl("L", "SIGNAL");
  zep::axpfrm();
  zep::axlglm(41, 1, 12, 41, 0.02F, "e\\^{-t/4}");
  zep::axlgmk(10, 21, 0.015F, "measured");
  zep::axlgpv("TR");

  // Two samples stacked in the same bins; the bins chosen from all values.
  frame(0, 3, 0, 340);
  std::vector<float> values;
  for (int i = 0; i < 2000; ++i) values.push_back(noise(3 * i) + noise(3 * i + 1) + noise(3 * i + 2));
  for (int i = 0; i < 800; ++i) values.push_back(2.2F + 0.4F * (noise(5 * i) - noise(5 * i + 1)));
  int nbin = 0;
  zep::chqnbn(2800, values.data(), nbin);
  std::vector<float> edges(static_cast<std::size_t>(nbin) + 1);
  zep::chqbin(2800, values.data(), nbin, edges.data());
  const int counts[] = {2000, 800}, tones[] = {3999, 5999};
  zep::chhsst(2, counts, values.data(), nbin, edges.data(), tones, 1);
  zep::axsttl("L", "COUNT");
  zep::axpfrm();
  zep::axlgtn(3999, "background");
  zep::axlgtn(5999, "signal");
  zep::axlgpv("TL");

  // Grouped bars: three series in four groups.
  frame(0.4F, 4.6F, 0, 10);
  const float groups[] = {1, 2, 3, 4};
  const float series[] = {3, 5, 7, 6, 4, 6, 2, 8, 5, 3, 4, 9};
  const int fills[] = {2999, 4999, 6999};
  zep::chbrgp("V", 4, 3, groups, series, 0.9F, fills, 1);
  zep::axsttl("B", "QUARTER");
  zep::axpfrm();
  zep::axlgtn(2999, "2024");
  zep::axlgtn(4999, "2025");
  zep::axlgtn(6999, "2026");
  zep::axlgpv("TL");

  // A step line over the area between two curves.
  frame(0, 10, -1.5F, 1.5F);
  std::vector<float> lo, hi, steps;
  for (int i = 0; i <= 200; ++i) {
    lo.push_back(std::sin(t[static_cast<std::size_t>(i)]) - 0.3F);
    hi.push_back(std::sin(t[static_cast<std::size_t>(i)]) + 0.3F);
  }
  zep::chfilb(201, t.data(), lo.data(), hi.data(), 3999);
  for (int i = 0; i <= 10; ++i) steps.push_back(std::sin(static_cast<float>(i)));
  std::vector<float> at;
  for (int i = 0; i <= 10; ++i) at.push_back(static_cast<float>(i));
  zep::chstep(11, at.data(), steps.data(), "MID", 1, 23);
  zep::axpfrm();
  zep::axlgtn(3999, "sin t, +/- 0.3");
  zep::axlgln(23, 1, "sin n, held");
  zep::axlgpv("BL");

  zep::sgcls();
  return 0;
}
