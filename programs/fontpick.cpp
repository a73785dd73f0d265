// fontpick: one page with the same kind of text three ways: in the stroke font,
// in the default system font, and in a system font chosen in the font selection
// dialog. The dialog belongs to the window, so the window (workstation 1) is the
// workstation opened; it is set as an overridable default, so that a user
// without a display can still send the page to files (-SG_IWS=2), where the
// dialog is refused and the default font is used.
#include <algorithm>
#include <string>
#include <string_view>

#include <zep/zep.hpp>

namespace {

constexpr std::size_t kTextLength = 80;
constexpr float kCentre = 0.5F;
constexpr int kCentred = 0;
constexpr int kTextIndex = 3;

// Every text is copied into a blank-padded line of fixed length before it is
// drawn. A longer text is cut, at a character boundary so that no UTF-8
// sequence is split.
void drawLine(float y, std::string_view text, float height) {
  std::size_t cut = std::min(text.size(), kTextLength);
  while (cut > 0 && cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0U) == 0x80U) --cut;
  std::string line(text.substr(0, cut));
  line.resize(kTextLength, ' ');
  zep::sgtxzv(kCentre, y, line, height, 0, kCentred, kTextIndex);
}

// The dialog hands back its name followed by NULs: the name ends at the first
// NUL and the rest of the field becomes blank.
std::string nameField(std::string name) {
  const std::size_t end = std::min(name.find('\0'), name.size());
  std::fill(name.begin() + static_cast<std::ptrdiff_t>(end), name.end(), ' ');
  return name;
}

}  // namespace

int main() {
  zep::sgistx("IWS", 1);
  zep::sginit();
  zep::sgfrm();

  drawLine(0.75F, "Please choose a font set...", 0.04F);
  drawLine(0.7F, "(This is drawn by ZEP stroke font)", 0.03F);

  zep::swlset("SYSFONT", true);
  std::string fontName(kTextLength, ' ');
  zep::swslft(fontName);
  fontName = nameField(std::move(fontName));

  drawLine(0.5F, "Selected font name: " + fontName, 0.04F);
  drawLine(0.45F, "(This is drawn by ZEP defalt system font)", 0.03F);

  zep::swcset("FONTNAME", fontName);
  drawLine(0.25F, "Velt Morvane Common Library モルヴァンライブラリ αβΣΩ", 0.03F);
  drawLine(0.2F, "(This is drawn by the selected font)", 0.03F);

  zep::sgcls();
  return 0;
}
