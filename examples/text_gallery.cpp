// A gallery of text: heights, angles, centring, super- and subscripts, both
// stroke fonts with their Greek letters, symbols and markers, and the same
// strings in the system font.
//
//   text_gallery [workstation]     workstation 2 (files, default) or 1 (window)
//
// Workstation 2 writes the format of the SW parameter IFL (1 PNG, 2 EPS, 3 SVG,
// 4 PDF), for example:  text_gallery -SW_IFL=1
#include <cstdlib>
#include <string>

#include <zep/zep.hpp>

namespace {

// A small cross marking the point a text is placed at.
void pointMark(float x, float y) {
  const float d = 0.008F;
  zep::sgslni(31);
  zep::sglnv(x - d, y, x + d, y);
  zep::sglnv(x, y - d, x, y + d);
}

void label(float x, float y, const char* text) { zep::sgtxzv(x, y, text, 0.018F, 0, -1, 1); }

void strokeFontPage(int font) {
  zep::sgiset("IFONT", font);
  zep::sgfrm();
  label(0.03F, 0.96F, font == 1 ? "STROKE FONT 1 (SIMPLEX SANS)" : "STROKE FONT 2 (SERIF)");

  // Heights.
  float x = 0.03F;
  for (float h : {0.02F, 0.03F, 0.045F, 0.065F}) {
    zep::sgtxzv(x, 0.88F, "Height", h, 0, -1, 1);
    float w = 0, wy = 0;
    int nc = 0;
    zep::szqtxw("Height", nc, w, wy);
    x += w * h + 0.03F;
  }

  // Centring: -1, 0 and 1 at the marked points.
  for (int c = -1; c <= 1; ++c) {
    const float y = 0.78F - 0.05F * static_cast<float>(c + 1);
    pointMark(0.5F, y);
    zep::sgtxzv(0.5F, y, c == -1 ? "left end here" : c == 0 ? "centred here" : "right end here", 0.03F, 0, c, 1);
  }

  // Angles about one point, in colours.
  pointMark(0.25F, 0.38F);
  for (int a = 0; a < 360; a += 45) zep::sgtxzv(0.25F, 0.38F, "  angle", 0.025F, a, -1, 10 * (a / 45 + 2) + 1);

  // Scripts with control characters, and the same text without them.
  zep::sglset("LCNTL", true);
  zep::sgtxzv(0.55F, 0.50F, "E = mc\\^2,  H\\_{2}O", 0.035F, 0, -1, 3);
  zep::sgtxzv(0.55F, 0.58F, "x\\_i\\^{n+1}", 0.035F, 0, -1, 3);
  zep::sgtxzv(0.55F, 0.42F, "10\\^{-3} m\\^2 s\\^{-1}", 0.035F, 0, -1, 3);
  zep::sglset("LCNTL", false);
  zep::sgtxzv(0.55F, 0.34F, "raw: x\\^2", 0.025F, 0, -1, 1);

  // Greek letters, symbols and markers by their codes. Codes outside the
  // printable range take four characters each in the workstation object's copy
  // of the string, which limits such strings to 19 characters.
  auto codes = [](float x0, float y, int first, int last, int index) {
    for (int k0 = first; k0 <= last; k0 += 12) {
      std::string s;
      for (int k = k0; k <= last && k < k0 + 12; ++k) s += static_cast<char>(k);
      zep::sgtxzv(x0 + 0.33F * static_cast<float>((k0 - first) / 12), y, s, 0.028F, 0, -1, index);
    }
  };
  codes(0.03F, 0.22F, 0x80, 0x97, 1);
  codes(0.03F, 0.16F, 0x98, 0xAF, 1);
  codes(0.03F, 0.10F, 0xB1, 0xD2, 1);
  codes(0.03F, 0.04F, 1, 17, 41);
}

}  // namespace

int main(int argc, char** argv) {
  const int workstation = argc > 1 && argv[1][0] != '-' ? std::atoi(argv[1]) : 2;
  zep::sgopn(workstation);
  strokeFontPage(1);
  strokeFontPage(2);

  // The system font draws the same markup through the workstation.
  zep::swlset("SYSFONT", true);
  zep::sgiset("IFONT", 1);
  zep::sgfrm();
  label(0.03F, 0.96F, "SYSTEM FONT");
  zep::sgtxzv(0.03F, 0.85F, "Sans, x\\^2 and H\\_{2}O", 0.04F, 0, -1, 1);
  zep::sgiset("IFONT", 2);
  zep::sgtxzv(0.03F, 0.75F, "Serif, 10\\^{-3} m\\^2 s\\^{-1}", 0.04F, 0, -1, 23);
  pointMark(0.5F, 0.5F);
  zep::sgtxzv(0.5F, 0.5F, "turned by 30 degrees", 0.03F, 30, 0, 1);
  zep::sgcls();
  return 0;
}
