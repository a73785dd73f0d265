// Reading the binned GSHHG files. Points are stored per bin as 16-bit offsets
// from the bin's south-west corner; a line that crosses bins is cut at each bin
// edge, its pieces ending and starting on the same edge point. Joining the
// pieces by those points in whole integer units (no rounding) gives back whole
// rings, so fills have no bin edges at all.
#include "geography/ge_database.hpp"

#include <netcdf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>

#include <zep/foundation.hpp>
#include <zep/geography.hpp>

#include "geography/ge_internal.hpp"

namespace zep::geography {
namespace {

// More than any resolution holds (the full one has some 11 million points):
// a header that claims more is corrupt, and is refused before memory is taken.
constexpr std::size_t kMaxPoints = std::size_t{1} << 26;
constexpr std::size_t kMaxItems = std::size_t{1} << 24;
constexpr long kUnits = 65535;  // offsets per bin side

struct NcFile {
  int id = -1;
  ~NcFile() {
    if (id >= 0) nc_close(id);
  }
};

class Reader {
 public:
  Reader(int ncid, std::string& problem) : ncid_(ncid), problem_(problem) {}

  // Length of a one-dimensional variable; false (with the problem) when it is
  // missing, not one-dimensional, not a number or longer than `limit`.
  bool length(const char* name, std::size_t limit, std::size_t& n) {
    int var = -1, ndims = 0;
    nc_type type = NC_NAT;
    if (nc_inq_varid(ncid_, name, &var) != NC_NOERR) return fail("VARIABLE " + std::string(name) + " IS MISSING");
    if (nc_inq_var(ncid_, var, nullptr, &type, &ndims, nullptr, nullptr) != NC_NOERR || ndims != 1)
      return fail("VARIABLE " + std::string(name) + " IS NOT ONE-DIMENSIONAL");
    if (type == NC_CHAR || type == NC_STRING || type < NC_BYTE || type > NC_UINT64)
      return fail("VARIABLE " + std::string(name) + " IS NOT NUMERIC");
    int dim = -1;
    nc_inq_vardimid(ncid_, var, &dim);
    if (nc_inq_dimlen(ncid_, dim, &n) != NC_NOERR) return fail("VARIABLE " + std::string(name) + " HAS NO LENGTH");
    if (n > limit) return fail("VARIABLE " + std::string(name) + " IS TOO LONG (" + std::to_string(n) + ")");
    return true;
  }

  template <class T>
  bool read(const char* name, std::size_t expected, std::vector<T>& out) {
    std::size_t n = 0;
    if (!length(name, kMaxPoints, n)) return false;
    if (n != expected)
      return fail("VARIABLE " + std::string(name) + " HAS " + std::to_string(n) + " VALUES, NOT " +
                  std::to_string(expected));
    out.assign(n, T{});
    int var = -1;
    nc_inq_varid(ncid_, name, &var);
    int status = NC_NOERR;
    if (n > 0) {
      if constexpr (std::is_same_v<T, int>) status = nc_get_var_int(ncid_, var, out.data());
      else if constexpr (std::is_same_v<T, short>) status = nc_get_var_short(ncid_, var, out.data());
      else if constexpr (std::is_same_v<T, double>) status = nc_get_var_double(ncid_, var, out.data());
      else status = nc_get_var_schar(ncid_, var, out.data());
    }
    // Offsets are stored as short but mean unsigned 16-bit values: conversion
    // range errors are reported by libnetcdf only for values that do not fit.
    if (status != NC_NOERR && status != NC_ERANGE)
      return fail("VARIABLE " + std::string(name) + " CANNOT BE READ (" + nc_strerror(status) + ")");
    if (status == NC_ERANGE) return fail("VARIABLE " + std::string(name) + " HAS VALUES OUT OF RANGE");
    return true;
  }

  bool scalar(const char* name, int& value) {
    std::vector<int> v;
    if (!read(name, 1, v)) return false;
    value = v[0];
    return true;
  }

  bool fail(std::string text) {
    problem_ = std::move(text);
    return false;
  }

