// The vector (VC) parameter tables: integer, logical and real tables on the
// registry, overridable at run time like every other package.
#include <zep/vector.hpp>

#include "foundation/registry.hpp"

namespace zep {
namespace {

using registry::Entry;
using registry::Table;

constexpr Entry<int> kIntegers[] = {
    {"INDEX", "VECTOR_LINE_INDEX", 1},
    {"MAXPT", "MAX_STREAMLINE_POINTS", 20000},
};

constexpr Entry<bool> kLogicals[] = {
    {"LUDIR", "DIRECTION_IN_USER_UNITS", false},
    {"LCOLOR", "COLOR_BY_MAGNITUDE", false},
    {"LKEYIN", "KEY_INSIDE_VIEWPORT", true},
    {"LBFLIP", "FLIP_BARBS", false},
    {"LSTARW", "STREAMLINE_ARROWS", true},
};

constexpr Entry<float> kReals[] = {
    {"SCALE", "VECTOR_SCALE", 0.0F},
    {"SPACE", "ARROW_SPACING", 0.0F},
    {"BARBLN", "BARB_LENGTH", 0.035F},
    {"BARBU", "BARB_UNIT", 5.0F},
    {"KEYHT", "KEY_LABEL_HEIGHT", 0.015F},
    {"DSEP", "STREAMLINE_SEPARATION", 0.03F},
    {"DTEST", "STREAMLINE_TEST_DISTANCE", 0.015F},
    {"STEP", "STREAMLINE_STEP", 0.003F},
    {"ARRSP", "STREAMLINE_ARROW_SPACING", 0.2F},
};

Table<int>& integers() { return registry::tableOf<kIntegers>("VC"); }
Table<bool>& logicals() { return registry::tableOf<kLogicals>("VC"); }
Table<float>& reals() { return registry::tableOf<kReals>("VC"); }

}  // namespace

ZEP_DEFINE_VALUE_TABLE(vci, int, integers())
ZEP_DEFINE_VALUE_TABLE(vcl, bool, logicals())
ZEP_DEFINE_VALUE_TABLE(vcr, float, reals())

}  // namespace zep
