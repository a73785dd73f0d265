// A first figure: a page divided into four frames, each with its own coordinate
// transformation, drawn with lines of several colours and widths.
//
//   first_figure [workstation]     workstation 2 (files, default) or 1 (window)
//
// The output format of workstation 2 follows the SW parameter IFL (1 PNG, 2 EPS,
// 3 SVG, 4 PDF), for example:  first_figure -SW_IFL=1
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

#include <zep/zep.hpp>

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// A polyline through n points, one segment after the other.
template <typename F>
void curve(int n, F point) {
  float x0 = 0, y0 = 0;
  point(0, x0, y0);
  for (int i = 1; i < n; ++i) {
    float x1 = 0, y1 = 0;
    point(i, x1, y1);
    zep::sglnu(x0, y0, x1, y1);
    x0 = x1;
    y0 = y1;
  }
}

// The viewport's outline in V coordinates.
void frameBox(float x0, float x1, float y0, float y1) {
  zep::sglnv(x0, y0, x1, y0);
  zep::sglnv(x1, y0, x1, y1);
  zep::sglnv(x1, y1, x0, y1);
  zep::sglnv(x0, y1, x0, y0);
}

void viewport(float x0, float x1, float y0, float y1) {
  zep::sgsvpt(x0, x1, y0, y1);
  zep::sgslni(1);
  frameBox(x0, x1, y0, y1);
}

}  // namespace

int main(int argc, char** argv) {
  const int workstation = argc > 1 && argv[1][0] != '-' ? std::atoi(argv[1]) : 2;
  zep::sgopn(workstation);
  zep::sldiv("Y", 2, 2);

  // 1: linear axes, a damped wave and its envelope.
  zep::sgfrm();
  viewport(0.15F, 0.9F, 0.15F, 0.85F);
  zep::sgswnd(0, 10, -1, 1);
  zep::sgstrn(1);
  zep::sgstrf();
  zep::sgslni(23);
  curve(201, [](int i, float& x, float& y) {
    x = 0.05F * static_cast<float>(i);
    y = std::exp(-0.25F * x) * std::cos(2.0F * x);
  });
  zep::sgslni(41);
  curve(101, [](int i, float& x, float& y) {
    x = 0.1F * static_cast<float>(i);
    y = std::exp(-0.25F * x);
  });
  zep::sgslni(1);
  zep::sglnu(0, 0, 10, 0);

  // 2: logarithmic axes, power laws are straight.
  zep::sgfrm();
  viewport(0.15F, 0.9F, 0.15F, 0.85F);
  zep::sgswnd(1, 1000, 0.01F, 100);
  zep::sgstrn(4);
  zep::sgstrf();
  const int indices[] = {25, 35, 45};
  const float powers[] = {-0.5F, 0.5F, 1.0F};
  for (int k = 0; k < 3; ++k) {
    zep::sgslni(indices[k]);
    curve(31, [&](int i, float& x, float& y) {
      x = std::pow(10.0F, 0.1F * static_cast<float>(i));
      y = 0.05F * std::pow(x, powers[k]);
    });
  }

  // 3: polar coordinates, a rose and a spiral.
  zep::sgfrm();
  viewport(0.1F, 0.9F, 0.1F, 0.9F);
  zep::sgssim(0.4F, 0, 0);
  zep::sgstrn(5);
  zep::sgstrf();
  zep::sgslni(33);
  curve(361, [](int i, float& r, float& theta) {
    theta = static_cast<float>(i);
    r = std::fabs(std::cos(3.0F * theta * kPi / 180.0F));
  });
  zep::sgslni(52);
  curve(721, [](int i, float& r, float& theta) {
    theta = static_cast<float>(i);
    r = static_cast<float>(i) / 720.0F;
  });

  // 4: clipping: with LCLIP the lines stop at the viewport; without, only the
  // frame's edge of the workstation window cuts them.
  zep::sgfrm();
  viewport(0.25F, 0.75F, 0.25F, 0.75F);
  zep::sgswnd(-1, 1, -1, 1);
  zep::sgstrn(1);
  zep::sgstrf();
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
