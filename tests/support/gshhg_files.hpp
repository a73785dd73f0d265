// Small binned shoreline files written with the netCDF library itself, so that
// tests and the fuzz harness can hand the reader any content they like.
#pragma once

#include <netcdf.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zeptest {

// The variables of a binned shoreline file, as plain arrays. The default is a
// crude grid of 20-degree bins with one square island (level 1, polygon 0)
// inside bin `kIslandBin`, its four corners at offsets 1/4 and 3/4 of the bin.
struct ShoreFile {
  static constexpr int kIslandBin = 4 * 18 + 9;  // row 4 from the north, column 9: 10 S to 10 N, 180 to 200 E
  int binMinutes = 1200;
  int nx = 18, ny = 9;
  std::vector<int> firstSegment = std::vector<int>(18 * 9, 0);
  std::vector<short> segmentsInBin = std::vector<short>(18 * 9, 0);
  std::vector<int> packed{(4 << 9) | (1 << 6) | (4 << 3) | 4};
  std::vector<int> firstPoint{0};
  std::vector<int> polygonOf{0};
  std::vector<signed char> antFlag{0};
  std::vector<double> areas{1.0e5};
  std::vector<short> dx{16384, -16384, -16384, 16384};  // 16384 and 49152 as shorts
  std::vector<short> dy{16384, 16384, -16384, -16384};
  // The two variables of border and river files (point count and level per
  // segment); written too, so the same file reads as any of the three kinds.
  std::vector<short> pointsOf{4};
  std::vector<short> levelOf{1};
  // Scalars as stored (normally the lengths of the arrays).
  int nBins = 18 * 9, nSegments = 1, nPoints = 4, nPolygons = 1;
  std::vector<std::string> leaveOut;  // variables not written

  ShoreFile() { segmentsInBin[kIslandBin] = 1; }

  // Writes the file; false when the netCDF library refuses (arrays of the
  // same dimension must have the same length, and none may be empty: a
  // dimension of length 0 would be unlimited).
  bool write(const std::string& path) const {
    if (segmentsInBin.size() != firstSegment.size() || firstPoint.size() != packed.size() ||
        polygonOf.size() != packed.size() || antFlag.size() != packed.size() || pointsOf.size() != packed.size() ||
        levelOf.size() != packed.size() || dy.size() != dx.size() || firstSegment.empty() || packed.empty() ||
        dx.empty() || areas.empty())
      return false;
    int nc = -1;
    if (nc_create(path.c_str(), NC_CLOBBER, &nc) != NC_NOERR) return false;
    bool ok = true;
    int dScalar = 0, dBins = 0, dSegs = 0, dPts = 0, dPoly = 0;
    ok &= nc_def_dim(nc, "Dimension_of_scalar", 1, &dScalar) == NC_NOERR;
    ok &= nc_def_dim(nc, "Dimension_of_bin_arrays", firstSegment.size(), &dBins) == NC_NOERR;
    ok &= nc_def_dim(nc, "Dimension_of_segment_arrays", packed.size(), &dSegs) == NC_NOERR;
    ok &= nc_def_dim(nc, "Dimension_of_point_arrays", dx.size(), &dPts) == NC_NOERR;
    ok &= nc_def_dim(nc, "Dimension_of_polygon_array", areas.size(), &dPoly) == NC_NOERR;
    struct Var {
      const char* name;
      nc_type type;
      int dim;
      const void* data;
      int id = -1;
    };
    const int scalars[] = {binMinutes, nx, ny, nBins, nSegments, nPoints, nPolygons};
    std::vector<Var> vars = {
        {"Bin_size_in_minutes", NC_INT, dScalar, &scalars[0]},
        {"N_bins_in_360_longitude_range", NC_INT, dScalar, &scalars[1]},
        {"N_bins_in_180_degree_latitude_range", NC_INT, dScalar, &scalars[2]},
        {"N_bins_in_file", NC_INT, dScalar, &scalars[3]},
        {"N_segments_in_file", NC_INT, dScalar, &scalars[4]},
        {"N_points_in_file", NC_INT, dScalar, &scalars[5]},
        {"N_polygons_in_file", NC_INT, dScalar, &scalars[6]},
        {"Id_of_first_segment_in_a_bin", NC_INT, dBins, firstSegment.data()},
        {"N_segments_in_a_bin", NC_SHORT, dBins, segmentsInBin.data()},
        {"Embedded_npts_levels_exit_entry_for_a_segment", NC_INT, dSegs, packed.data()},
        {"Id_of_first_point_in_a_segment", NC_INT, dSegs, firstPoint.data()},
        {"Id_of_GSHHS_ID", NC_INT, dSegs, polygonOf.data()},
        {"Embedded_ANT_flag", NC_BYTE, dSegs, antFlag.data()},
        {"N_points_for_a_segment", NC_SHORT, dSegs, pointsOf.data()},
        {"Hierarchial_level_of_a_segment", NC_SHORT, dSegs, levelOf.data()},
        {"The_km_squared_area_of_polygons", NC_DOUBLE, dPoly, areas.data()},
        {"Relative_longitude_from_SW_corner_of_bin", NC_SHORT, dPts, dx.data()},
        {"Relative_latitude_from_SW_corner_of_bin", NC_SHORT, dPts, dy.data()},
    };
    std::erase_if(vars, [&](const Var& v) {
      for (const std::string& s : leaveOut)
        if (s == v.name) return true;
      return false;
    });
    for (Var& v : vars) ok &= nc_def_var(nc, v.name, v.type, 1, &v.dim, &v.id) == NC_NOERR;
    ok &= nc_enddef(nc) == NC_NOERR;
    for (const Var& v : vars) {
      if (!ok) break;
      if (v.type == NC_INT) ok &= nc_put_var_int(nc, v.id, static_cast<const int*>(v.data)) == NC_NOERR;
      else if (v.type == NC_SHORT) ok &= nc_put_var_short(nc, v.id, static_cast<const short*>(v.data)) == NC_NOERR;
      else if (v.type == NC_BYTE) ok &= nc_put_var_schar(nc, v.id, static_cast<const signed char*>(v.data)) == NC_NOERR;
      else ok &= nc_put_var_double(nc, v.id, static_cast<const double*>(v.data)) == NC_NOERR;
    }
    ok &= nc_close(nc) == NC_NOERR;
    return ok;
  }
};

}  // namespace zeptest
