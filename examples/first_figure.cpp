// A first figure: a page divided into four frames, each with its own coordinate
// transformation and a frame drawn for it, with lines of several colours and widths.
//
//   first_figure [workstation]     workstation 2 (files, default) or 1 (window)
//
// The output format of workstation 2 follows the SW parameter IFL (1 PNG, 2 EPS,
// 3 SVG, 4 PDF), for example:  first_figure -SW_IFL=1
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

#include <zep/zep.hpp>

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// A polyline through n points in U, with line type 1 and the given index.
template <typename F>
void curve(int n, int index, F point) {
  std::vector<float> x(static_cast<std::size_t>(n)), y(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) point(i, x[static_cast<std::size_t>(i)], y[static_cast<std::size_t>(i)]);
  zep::sgplzu(n, x.data(), y.data(), 1, index);
}

}  // namespace

int main(int argc, char** argv) {
  const int workstation = argc > 1 && argv[1][0] != '-' ? std::atoi(argv[1]) : 2;
  zep::sgopn(workstation);
  zep::sldiv("Y", 2, 2);

  // 1: linear axes, a damped wave and its envelope.
  zep::sgfrm();
  zep::sgsvpt(0.18F, 0.92F, 0.18F, 0.85F);
  zep::sgswnd(0, 10, -1, 1);
  zep::sgstrn(1);
  zep::sgstrf();
  curve(201, 23, [](int i, float& x, float& y) {
    x = 0.05F * static_cast<float>(i);
    y = std::exp(-0.25F * x) * std::cos(2.0F * x);
  });
  curve(101, 41, [](int i, float& x, float& y) {
    x = 0.1F * static_cast<float>(i);
    y = std::exp(-0.25F * x);
  });
  zep::axsttl("B", "TIME t (s)");
  zep::axsttl("L", "e\\^{-t/4} cos 2t");
  zep::axpfrm();
  zep::axlgcl();
  zep::axlgln(23, 1, "WAVE");
  zep::axlgln(41, 1, "ENVELOPE");
  zep::axlgpv("TR");

  // 2: logarithmic axes, power laws are straight.
  zep::sgfrm();
  zep::sgsvpt(0.18F, 0.92F, 0.18F, 0.85F);
  zep::sgswnd(1, 1000, 0.01F, 100);
  zep::sgstrn(4);
  zep::sgstrf();
  const int indices[] = {25, 35, 45};
  const float powers[] = {-0.5F, 0.5F, 1.0F};
  zep::axinit();
  zep::axlgcl();
  const char* names[] = {"x\\^{-1/2}", "x\\^{1/2}", "x"};
  for (int k = 0; k < 3; ++k) {
    curve(31, indices[k], [&](int i, float& x, float& y) {
      x = std::pow(10.0F, 0.1F * static_cast<float>(i));
      y = 0.05F * std::pow(x, powers[k]);
    });
    zep::axlgln(indices[k], 1, names[k]);
  }
  zep::axsttl("B", "x");
  zep::axsttl("L", "y");
  zep::axpfrm();
  zep::axlgpv("TL");

  // 3: polar coordinates, a rose and a spiral, in circles and spokes.
  zep::sgfrm();
  zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.9F);
  zep::sgssim(0.33F, 0, 0);
  zep::sgstrn(5);
  zep::sgstrf();
  curve(361, 33, [](int i, float& r, float& theta) {
    theta = static_cast<float>(i);
    r = std::fabs(std::cos(3.0F * theta * kPi / 180.0F));
  });
  curve(721, 52, [](int i, float& r, float& theta) {
    theta = static_cast<float>(i);
    r = static_cast<float>(i) / 720.0F;
  });
  zep::axrset("DPOLAR", 45);
  zep::axpfrm();

  // 4: clipping: with LCLIP the lines stop at the viewport; without, only the
  // frame's edge of the workstation window cuts them. Ticks outside, the
  // reversed x window counts down.
  zep::sgfrm();
  zep::sgsvpt(0.25F, 0.75F, 0.25F, 0.75F);
  zep::sgswnd(1, -1, -1, 1);
  zep::sgstrn(1);
  zep::sgstrf();
  zep::axinit();
  for (const char* side : {"B", "T", "L", "R"}) zep::axstdr(side, 2);
  zep::axpfrm();
  zep::sglset("LCLIP", true);
  zep::sgslni(25);
  for (int i = 0; i < 12; ++i) {
    const float a = static_cast<float>(i) * kPi / 6.0F;
    zep::sglnu(0, 0, 2 * std::cos(a), 2 * std::sin(a));
  }
  zep::sglset("LCLIP", false);
  zep::sgslni(43);
  zep::sglnu(-3, -1.5F, 3, 1.5F);

  zep::sgcls();
  return 0;
}
