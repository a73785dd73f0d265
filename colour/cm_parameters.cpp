// The colour (CM) parameter tables, overridable at run time like every
// other package.
#include <zep/colour.hpp>

#include "foundation/registry.hpp"

namespace zep {
namespace {

using registry::Entry;
using registry::Table;

constexpr Entry<int> kIntegers[] = {
    {"NBIN", "COLOR_BINS", 256},
    {"IUNDER", "UNDER_COLOR", -1},
    {"IOVER", "OVER_COLOR", -1},
    {"IBARLI", "COLOR_BAR_LINE_INDEX", 1},
};

constexpr Entry<bool> kLogicals[] = {
    {"LBTRI", "COLOR_BAR_TRIANGLES", false},
};

constexpr Entry<float> kReals[] = {
    {"BARWD", "COLOR_BAR_WIDTH", 0.03F},
    {"BARGAP", "COLOR_BAR_GAP", 0.03F},
    {"BARLHT", "COLOR_BAR_LABEL_HEIGHT", 0.016F},
};

Table<int>& integers() { return registry::tableOf<kIntegers>("CM"); }
Table<bool>& logicals() { return registry::tableOf<kLogicals>("CM"); }
Table<float>& reals() { return registry::tableOf<kReals>("CM"); }

}  // namespace

ZEP_DEFINE_VALUE_TABLE(cmi, int, integers())
ZEP_DEFINE_VALUE_TABLE(cml, bool, logicals())
ZEP_DEFINE_VALUE_TABLE(cmr, float, reals())

}  // namespace zep