 private:
  int ncid_;
  std::string& problem_;
};

// A piece of a line inside one bin, its points in whole units of the globe
// (x eastward from 0 degrees, y northward from the south pole).
struct Piece {
  int level = 0, polygon = -1, antarctic = 0;
  int entry = 4, exit = 4;
  std::size_t first = 0, count = 0;  // into the file's offset arrays
  std::int64_t x0 = 0, y0 = 0;       // the bin's south-west corner
};

struct Key {
  std::int64_t x, y;
  bool operator==(const Key&) const = default;
};

void finish(Line& line) {
  if (line.lon.empty()) return;
  const auto [w, e] = std::minmax_element(line.lon.begin(), line.lon.end());
  const auto [s, n] = std::minmax_element(line.lat.begin(), line.lat.end());
  line.west = *w;
  line.east = *e;
  line.south = *s;
  line.north = *n;
}

}  // namespace

std::size_t Dataset::bytes() const {
  std::size_t n = sizeof(Dataset) + polygonArea.capacity() * sizeof(double);
  for (const Line& l : lines) n += sizeof(Line) + (l.lon.capacity() + l.lat.capacity()) * sizeof(float);
  return n;
}

std::string fileName(Kind kind, char resolution) {
  const char* stem = kind == Kind::Shore ? "binned_GSHHS_" : kind == Kind::Border ? "binned_border_" : "binned_river_";
  return stem + std::string(1, resolution) + ".nc";
}

namespace {

bool readInto(const std::string& path, Kind kind, Dataset& out, std::string& problem) {
  NcFile file;
  if (const int status = nc_open(path.c_str(), NC_NOWRITE, &file.id); status != NC_NOERR) {
    file.id = -1;
    problem = std::string("IT IS NOT A READABLE NETCDF FILE (") + nc_strerror(status) + ")";
    return false;
  }
  Reader r(file.id, problem);
  int binMinutes = 0, nx = 0, ny = 0, nBins = 0, nSegments = 0, nPoints = 0;
  if (!r.scalar("Bin_size_in_minutes", binMinutes) || !r.scalar("N_bins_in_360_longitude_range", nx) ||
      !r.scalar("N_bins_in_180_degree_latitude_range", ny) || !r.scalar("N_bins_in_file", nBins) ||
      !r.scalar("N_segments_in_file", nSegments) || !r.scalar("N_points_in_file", nPoints))
    return false;
  if (binMinutes <= 0 || 21600 % binMinutes != 0 || 10800 % binMinutes != 0)
    return r.fail("BIN SIZE OF " + std::to_string(binMinutes) + " MINUTES DOES NOT DIVIDE THE GLOBE");
  if (nx != 21600 / binMinutes || ny != 10800 / binMinutes || static_cast<long>(nBins) != static_cast<long>(nx) * ny)
    return r.fail("BIN COUNTS DO NOT FIT A BIN SIZE OF " + std::to_string(binMinutes) + " MINUTES");
  if (nSegments < 0 || static_cast<std::size_t>(nSegments) > kMaxItems || nPoints < 0 ||
      static_cast<std::size_t>(nPoints) > kMaxPoints)
    return r.fail("SEGMENT OR POINT COUNT IS OUT OF RANGE");

  const std::size_t bins = static_cast<std::size_t>(nBins), segs = static_cast<std::size_t>(nSegments),
                    pts = static_cast<std::size_t>(nPoints);
  std::vector<int> firstSegment, firstPoint, packed, polygonOf;
  std::vector<short> segmentsInBin, dx, dy, pointsOf, levelOf;
  std::vector<signed char> antFlag;
  if (!r.read("Id_of_first_segment_in_a_bin", bins, firstSegment) ||
      !r.read("N_segments_in_a_bin", bins, segmentsInBin) ||
      !r.read("Id_of_first_point_in_a_segment", segs, firstPoint) ||
      !r.read("Relative_longitude_from_SW_corner_of_bin", pts, dx) ||
      !r.read("Relative_latitude_from_SW_corner_of_bin", pts, dy))
    return false;
  std::size_t nPolygons = 0;
  if (kind == Kind::Shore) {
    int declared = 0;
    if (!r.scalar("N_polygons_in_file", declared)) return false;
    if (declared < 0 || static_cast<std::size_t>(declared) > kMaxItems) return r.fail("POLYGON COUNT IS OUT OF RANGE");
    nPolygons = static_cast<std::size_t>(declared);
    if (!r.read("Embedded_npts_levels_exit_entry_for_a_segment", segs, packed) ||
        !r.read("Id_of_GSHHS_ID", segs, polygonOf) || !r.read("Embedded_ANT_flag", segs, antFlag) ||
        !r.read("The_km_squared_area_of_polygons", nPolygons, out.polygonArea))
      return false;
  } else {
    if (!r.read("N_points_for_a_segment", segs, pointsOf) || !r.read("Hierarchial_level_of_a_segment", segs, levelOf))
      return false;
  }

  // Every bin's segments, every segment's points, inside the arrays.
  std::vector<Piece> pieces;
  pieces.reserve(segs);
  // Points are taken from the offsets as they are needed: a copy in whole
  // units would take four times their memory and be read out of order.
  const auto pointAt = [&dx, &dy](const Piece& p, std::size_t k) {
    return Key{p.x0 + static_cast<std::uint16_t>(dx[p.first + k]), p.y0 + static_cast<std::uint16_t>(dy[p.first + k])};
  };
  const long width = static_cast<long>(nx) * kUnits;
  for (std::size_t b = 0; b < bins; ++b) {
    const long first = firstSegment[b], count = segmentsInBin[b];
    if (count == 0) continue;
    if (first < 0 || count < 0 || static_cast<std::size_t>(first + count) > segs)
      return r.fail("BIN " + std::to_string(b) + " NAMES SEGMENTS " + std::to_string(first) + " TO " +
                    std::to_string(first + count - 1) + " OF " + std::to_string(segs));
    const long col = static_cast<long>(b) % nx, row = static_cast<long>(b) / nx;
    const std::int64_t x0 = col * kUnits, y0 = (ny - 1 - row) * kUnits;
    for (long s = first; s < first + count; ++s) {
      Piece p;
      long n = 0;
      if (kind == Kind::Shore) {
        const unsigned v = static_cast<unsigned>(packed[s]);
        n = static_cast<long>(v >> 9);
        p.level = static_cast<int>((v >> 6) & 7);
        p.exit = static_cast<int>((v >> 3) & 7);
        p.entry = static_cast<int>(v & 7);
        p.polygon = polygonOf[s];
        p.antarctic = antFlag[s];
        if (p.level < 1 || p.level > 6 || p.level == 5 || p.exit > 4 || p.entry > 4)
          return r.fail("SEGMENT " + std::to_string(s) + " HAS LEVEL " + std::to_string(p.level) + " OR SIDES " +
                        std::to_string(p.entry) + "," + std::to_string(p.exit) + " OUT OF RANGE");
        if (p.polygon < 0 || static_cast<std::size_t>(p.polygon) >= nPolygons)
          return r.fail("SEGMENT " + std::to_string(s) + " NAMES POLYGON " + std::to_string(p.polygon) + " OF " +
                        std::to_string(nPolygons));
        if (p.antarctic < 0 || p.antarctic > 1)
          return r.fail("SEGMENT " + std::to_string(s) + " HAS ANTARCTIC FLAG " + std::to_string(p.antarctic));
        // Antarctica twice: flagged land of the ice front, and level 6 for
        // the land inside the grounding line.
        if (p.antarctic == 1 && p.level != 1)
          return r.fail("SEGMENT " + std::to_string(s) + " IS FLAGGED ANTARCTIC AT LEVEL " + std::to_string(p.level));
        if (p.level == 6) {
          p.level = 1;
          p.antarctic = 2;
        }
      } else {
        n = pointsOf[s];
        p.level = levelOf[s];
      }
      const long start = firstPoint[s];
      if (n < 0 || start < 0 || static_cast<std::size_t>(start) + static_cast<std::size_t>(n) > pts)
        return r.fail("SEGMENT " + std::to_string(s) + " NAMES POINTS " + std::to_string(start) + " TO " +
                      std::to_string(start + n - 1) + " OF " + std::to_string(pts));
      if (n < 2) continue;  // a single point draws nothing and encloses nothing
      p.first = static_cast<std::size_t>(start);
      p.count = static_cast<std::size_t>(n);
      p.x0 = x0;
      p.y0 = y0;
      pieces.push_back(p);
    }
  }

  // Join pieces: a piece that ends where another one starts (same kind of
  // line, same polygon) continues in it. Keys wrap around in longitude. The
  // starts are kept sorted by point, pieces in file order for equal points,
  // so a lookup is a binary search.
  // Points of the file lie within one turn and a bin of 0: a subtraction
  // wraps them; a remainder is for points shifted by whole turns while joining.
  const auto wrap = [width](Key k) {
    if (k.x >= 0 && k.x < width) return k;
    if (k.x >= width && k.x < 2 * width) return Key{k.x - width, k.y};
    return Key{((k.x % width) + width) % width, k.y};
  };
  const auto packed64 = [](Key k) { return (static_cast<std::uint64_t>(k.x) << 32) | static_cast<std::uint64_t>(k.y); };
  std::vector<std::pair<std::uint64_t, std::size_t>> starts;
  starts.reserve(pieces.size());
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const Piece& p = pieces[i];
    const bool closedHere = kind == Kind::Shore && p.entry == 4 && p.exit == 4;
    if (!closedHere) starts.emplace_back(packed64(wrap(pointAt(p, 0))), i);
  }
  std::sort(starts.begin(), starts.end());
  std::vector<char> used(pieces.size(), 0);
  // Pieces that start a line: those no other piece leads into (borders and
  // rivers), then whatever is left (rings).
  std::vector<char> continued(pieces.size(), 0);
  std::vector<std::size_t> nextOf(pieces.size(), SIZE_MAX);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const Piece& p = pieces[i];
    if (kind == Kind::Shore && p.entry == 4 && p.exit == 4) continue;
    const std::uint64_t end = packed64(wrap(pointAt(p, p.count - 1)));
    auto it = std::lower_bound(starts.begin(), starts.end(), std::pair<std::uint64_t, std::size_t>{end, 0});
    for (; it != starts.end() && it->first == end; ++it) {
      const Piece& q = pieces[it->second];
      if (it->second == i && kind != Kind::Shore) continue;
      if (q.level != p.level || q.polygon != p.polygon || q.antarctic != p.antarctic || continued[it->second]) continue;
      nextOf[i] = it->second;
      continued[it->second] = 1;
      break;
    }
  }
  // A ring that touches itself where bins meet has two ways on at that point;
  // the first one found may close a loop early and cut the ring in two. Two
  // pieces of one polygon that end at one point but lie on different loops
  // trade what follows them, which joins the loops.
  if (kind == Kind::Shore) {
    std::vector<std::size_t> root(pieces.size());
    for (std::size_t i = 0; i < root.size(); ++i) root[i] = i;
    const auto find = [&root](std::size_t i) {
      while (root[i] != i) i = root[i] = root[root[i]];
      return i;
    };
    std::vector<std::pair<std::uint64_t, std::size_t>> ends;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (nextOf[i] == SIZE_MAX) continue;
      root[find(i)] = find(nextOf[i]);
      const Piece& p = pieces[i];
      ends.emplace_back(packed64(wrap(pointAt(p, p.count - 1))), i);
    }
    std::sort(ends.begin(), ends.end());
    for (std::size_t a = 0; a < ends.size();) {
      std::size_t b = a + 1;
      while (b < ends.size() && ends[b].first == ends[a].first) ++b;
      for (std::size_t u = a; u < b; ++u)
        for (std::size_t v = u + 1; v < b; ++v) {
          const std::size_t i = ends[u].second, j = ends[v].second;
          const Piece &p = pieces[i], &q = pieces[j];
          if (p.polygon != q.polygon || p.level != q.level || p.antarctic != q.antarctic || find(i) == find(j)) continue;
          std::swap(nextOf[i], nextOf[j]);
          root[find(i)] = find(j);
        }
      a = b;
    }
  }
  const double unit = binMinutes / 60.0 / kUnits;
  const auto emit = [&](std::size_t startPiece) {
    Line line;
    const Piece& head = pieces[startPiece];
    line.level = head.level;
    line.polygon = head.polygon;
    line.antarctic = head.antarctic;
    std::int64_t shift = 0;  // whole turns of longitude added so far
    Key last{INT64_MIN, INT64_MIN};
    std::size_t i = startPiece;
    // Room for the whole line at once: a ring of a continent has many pieces.
    std::size_t total = 0;
    for (std::size_t k = startPiece, guard = 0; k != SIZE_MAX && !used[k] && guard < pieces.size(); k = nextOf[k], ++guard) {
      total += pieces[k].count;
      if (nextOf[k] == startPiece) break;
    }
    line.lon.reserve(total);
    line.lat.reserve(total);
    Key firstKey{0, 0};
    while (i != SIZE_MAX && !used[i]) {
      used[i] = 1;
      const Piece& p = pieces[i];
      for (std::size_t k = 0; k < p.count; ++k) {
        Key q = pointAt(p, k);
        if (last.x != INT64_MIN) {
          // Follow the shorter way in longitude from the previous point.
          std::int64_t x = q.x + shift;
          while (x - last.x > width / 2) x -= width, shift -= width;
          while (last.x - x > width / 2) x += width, shift += width;
          q.x = x;
        } else {
          firstKey = q;
        }
        if (q == last) continue;
        line.lon.push_back(static_cast<float>(q.x * unit));
        line.lat.push_back(static_cast<float>(q.y * unit - 90.0));
        last = q;
      }
      i = nextOf[i];
    }
    line.closed = i == startPiece || (kind == Kind::Shore && head.entry == 4 && head.exit == 4);
    // The closing point repeats the first (perhaps a whole turn of longitude away).
    if (line.closed && line.lon.size() > 1 && wrap(last) == wrap(firstKey)) {
      line.lon.pop_back();
      line.lat.pop_back();
    }
    if (kind == Kind::Shore && !line.closed) ++out.openRings;
    finish(line);
    if (line.lon.size() >= 2) out.lines.push_back(std::move(line));
  };
  out.lines.reserve(pieces.size());
  for (std::size_t i = 0; i < pieces.size(); ++i)
    if (!used[i] && !continued[i]) emit(i);
  for (std::size_t i = 0; i < pieces.size(); ++i)
    if (!used[i]) emit(i);

  out.path = path;
  out.kind = kind;
  out.binMinutes = binMinutes;
  return true;
}

}  // namespace

