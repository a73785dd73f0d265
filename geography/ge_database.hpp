// The shoreline, border and river databases of the binned GSHHG files: read
// once per file and process, every count and offset checked against the arrays
// before use, segments of neighbouring bins joined into whole lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zep::geography {

enum class Kind { Shore, Border, River };

// One line of the database in degrees: longitudes run on continuously (a line
// that crosses 0 or 180 degrees does not jump), so a ring around a pole ends
// 360 degrees east or west of where it starts.
struct Line {
  int level = 0;      // shore: 1 land, 2 lake, 3 island in a lake, 4 pond; border level; river class
  int polygon = -1;   // shore: the polygon it bounds, else -1
  int antarctic = 0;  // shore: 0 both, 1 only the ice-front, 2 only the grounding-line Antarctica
  bool closed = false;
  float west = 0, east = 0, south = 0, north = 0;
  std::vector<float> lon, lat;
};

struct Dataset {
  std::string path;
  Kind kind = Kind::Shore;
  char resolution = 'l';
  int binMinutes = 0;
  std::vector<Line> lines;
  std::vector<double> polygonArea;  // km2 by polygon number (shore only)
  int openRings = 0;                // shore segments that did not join into a ring
  std::size_t bytes() const;
};

// Reads and checks one file. On failure, `problem` says what is wrong (upper
// case, for a report) and the result is false; nothing is kept.
bool readDataset(const std::string& path, Kind kind, Dataset& out, std::string& problem);

// The file name of a kind at a resolution: "binned_GSHHS_l.nc" ...
std::string fileName(Kind kind, char resolution);

// The database of a kind at a resolution from the GE data directories, read at
// its first use in the process and kept. Null after a report (routine names the
// caller) when no directory holds it or the file is refused; a refused file
// is reported once and not read again, a missing one once per list of directories.
const Dataset* dataset(Kind kind, char resolution, std::string_view routine);

// Whether the file of a kind and resolution is found in a data directory.
bool available(Kind kind, char resolution);

// Number of files read so far in this process (each is read once).
int filesRead();

}  // namespace zep::geography
