// The contour (CN) parameter tables: integer, logical and real tables on the
// registry, overridable at run time like every other package.
#include <zep/contour.hpp>

#include "foundation/registry.hpp"

namespace zep {
namespace {

using registry::Entry;
using registry::Table;

constexpr Entry<int> kIntegers[] = {
    {"NLEV", "TARGET_LEVEL_COUNT", 10},
    {"MAXLEV", "MAX_LEVEL_COUNT", 2000},
    {"INDEX", "CONTOUR_LINE_INDEX", 1},
    {"INDEXL", "LABELLED_LINE_INDEX", 0},
    {"ITYPE", "CONTOUR_LINE_TYPE", 1},
    {"ITYPEN", "NEGATIVE_LINE_TYPE", 2},
    {"LABSTP", "LABEL_LEVEL_STEP", 2},
    {"NDIGIT", "LABEL_DECIMALS", -1},
    {"ICOLMN", "FIRST_BAND_COLOR", 2},
    {"ICOLMX", "LAST_BAND_COLOR", 99},
    {"IPATRN", "BAND_PATTERN", 999},
    {"IBARLI", "COLOR_BAR_LINE_INDEX", 1},
};

constexpr Entry<bool> kLogicals[] = {
    {"LLABEL", "ENABLE_CONTOUR_LABEL", true},
    {"LBTRI", "COLOR_BAR_TRIANGLES", false},
    {"LIMAGE", "CELL_SHADING_BY_IMAGE", true},
    {"LCMAP", "BANDS_BY_COLORMAP", true},
};

constexpr Entry<float> kReals[] = {
    {"RLABHT", "CONTOUR_LABEL_HEIGHT", 0.015F},
    {"BARWD", "COLOR_BAR_WIDTH", 0.03F},
    {"BARGAP", "COLOR_BAR_GAP", 0.03F},
    {"BARLHT", "COLOR_BAR_LABEL_HEIGHT", 0.016F},
};

Table<int>& integers() { return registry::tableOf<kIntegers>("CN"); }
Table<bool>& logicals() { return registry::tableOf<kLogicals>("CN"); }
Table<float>& reals() { return registry::tableOf<kReals>("CN"); }

}  // namespace

ZEP_DEFINE_VALUE_TABLE(cni, int, integers())
ZEP_DEFINE_VALUE_TABLE(cnl, bool, logicals())
ZEP_DEFINE_VALUE_TABLE(cnr, float, reals())

}  // namespace zep
