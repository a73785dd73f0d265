// A swatch of every colormap of the colormap list: one PNG (or PDF) page per
// colormap, its colours 0-99 as boxes with the colormap's number and
// description, as docs/colormaps.md shows them.
//
//   colormap_swatches            colormap_01.pdf ... (-SW_IFL=1: colormap_01_0001.png ...)
#include <array>
#include <cstdio>
#include <string>

#include <zep/zep.hpp>

int main() {
  int count = 0;
  zep::swcmll();
  zep::swqcmn(count);
  for (int i = 1; i <= count; ++i) {
    std::array<char, 80> text{};
    zep::swqcmd(i, text);
    std::string description(text.data(), text.size());
    description.erase(description.find_last_not_of(' ') + 1);
    char name[32];
    std::snprintf(name, sizeof name, "colormap_%02d", i);
    zep::swiset("ICLRMAP", i);
    zep::fgopn(name, 16, 2.4F, "CM");
    zep::sglset("LFULL", true);  // V runs over the whole page: [0, 1] x [0, 0.15]
    zep::sgfrm();
    // Colours 0 to 99 side by side; a colormap with fewer repeats its last.
    for (int c = 0; c < 100; ++c) {
      const float x0 = 0.02F + 0.0096F * c, x1 = x0 + 0.0096F;
      const float x[4] = {x0, x1, x1, x0}, y[4] = {0.02F, 0.02F, 0.09F, 0.09F};
      zep::sgtnzv(4, x, y, c * 1000 + 999);
    }
    zep::fgtxzv(0.02F, 0.12F, std::to_string(i) + ": " + description, 0.018F, 0, -1, 1);
    zep::fgcls();
  }
}
