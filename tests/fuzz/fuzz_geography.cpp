// The reader of the binned shoreline, border and river files. The input is not
// the file itself but a list of edits to a small valid file, which the harness
// then writes with the netCDF library: what is fuzzed is the content (counts,
// offsets, levels, sides, lengths of arrays, missing variables), that is our
// checks, not libnetcdf's parser. An accepted file is then checked: every line
// has its points, inside the globe's range.
#include "fuzz_support.hpp"

#include <algorithm>
#include <cmath>

#include "geography/ge_database.hpp"
#include "support/gshhg_files.hpp"

namespace {

// Reads bytes from the input, zero when it runs out.
struct Input {
  const std::uint8_t* p;
  std::size_t n;
  std::uint32_t take(int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) {
      v = (v << 8) | (n > 0 ? *p : 0);
      if (n > 0) ++p, --n;
    }
    return v;
  }
};

template <class T>
void edit(std::vector<T>& v, std::uint32_t index, std::uint32_t value) {
  if (!v.empty()) v[index % v.size()] = static_cast<T>(value);
}

// Grows or shrinks every array of one dimension together (kept between 1 and 64).
template <class... V>
void resize(std::size_t size, V&... arrays) {
  size = std::clamp<std::size_t>(size, 1, 64);
  (arrays.resize(size), ...);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static bool ready = (fuzz::quietReports(), true);
  (void)ready;
  zeptest::ShoreFile f;
  Input in{data, size};
  const char* names[] = {"Bin_size_in_minutes", "N_bins_in_file", "Id_of_first_segment_in_a_bin",
                         "N_segments_in_a_bin", "Embedded_npts_levels_exit_entry_for_a_segment",
                         "Id_of_first_point_in_a_segment", "Relative_longitude_from_SW_corner_of_bin",
                         "N_points_for_a_segment", "The_km_squared_area_of_polygons"};
  while (in.n > 0) {
    const std::uint32_t op = in.take(1), index = in.take(2), value = in.take(4);
    switch (op % 20) {
      case 0: f.binMinutes = static_cast<int>(value); break;
      case 1: f.nx = static_cast<int>(value); break;
      case 2: f.ny = static_cast<int>(value); break;
      case 3: f.nBins = static_cast<int>(value); break;
      case 4: f.nSegments = static_cast<int>(value); break;
      case 5: f.nPoints = static_cast<int>(value); break;
      case 6: f.nPolygons = static_cast<int>(value); break;
      case 7: edit(f.firstSegment, index, value); break;
      case 8: edit(f.segmentsInBin, index, value); break;
      case 9: edit(f.packed, index, value); break;
      case 10: edit(f.firstPoint, index, value); break;
      case 11: edit(f.polygonOf, index, value); break;
      case 12: edit(f.antFlag, index, value); break;
      case 13: edit(f.dx, index, value); break;
      case 14: edit(f.dy, index, value); break;
      case 15: edit(f.pointsOf, index, value); break;
      case 16: edit(f.levelOf, index, value); break;
      case 17: resize(value % 65, f.packed, f.firstPoint, f.polygonOf, f.antFlag, f.pointsOf, f.levelOf); break;
      case 18: resize(value % 65, f.dx, f.dy); break;
      default: f.leaveOut.push_back(names[value % (sizeof names / sizeof names[0])]); break;
    }
  }
  const std::string path = fuzz::writeScratch("geography.nc", nullptr, 0);
  if (!f.write(path)) return 0;
  for (const auto kind : {zep::geography::Kind::Shore, zep::geography::Kind::Border}) {
    zep::geography::Dataset d;
    std::string problem;
    if (!zep::geography::readDataset(path, kind, d, problem)) {
      if (problem.empty() || !d.lines.empty()) std::abort();  // a refusal says why and keeps nothing
      continue;
    }
    for (const auto& line : d.lines) {
      if (line.lon.size() != line.lat.size() || line.lon.size() < 2) std::abort();
      for (std::size_t i = 0; i < line.lon.size(); ++i)
        if (!std::isfinite(line.lon[i]) || line.lat[i] < -90.0F || line.lat[i] > 90.0F) std::abort();
    }
  }
  return 0;
}