bool readDataset(const std::string& path, Kind kind, Dataset& out, std::string& problem) {
  out = Dataset{};
  problem.clear();
  if (readInto(path, kind, out, problem)) return true;
  out = Dataset{};
  return false;
}

}  // namespace zep::geography

namespace zep::geography {
namespace {

struct Cached {
  std::unique_ptr<Dataset> data;  // null: missing or refused, reported once
  bool missing = false;
  std::string missingIn;  // the directory list a missing file was not found in
};

// Kept to the end of the process and never taken apart: freeing some ten
// thousand lines one by one at exit costs more than reading them did.
std::map<std::pair<int, char>, Cached>& cache() {
  static auto* c = new std::map<std::pair<int, char>, Cached>;
  return *c;
}

int readCount = 0;

std::vector<std::string> directories() {
  std::vector<std::string> out;
  const std::string list = geText("DSDIR");
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    std::string dir = list.substr(start, end - start);
    while (!dir.empty() && dir.back() == ' ') dir.pop_back();
    while (!dir.empty() && dir.front() == ' ') dir.erase(dir.begin());
    if (!dir.empty()) out.push_back(dir);
    start = end + 1;
  }
  return out;
}

std::string locate(const std::string& name) {
  for (const std::string& dir : directories()) {
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::path(dir) / name;
    if (std::filesystem::is_regular_file(p, ec)) return p.string();
  }
  return {};
}

std::string packageOf(char resolution) {
  return resolution == 'h' ? "gmt-gshhg-high" : resolution == 'f' ? "gmt-gshhg-full" : "gmt-gshhg-low";
}

}  // namespace

