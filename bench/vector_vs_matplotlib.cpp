// Vector fields against matplotlib (Debian's python3-matplotlib, Agg to PNG; a
// baseline only, the library never uses Python): whole-process times of the
// same picture (800 x 600 pixels, the same analytic field) side by side.
//   10^5 arrows                        vs quiver             target 0.2
//   streamlines, 551 x 1071, linear    vs streamplot(density=2)  target 0.5
//   the same on Mollweide and on north polar stereographic vs streamplot on linear axes, target 1
// Each case runs this program again with "--draw <case>" (and Python with the
// script below), so that start-up and file writing count on both sides.
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <zep/zep.hpp>

#include "bench_support.hpp"

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180;

// A jet along 40N and four vortices of both senses, in m/s, at (lon, lat) degrees.
void field(double lon, double lat, float& u, float& v) {
  const double centres[4][3] = {{-100, 10, 40}, {20, -30, -35}, {120, 45, 30}, {60, 0, -25}};
  double uu = 30 * std::exp(-std::pow((lat - 40) / 10, 2)), vv = 0;
  for (const auto& c : centres) {
    const double dx = lon - c[0], dy = lat - c[1];
    const double w = c[2] / 25 * std::exp(-(dx * dx + dy * dy) / (25.0 * 25.0));
    uu += -dy * w;
    vv += dx * w;
  }
  u = static_cast<float>(uu);
  v = static_cast<float>(vv);
}

const char* kScript = R"PY(
import sys, numpy as np, matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
case, out = sys.argv[1], sys.argv[2]
def field(lon, lat):
    centres = [(-100, 10, 40), (20, -30, -35), (120, 45, 30), (60, 0, -25)]
    u = 30 * np.exp(-((lat - 40) / 10) ** 2); v = np.zeros_like(lon)
    for cx, cy, s in centres:
        dx, dy = lon - cx, lat - cy
        w = s / 25 * np.exp(-(dx * dx + dy * dy) / 625.0)
        u = u - dy * w; v = v + dx * w
    return u, v
fig = plt.figure(figsize=(8, 6), dpi=100)
ax = fig.add_axes([0.1, 0.1, 0.8, 0.8])
if case == "arrows":
    n = int(sys.argv[3])
    lon, lat = np.meshgrid(np.linspace(-180, 180, n), np.linspace(-90, 90, n))
    u, v = field(lon, lat)
    ax.quiver(lon, lat, u, v)
else:
    lon, lat = np.meshgrid(np.linspace(-180, 180, 1071), np.linspace(-90, 90, 551))
    u, v = field(lon, lat)
    ax.streamplot(lon[0], lat[:, 0], u, v, density=2)
fig.savefig(out)
)PY";

void open(const char* name) {
  zep::swiset("IFL", 1);
  zep::swcset("FNAME", name);
  zep::swiset("IWIDTH", 800);
  zep::swiset("IHEIGHT", 600);
  zep::swlset("LWAIT", false);
  zep::swlset("LWAIT1", false);
  zep::gliset("MSGLEV", 2);
  zep::sgopn(2);
  zep::sgfrm();
  zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.65F);
}

void gridField(int nx, int ny, std::vector<float>& lon, std::vector<float>& lat, std::vector<float>& u, std::vector<float>& v) {
  lon.resize(static_cast<std::size_t>(nx));
  lat.resize(static_cast<std::size_t>(ny));
  u.resize(static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny));
  v.resize(u.size());
  for (int i = 0; i < nx; ++i) lon[static_cast<std::size_t>(i)] = static_cast<float>(-180 + 360.0 * i / (nx - 1));
  for (int j = 0; j < ny; ++j) lat[static_cast<std::size_t>(j)] = static_cast<float>(-90 + 180.0 * j / (ny - 1));
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      const std::size_t k = static_cast<std::size_t>(j) * static_cast<std::size_t>(nx) + static_cast<std::size_t>(i);
      field(lon[static_cast<std::size_t>(i)], lat[static_cast<std::size_t>(j)], u[k], v[k]);
    }
}

