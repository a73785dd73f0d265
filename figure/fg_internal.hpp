// Shared state of the figure package: the grid, the current cell and what the
// current frame asked for.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <functional>
#include <vector>

#include "charts/ch_keep.hpp"

namespace zep::figure {

struct MapRequest {
  bool set = false;
  int itr = 0;
  float lonmin = 0, lonmax = 0, latmin = 0, latmax = 0;
  // overrides; 999: chosen from the box
  float plx = 999, ply = 999, stlat1 = 999, stlat2 = 999;
};

struct Rect {
  float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  float width() const { return x1 - x0; }
  float height() const { return y1 - y0; }
};

struct FrameRoom {
  float left = 0, right = 0, bottom = 0, top = 0;
};

// A polyline (fgplzu), coloured markers (fgscat) or a chart (ch...) kept for fgpfrm.
struct Item {
  bool markers = false;
  std::function<void()> chart;  // draws the chart; x, y, v stay empty
  charts::Cover cover;          // what the chart covers
  std::vector<float> x, y, v;
  int itype = 1, index = 1;
  float size = 0.01F;
};

struct State {
  int nrow = 1, ncol = 1;
  int cell = -1;           // index of the current cell on the page; -1: no frame yet
  bool autoFrame = false;  // opened by fgopn, no frame yet: a frame's routine starts the first
  bool pageStarted = false;
  // What fgopn left, to tell what the caller set before the first frame started
  struct Settings {
    int itr = 1;
    std::array<float, 4> window{};
    std::array<std::string, 4> titles;              // B, T, L, R
    std::array<std::array<int, 3>, 4> dates{};      // time axes: date and unit
    std::array<char, 4> units{};
    std::array<float, 4> dmajor{};                  // tick intervals
    std::array<int, 4> nminor{};
  } open;
  int nframe = 0;          // SG NFRAME of the page's sgfrm: another sgfrm ends our page
  Rect page;               // V extent of the page
  std::string figureTitle;
  // current frame
  Rect cellRect;
  Rect area;               // the cell less padding, frame title and colour bar (fgstrf)
  float aspect = 0;
  std::string title;
  char bar = ' ';
  MapRequest map;
  MapRequest override;
  // the layout as placed by fgstrf, for fgpfrm
  bool placed = false;
  bool drawn = false;      // fgpfrm has drawn the current frame
  bool windowUnset = false;  // placed with the window fgfrm set: charts after fgstrf place it anew
  float titleBase = 0;     // V y of the frame title's lowest line's base
  float barGap = 0;        // gap from the viewport to the colour bar
  std::array<float, 4> labelRoom{};
  std::vector<Item> items;
  // label heights shrunk to fit a small cell (fgstrf), restored by fgfrm
  float textScale = 1;
  bool heightsChanged = false;
  std::array<float, 4> savedHeights{};  // B, T, L, R: ticks and labels out from the viewport
  // The SG map parameters (similarity, pole, limits, standard parallels) as
  // they were before this session's first frame took them over; they go back
  // when the session closes, and the frames' axis titles go.
  bool framed = false;
  std::array<float, 12> callerMap{};
};
State& state();
// The common count of arrays given together (the shortest; a warning when they differ).
int count(std::initializer_list<std::size_t> sizes, const char* routine);
// After fgopn and before any frame, starts the first frame (fgfrm).
void ensureFrame();

float real(const char* name);
// Room that the map labels take around a map viewport.
FrameRoom mapRoom();
// A window left as fgfrm set it becomes the extent of the kept data.
void dataWindow();
// Whether the contour package has levels for scatters and colour bars (a
// list, or a field to choose them from); otherwise the colour package's
// normalisation colours them.
bool contourLevelsKnown();
// Without contour levels: the normalisation's bounds still to come from data
// taken from the values of all the frame's scatters.
void scatterBounds();
// Draws the kept data and forgets it.
void drawItems();
// Draws the kept charts as they are, with no frame, and forgets the kept data
// (a session closed by sgcls on a frame never drawn: its charts are not lost).
void drawKeptCharts();
// Fits the requested map into `region` (V) and finalizes it.
void placeMap(const Rect& region);

}  // namespace zep::figure