bool available(Kind kind, char resolution) { return !locate(fileName(kind, resolution)).empty(); }

int filesRead() { return readCount; }

const Dataset* dataset(Kind kind, char resolution, std::string_view routine) {
  auto [it, fresh] = cache().try_emplace({static_cast<int>(kind), resolution});
  // A file that was missing is looked for again once the directories change.
  if (!fresh && !(it->second.missing && it->second.missingIn != geText("DSDIR"))) return it->second.data.get();
  it->second.missing = false;
  const std::string name = fileName(kind, resolution);
  const std::string path = locate(name);
  if (path.empty()) {
    it->second.missing = true;
    it->second.missingIn = geText("DSDIR");
    std::string dirs;
    for (const std::string& d : directories()) dirs += (dirs.empty() ? "" : ", ") + d;
    msgdmp("E", routine,
           "GEOGRAPHY FILE " + name + " IS NOT IN THE DIRECTORIES GE DSDIR NAMES (" + dirs +
               "): INSTALL THE DEBIAN PACKAGE " + packageOf(resolution) + " OR SET GE_DSDIR.");
    return nullptr;
  }
  auto data = std::make_unique<Dataset>();
  std::string problem;
  ++readCount;
  if (!readDataset(path, kind, *data, problem)) {
    msgdmp("E", routine, "GEOGRAPHY FILE " + path + " IS REFUSED: " + problem + ".");
    return nullptr;
  }
  data->resolution = resolution;
  it->second.data = std::move(data);
  return it->second.data.get();
}

}  // namespace zep::geography
