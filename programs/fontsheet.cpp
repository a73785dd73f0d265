// fontsheet: sheets of the system font families known to the font engine. Each
// frame lists ten families, each by its name, its number and a sample text drawn
// in that family; a page holds four frames. The workstation number is read from
// standard input after a prompt and the list of workstations.
#include <algorithm>
#include <array>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include <zep/zep.hpp>

#include "foundation/list_reader.hpp"

namespace {

constexpr int kRowsPerFrame = 10;
constexpr float kLeft = 0.01F;
constexpr float kRight = 0.99F;
constexpr float kSampleColumn = 0.35F;
constexpr float kNameHeight = 0.015F;
constexpr float kSampleHeight = 0.05F;
constexpr std::size_t kFontNameLength = 70;
constexpr std::size_t kSuffixLength = 20;
constexpr std::string_view kSample = "ABCabs012αβγ";
constexpr int kStandardInput = 5;
constexpr std::size_t kInputRecordLength = 1024;

// Rows run from 0.90 at the top down to 0.09.
float rowY(int j) { return static_cast<float>(11 - j) * 0.09F; }

// One line of free-form output: a blank, then the text as it stands.
void writeFreeForm(std::string_view text) {
  std::printf(" %.*s\n", static_cast<int>(text.size()), text.data());
}

// A number right-aligned in three columns; one that does not fit shows as "***".
std::string formatI3(int k) {
  if (k < -99 || k > 999) return "***";
  std::array<char, 8> buf{};
  std::snprintf(buf.data(), buf.size(), "%3d", k);
  return std::string(buf.data(), 3);
}

// The family name up to its first NUL, followed by the whole suffix, in a field
// of fixed length: a long family name leaves no room for the suffix.
std::string fontNameOf(std::span<const char> family, std::string_view suffix) {
  const auto end = std::find(family.begin(), family.end(), '\0');
  std::string name(family.begin(), end);
  name.append(suffix);
  name.resize(kFontNameLength, ' ');
  return name;
}

// Reads the workstation number; input that holds no number leaves 0, which the
// session opener rejects as an invalid workstation.
int readWorkstation() {
  int iws = 0;
  zep::listio::ListReader reader(kStandardInput, kInputRecordLength);
  if (reader.read({&iws}) != zep::listio::ReadStatus::ok) iws = 0;
  return iws;
}

void drawSeparators() {
  for (int j = 1; j <= kRowsPerFrame; ++j) zep::sglnv(kLeft, rowY(j) + 0.05F, kRight, rowY(j) + 0.05F);
  zep::sglnv(kLeft, 0.05F, kRight, 0.05F);
}

// The lookup also refreshes the family count.
void drawFamily(int k, int j, std::string_view suffix, int& nfamilies) {
  std::array<char, 80> family{};
  zep::zgfontname(k, family, nfamilies);
  const std::string fontName = fontNameOf(family, suffix);
  zep::swcset("FONTNAME", fontName);

  const float y = rowY(j);
  zep::sgstxs(kNameHeight);
  zep::sgtxv(kLeft, y + 0.015F, fontName);
  zep::sgtxzv(kLeft, y + 0.035F, formatI3(k), kNameHeight, 0, -1, 1);
  zep::sgstxs(kSampleHeight);
  zep::sgtxv(kSampleColumn, y, kSample);
  writeFreeForm(fontName);
}

}  // namespace

int main() {
  zep::swlset("SYSFONT", true);
  int nfamilies = 0;
  zep::swftnm(nfamilies);

  std::fputs(" WORKSTATION ID (I)  ? ;\n", stdout);
  std::fflush(stdout);
  zep::sgpwsn();
  const int iws = readWorkstation();

  std::array<char, 80> family{};
  zep::zgfontname(0, family, nfamilies);
  const int nframes = nfamilies / kRowsPerFrame + 1;

  std::string suffix(" Regular");
  suffix.resize(kSuffixLength, ' ');
  writeFreeForm(suffix);

  zep::sgopn(iws);
  zep::sldiv("T", 2, 2);

  for (int p = 0; p <= nframes; ++p) {
    zep::sgfrm();
    zep::sgslni(1);
    drawSeparators();
    zep::sgstxc(-1);
    for (int j = 1; j <= kRowsPerFrame; ++j) {
      const int k = kRowsPerFrame * p + j;
      // Family 0 is never drawn: the rows hold families 1 to count - 1.
      if (k > nfamilies - 1) {
        zep::sgcls();
        std::fflush(stdout);
        return 0;
      }
      drawFamily(k, j, suffix, nfamilies);
    }
  }
  zep::sgcls();
  std::fflush(stdout);
  return 0;
}
