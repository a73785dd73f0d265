// The axis (AX) parameter tables: integer, logical, real and character tables of
// the registry, overridden at first use under the package letters "AX".
#include <zep/axes.hpp>
#include <zep/foundation.hpp>

#include "axes/ax_internal.hpp"
#include "foundation/registry.hpp"

namespace zep {
namespace {

using registry::Entry;
using registry::TextValue;

constexpr Entry<int> kIntegers[] = {
    {"NTICK", "MAJOR_TICK_TARGET", 6},
    {"ITICK", "TICK_DIRECTION", 1},
    {"LBLMAX", "MAX_LABEL_LENGTH", 6},
    {"INDEXA", "AXIS_LINE_INDEX", 3},
    {"INDEXL", "LABEL_TEXT_INDEX", 3},
    {"INDEXT", "TITLE_TEXT_INDEX", 3},
    {"INDEXG", "GRATICULE_LINE_INDEX", 1},
    {"ITYPEG", "GRATICULE_LINE_TYPE", 1},
    {"INDEXO", "OUTLINE_LINE_INDEX", 3},
    {"NGRAT", "GRATICULE_LINE_TARGET", 6},
    {"INDEXB", "LEGEND_BOX_INDEX", 1},
    {"ITLGBG", "LEGEND_BACKGROUND_TONE", 999},
};

constexpr Entry<bool> kLogicals[] = {
    {"LMINOR", "DRAW_MINOR_TICKS", true},
    {"LOUTLN", "DRAW_MAP_OUTLINE", true},
    {"LGRAT", "DRAW_GRATICULE", true},
    {"LGRLBL", "LABEL_GRATICULE", true},
    {"LLGBOX", "DRAW_LEGEND_BOX", true},
    {"LLGBG", "DRAW_LEGEND_BACKGROUND", true},
};

constexpr Entry<float> kReals[] = {
    {"RTICK", "MAJOR_TICK_LENGTH", 0.012F},
    {"RMINOR", "MINOR_TICK_LENGTH", 0.006F},
    {"RLABEL", "LABEL_HEIGHT", 0.02F},
    {"RTITLE", "AXIS_TITLE_HEIGHT", 0.024F},
    {"RGAP", "LABEL_GAP", 0.008F},
    {"DGLON", "GRATICULE_LONGITUDE_STEP", 0.0F},
    {"DGLAT", "GRATICULE_LATITUDE_STEP", 0.0F},
    {"DPOLAR", "POLAR_SPOKE_STEP", 30.0F},
    {"RLEGND", "LEGEND_TEXT_HEIGHT", 0.018F},
    {"RLGLEN", "LEGEND_SAMPLE_LENGTH", 0.05F},
};

// UTF-8, which the stroke fonts and the system fonts both draw. A program
// that switches UTF-8 decoding off can take "\\^{o}" and "x" instead.
constexpr Entry<TextValue> kTexts[] = {
    {"CDEG", "DEGREE_SIGN", "\xC2\xB0"},      // U+00B0
    {"CTIMES", "MULTIPLY_SIGN", "\xC3\x97"},  // U+00D7
};

}  // namespace

ZEP_DEFINE_PACKAGE_TABLES(ax, "AX")

namespace axes {

bool tickTargetChosen() {
  auto& table = registry::tableOf<kIntegers>("AX");
  const int id = table.qin("NTICK");
  int value = 0;
  table.qvl(id, value);
  return table.stores(id) > 0 || value != kIntegers[id - 1].value;
}

}  // namespace axes
}  // namespace zep
