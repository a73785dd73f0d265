// The geography (GE) parameter tables: integer, logical, real and character
// tables of the registry, overridden at first use under the package letters "GE".
#include <zep/foundation.hpp>
#include <zep/geography.hpp>

#include "foundation/registry.hpp"

namespace zep {
namespace {

using registry::Entry;
using registry::TextValue;

constexpr Entry<int> kIntegers[] = {
    {"INDEXC", "COASTLINE_LINE_INDEX", 1},
    {"ITYPEC", "COASTLINE_LINE_TYPE", 1},
    {"INDEXK", "LAKE_LINE_INDEX", 1},
    {"ITYPEK", "LAKE_LINE_TYPE", 1},
    {"INDEXB", "BORDER_LINE_INDEX", 1},
    {"ITYPEB", "BORDER_LINE_TYPE", 1},
    {"INDEXS", "STATE_BORDER_LINE_INDEX", 1},
    {"ITYPES", "STATE_BORDER_LINE_TYPE", 3},
    {"INDEXR", "RIVER_LINE_INDEX", 31},
    {"ITYPER", "RIVER_LINE_TYPE", 1},
    {"LEVELC", "SHORE_LEVELS", 2},
    {"ITPLND", "LAND_TONE", 10999},
    {"ITPWTR", "WATER_TONE", 0},
    {"ITPLAK", "LAKE_TONE", -1},
    {"IANTAR", "ANTARCTIC_SHORE", 1},
};

constexpr Entry<bool> kLogicals[] = {
    {"LWATER", "FILL_WATER", true},
    {"LLAND", "FILL_LAND", true},
    {"LCOAST", "DRAW_COASTLINE", true},
};

constexpr Entry<float> kReals[] = {
    {"AREAMN", "MIN_FEATURE_AREA", -1.0F},
    {"STEPMN", "MIN_POINT_SPACING", 5.0e-4F},
};

constexpr Entry<TextValue> kTexts[] = {
    {"CRES", "RESOLUTION", "AUTO"},
    {"BORDER", "BORDER_LEVELS", "1"},
    {"RIVER", "RIVER_CLASSES", "0-4"},
    {"DSDIR", "DATA_DIRECTORIES", "/usr/share/gmt-gshhg:/usr/local/share/gmt-gshhg:/usr/share/gmt/coast"},
};

}  // namespace

ZEP_DEFINE_PACKAGE_TABLES(ge, "GE")

}  // namespace zep
