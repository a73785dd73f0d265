// A page of two frames: data on a curvilinear grid (transformation 51), drawn
// in grid coordinates and shown in the physical plane, and a perspective view
// that stacks a family of curves in depth.
//
//   curvilinear_and_perspective [workstation]   workstation 2 (files, default) or 1 (window)
//
// The output format of workstation 2 follows the SW parameter IFL (1 PNG, 2 EPS,
// 3 SVG, 4 PDF), for example:  curvilinear_and_perspective -SW_IFL=1
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

#include <zep/zep.hpp>

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// A polyline through n points in user coordinates.
template <typename F>
void curveU(int n, F point) {
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

template <typename F>
void curveV(int n, F point) {
  float x0 = 0, y0 = 0;
  point(0, x0, y0);
  for (int i = 1; i < n; ++i) {
    float x1 = 0, y1 = 0;
    point(i, x1, y1);
    zep::sglnv(x0, y0, x1, y1);
    x0 = x1;
    y0 = y1;
  }
}

void boxV(float x0, float x1, float y0, float y1) {
  zep::sglnv(x0, y0, x1, y0);
  zep::sglnv(x1, y0, x1, y1);
  zep::sglnv(x1, y1, x0, y1);
  zep::sglnv(x0, y1, x0, y0);
}

// Frame 1: an annular sector, radius 1 to 2 along the first grid axis and
// the angle 160 to 20 degrees (decreasing) along the second.
void curvilinearFrame() {
  constexpr int nx = 11;
  constexpr int ny = 15;
  std::vector<float> radius(nx);
  std::vector<float> angle(ny);
  for (int i = 0; i < nx; ++i) radius[i] = 1.0F + 0.1F * static_cast<float>(i);
  for (int j = 0; j < ny; ++j) angle[j] = 160.0F - 10.0F * static_cast<float>(j);
  std::vector<float> cx(nx * ny);
  std::vector<float> cy(nx * ny);
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      const float t = angle[j] * kPi / 180.0F;
      cx[j * nx + i] = radius[i] * std::cos(t);
      cy[j * nx + i] = radius[i] * std::sin(t);
    }
  zep::g2sctr(nx, ny, radius.data(), angle.data(), cx.data(), cy.data());

  zep::sgsvpt(0.05F, 0.95F, 0.3F, 0.75F);
  zep::sgscwd(-2.1F, 2.1F, 0.0F, 2.1F);  // the physical plane, same scale in x and y
  zep::sgstrn(51);
  zep::sgstrf();

  zep::sgslni(1);
  boxV(0.05F, 0.95F, 0.3F, 0.75F);

  // Grid lines, sampled finely so that the arcs follow the cells.
  zep::sgslni(101);
  for (int i = 1; i < nx - 1; ++i)
    curveU(2 * ny - 1, [&](int k, float& u, float& v) {
      u = radius[i];
      v = 160.0F - 5.0F * static_cast<float>(k);
    });
  for (int j = 1; j < ny - 1; ++j) zep::sglnu(1.0F, angle[j], 2.0F, angle[j]);

  // The frame of the grid: its four edges.
  zep::sgslni(13);
  for (float r : {1.0F, 2.0F})
    curveU(57, [r](int k, float& u, float& v) {
      u = r;
      v = 160.0F - 2.5F * static_cast<float>(k);
    });
  zep::sglnu(1.0F, 160.0F, 2.0F, 160.0F);
  zep::sglnu(1.0F, 20.0F, 2.0F, 20.0F);

  // A wave given in grid coordinates: radius 1.5 + 0.3 sin(6 angle).
  zep::sgslni(23);
  curveU(281, [](int k, float& u, float& v) {
    v = 160.0F - 0.5F * static_cast<float>(k);
    u = 1.5F + 0.3F * std::sin(6.0F * v * kPi / 180.0F);
  });
  zep::sgslni(33);
  curveU(281, [](int k, float& u, float& v) {
    v = 160.0F - 0.5F * static_cast<float>(k);
    u = 1.5F - 0.3F * std::sin(6.0F * v * kPi / 180.0F);
  });
}

// Frame 2: damped waves on planes one behind the other, the stack running
// back to the upper right.
void perspectiveFrame() {
  // The centre of the stack is the object point, placed at the centre of R;
  // the eye is at distance 2 from it.
  zep::stspr3(0.5F, 0.5F, -0.5F, 0.5F, 0.7F, -0.65F, 0.55F, 2.0F, 0.5F, 0.5F);
  constexpr int planes = 6;
  for (int k = planes - 1; k >= 0; --k) {
    // V x and V y on the first two axes, the section plane further back for
    // every curve.
    zep::stspr2(1, 2, -static_cast<float>(k) / (planes - 1));
    zep::sgslni(101);
    boxV(0.0F, 1.0F, 0.0F, 1.0F);
    zep::sgslni(k % 2 == 0 ? 43 : 53);
    curveV(201, [k](int i, float& x, float& y) {
      x = 0.005F * static_cast<float>(i);
      const float t = 12.0F * x + 0.8F * static_cast<float>(k);
      y = 0.5F + 0.4F * std::exp(-2.0F * x) * std::sin(t);
    });
  }
  // The edges that join the planes: V x now runs back along the third axis,
  // on the left (section 0) and right (section 1) sides.
  zep::sgslni(12);
  for (float side : {0.0F, 1.0F}) {
    zep::stspr2(-3, 2, side);
    for (float y : {0.0F, 1.0F}) zep::sglnv(0.0F, y, 1.0F, y);
  }
  zep::stspr2(0, 0, 0.0F);
}

}  // namespace

int main(int argc, char** argv) {
  const int workstation = argc > 1 && argv[1][0] != '-' ? std::atoi(argv[1]) : 2;
  zep::sgopn(workstation);
  zep::sldiv("Y", 2, 1);
  zep::sgfrm();
  curvilinearFrame();
  zep::sgfrm();
  perspectiveFrame();
  zep::sgcls();
  return 0;
}
