// Text of the figure layer (axes, legends, titles, free text): the same backslash
// markup as the text primitives, made safe to hand any caller's text to. Named
// symbols (\alpha, \pm, \leq ...) become their characters, a plain "_", "|" or
// '"' is drawn as itself, characters the stroke fonts lack fall back to a
// drawable form, texts of any length are drawn in pieces, and none of it is
// clipped by SG LCLIP. Anything odd is a warning, never the end of the program.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zep::figure_text {

// One named symbol of the markup: its name without the backslash and its
// character in UTF-8.
struct Symbol {
  std::string_view name;
  std::string_view utf8;
};
// Every name the markup knows, in the order of the documentation.
std::span<const Symbol> symbols();

// The text with named symbols replaced by their characters, unknown names kept
// literally (as "\\name") with one warning from `routine`, characters the
// stroke fonts cannot draw replaced (superscript and subscript digits and signs
// by scripts, others by "?", with a warning) unless system fonts are in use,
// control bytes dropped, and empty scripts removed.
std::string prepare(std::string_view text, std::string_view routine);

// Draws a prepared or raw text at (vx, vy) in V: height in V, angle in degrees,
// centring -1/0/1, text index. A text that leaves the page is drawn and warned
// about by `routine`, naming the text.
void draw(float vx, float vy, std::string_view text, float height, int angle, int centring, int index,
          std::string_view routine);

// Width in V of the text (markup as draw takes it) at the height.
float width(std::string_view text, float height, std::string_view routine = "FGTXZV");

}  // namespace zep::figure_text