int draw(const std::string& c, int arrowsPerSide) {
  open(("zep_" + c).c_str());
  std::vector<float> lon, lat, u, v;
  if (c == "arrows") {
    zep::sgswnd(-180, 180, -90, 90);
    zep::sgstrn(1);
    zep::sgstrf();
    gridField(arrowsPerSide, arrowsPerSide, lon, lat, u, v);
    zep::vcsfld(arrowsPerSide, arrowsPerSide, u.data(), v.data(), lon.data(), lat.data());
    zep::vcarwu();
  } else {
    if (c == "lines") {
      zep::sgswnd(-180, 180, -90, 90);
      zep::sgstrn(1);
    } else if (c == "mollweide") {
      zep::sgssim(0.14F, 0, 0);
      zep::sgsmpl(0, 90, 0);
      zep::sgstxy(-180, 180, -90, 90);
      zep::sgstrn(12);
    } else {
      zep::sgssim(0.14F, 0, 0);
      zep::sgsmpl(0, 90, 0);
      zep::sgstxy(-180, 180, 0, 90);
      zep::sgstrn(31);
    }
    zep::sgstrf();
    gridField(1071, 551, lon, lat, u, v);
    zep::vcsfld(1071, 551, u.data(), v.data(), lon.data(), lat.data());
    // matplotlib's density 2: a 60 x 60 mask over the axes.
    zep::vcrset("DSEP", 0.8F / 60);
    zep::vcrset("DTEST", 0.4F / 60);
    zep::vcrset("STEP", 0.1F / 60);
    zep::vcstmu();
  }
  zep::sgcls();
  return 0;
}

double timed(const std::string& command) {
  const auto t0 = bench::Clock::now();
  const int rc = std::system(command.c_str());
  if (rc != 0) {
    std::fprintf(stderr, "failed (%d): %s\n", rc, command.c_str());
    std::exit(1);
  }
  return bench::seconds_since(t0);
}

}  // namespace

int main(int argc, char** argv) {
  const int side = static_cast<int>(std::lround(std::sqrt(static_cast<double>(bench::scaled(100000)))));
  if (argc >= 3 && std::string(argv[1]) == "--draw") return draw(argv[2], side);
  if (std::system("/usr/bin/python3 -c 'import matplotlib, numpy' 2>/dev/null") != 0) {
    std::printf("NOTE|vector fields: matplotlib is missing (apt-get install python3-matplotlib); no comparison\n");
    return 0;
  }
  {
    std::ofstream py("vector_mpl.py");
    py << kScript;
  }
  const std::string self = std::string("'") + argv[0] + "'";
  const std::string n = std::to_string(side);
  const auto arrows = bench::alternate([&] { return timed(self + " --draw arrows"); },
                                       [&] { return timed("/usr/bin/python3 vector_mpl.py arrows mpl_arrows.png " + n); });
  bench::row(std::to_string(side * side) + " arrows to PNG", arrows, "matplotlib quiver", 0.2);
  const int reps = std::min(bench::repetitions(), 3);
  const auto lines = bench::alternate([&] { return timed(self + " --draw lines"); },
                                      [&] { return timed("/usr/bin/python3 vector_mpl.py lines mpl_lines.png"); }, reps);
  bench::row("streamlines 551x1071, linear axes", lines, "matplotlib streamplot density 2", 0.5);
  for (const char* map : {"mollweide", "polar"}) {
    bench::Result r;
    std::vector<double> s;
    for (int i = 0; i < reps; ++i) s.push_back(timed(self + " --draw " + map));
    r.subject = bench::median(s);
    r.baseline = lines.baseline;
    bench::row(std::string("streamlines 551x1071, ") + (map[0] == 'm' ? "Mollweide" : "north polar stereographic"), r,
               "matplotlib streamplot on linear axes", 1.0);
  }
  std::printf("NOTE|vector fields: whole processes, 800 x 600 PNG; matplotlib %s\n",
              "3.6 (Debian) with Agg; the map rows reuse the linear-axes streamplot time measured in the same run");
  return 0;
}
