// What a text primitive (sztxop ... sztxcl) hands to the text engine: the
// attributes of the strings drawn inside it, read once at the open so that every
// string of the primitive looks the same.
#pragma once

#include <string_view>

namespace zep::text_engine {

struct TextState {
  float height = 0.05F;     // V units
  float scale = 0.05F / 24; // glyph units (1/24 of the height) to V
  int angleDegrees = 0;
  float angle = 0.0F;       // radians, counter-clockwise
  float cosScaled = 0.05F / 24;  // the rotated scale vector
  float sinScaled = 0.0F;
  int centring = 0;         // -1 left end, 0 middle, 1 right end at the point
  int index = 1;            // text index: colour and width, as a line index
  int font = 1;             // IFONT at the open
  int workstation = 0;      // IWS at the open
  bool controlChars = false;  // LCNTL
  int superscript = 124;    // ISUP, ISUB, IRST: character codes
  int subscript = 95;
  int reset = 34;
  float small = 0.7F;       // SMALL: script size
  float shift = 0.3F;       // SHIFT: script offset, in heights
  int savedLineIndex = 0;   // restored by sztxcl
};

TextState& textState();

// Width in V of `text` at `height` as sztxwv draws it now: the stroke font's
// extent, or the system font's at the whole point size the driver draws
// (szqtxw gives the system font's width per point, not per height).
float drawnWidth(std::string_view text, float height);

}  // namespace zep::text_engine
