// Output driver: drawing primitives on the current page (polylines, tones,
// images, clipping), drawing attributes, capability queries and coordinate
// conversions.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include <zep/driver.hpp>

#include "driver/zgpack_internal.hpp"

namespace zep {

namespace {

// Colour index into the cyclic table; negative indices select colour 0.
int color_index(long long i) { return i < 0 ? 0 : static_cast<int>(i % kZgColors); }

void set_packed_color(int rgb) {
  ZgState& s = zgstate();
  if (!s.cr) return;
  zgflushstroke();
  const double r = ((rgb >> 16) & 0xff) * 256.0 / 65535.0;
  const double g = ((rgb >> 8) & 0xff) * 256.0 / 65535.0;
  const double b = (rgb & 0xff) * 256.0 / 65535.0;
  cairo_set_source_rgb(s.cr.get(), r, g, b);
}

// True when the source of cr is already the opaque colour (r, g, b).
bool source_is(cairo_t* cr, double r, double g, double b) {
  cairo_pattern_t* p = cairo_get_source(cr);
  double r0 = 0, g0 = 0, b0 = 0, a0 = 0;
  if (cairo_pattern_get_type(p) != CAIRO_PATTERN_TYPE_SOLID) return false;
  cairo_pattern_get_rgba(p, &r0, &g0, &b0, &a0);
  return r0 == r && g0 == g && b0 == b && a0 == 1.0;
}

// A dash pattern as cairo takes it, in surface units; no lengths is solid.
struct DashState {
  std::array<double, 32> lengths{};
  int count = 0;
  double offset = 0.0;
};

bool same_dash(const DashState& a, const DashState& b) {
  if (a.count != b.count) return false;
  if (a.count == 0) return true;
  return a.offset == b.offset && std::equal(a.lengths.begin(), a.lengths.begin() + a.count, b.lengths.begin());
}

// What the dash stage asked for the coming polylines (zgsdsh); every line open
// starts solid.
DashState requested_dash;

// The lines gathered but not yet stroked (see zgflushstroke).
struct StrokeBatch {
  bool pending = false;  // a path of lines waits to be stroked
  bool fresh = false;    // a polyline is open and has no point yet
  cairo_t* cr = nullptr;
  double width = 0.0;
  DashState dash;  // set on cr while the batch is pending
  long long segments = 0;
  long long bound = 1;  // segments after which the path is stroked
  // Polylines of one segment that start where the one before ended are
  // joined into one subpath on image pages: cairo strokes a chain far faster
  // than as many separate pieces. With round joins the chain covers exactly
  // the union of the round-capped pieces, so the picture stays the same.
  bool chains = false;   // this page joins such pieces
  bool joined = false;   // the path holds a join between two polylines
  bool bevels = false;   // the path holds a polyline of several segments
  bool chainEnd = false; // the path ends with a one-segment polyline at (endX, endY)
  double endX = 0.0, endY = 0.0;
  long long pieces = 0;  // subpaths in the path
  double length = 0.0;   // of all its segments, |dx| + |dy| in surface units
};
StrokeBatch batch;

// The first segment of the open polyline, held back until the polyline shows
// whether it is a single segment (it may then continue the path) or more
// (it is drawn as before, with bevelled joins).
struct OpenPolyline {
  enum class Stage { empty, start, segment, drawing } stage = Stage::empty;
  double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;  // surface coordinates
};
OpenPolyline open_line;

// Long polylines on image pages. cairo's rasterizer slows down with the square
// of the crossings within one path, so a polyline of very many points is
// stroked in pieces of bounded size. Where two pieces meet, both would paint
// the round end of their last segment and the antialiased rim of that spot
// would be painted twice (a darker dot). So the pixels of a small box around
// each cut are kept before the pieces are stroked, put back afterwards, and
// painted once more by one stroke of the segments of both pieces that come
// near the box, joined as in the whole line. The box is aligned to pixels, so
// nothing in it is painted twice and nothing around it changes.
struct PixelBox {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool valid = false;
};

struct LongLine {
  std::vector<ZgPoint> pts;   // the chain since the last cut, page coordinates
  std::vector<ZgPoint> prev;  // the piece before the cut, stroked already
  bool pieces = false;        // the chain has been cut
  PixelBox cut;               // the box around the cut
  SurfacePtr under;           // its pixels before either piece was stroked
  double length = 0.0;        // of the chain's segments, |dx| + |dy|
};
LongLine long_line;

// Measured with cairo 1.16 on noisy lines and random walks: pieces of some
// hundred segments or some thousand pixels of length cost about as much per
// point as separate segments. A cut whose box would overlap the last one waits
// for a point farther away, up to a limit.
constexpr std::size_t kRasterPiece = 1000;
constexpr std::size_t kRasterPieceMax = 8 * kRasterPiece;
constexpr double kRasterPieceLength = 2000.0;

// Measured with cairo 1.16: on image surfaces a path of long overlapping lines
// soon costs more than separate strokes (so the path is also cut by the length
// of its lines), while vector pages gain from paths of some hundred segments
// (fewer operators and state blocks per stroke). A chain of short steps, as a
// random walk drawn segment by segment, gains up to some hundred segments too.
constexpr long long kRasterBatch = 8;
constexpr long long kRasterChain = 256;
constexpr double kRasterLength = 256.0;  // surface units, |dx| + |dy|
constexpr long long kVectorBatch = 256;

// Path points in surface coordinates, turned onto the sheet where the format
// turns the plot.
void path_move(cairo_t* cr, double xs, double ys) {
  const ZgPoint p = zgturn(xs, ys);
  cairo_move_to(cr, p.x, p.y);
}
void path_line(cairo_t* cr, double xs, double ys) {
  const ZgPoint p = zgturn(xs, ys);
  cairo_line_to(cr, p.x, p.y);
}

double current_line_width() {
  const ZgState& s = zgstate();
  return s.linewidth[static_cast<std::size_t>(s.iwdidz - 1)] * s.dlnscale;
}

// Starts a new path of lines of this width and the requested dash pattern.
void begin_batch(cairo_t* cr, double width) {
  cairo_new_path(cr);
  if (cairo_get_line_width(cr) != width) cairo_set_line_width(cr, width);
  if (cairo_get_line_cap(cr) != CAIRO_LINE_CAP_ROUND) cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  if (cairo_get_line_join(cr) != CAIRO_LINE_JOIN_BEVEL) cairo_set_line_join(cr, CAIRO_LINE_JOIN_BEVEL);
  if (requested_dash.count > 0)
    cairo_set_dash(cr, requested_dash.lengths.data(), requested_dash.count, requested_dash.offset);
  batch.pending = true;
  batch.cr = cr;
  batch.width = width;
  batch.dash = requested_dash;
  batch.chains = zgformat().raster;
  batch.bound = batch.chains ? kRasterBatch : kVectorBatch;
  batch.joined = batch.bevels = batch.chainEnd = false;
  batch.pieces = 0;
  batch.length = 0.0;
}

void stroke_batch();

// One stroke has one dash pattern and offset: a polyline that asks for
// another one than the pending lines have starts a batch of its own.
void match_dash(cairo_t* cr) {
  if (batch.pending ? same_dash(batch.dash, requested_dash) : requested_dash.count == 0) return;
  if (batch.pending) {
    const double width = batch.width;
    stroke_batch();
    begin_batch(cr, width);
  } else {
    // Lines drawn after a flush within this polyline are stroked as they were.
    cairo_stroke(cr);
    begin_batch(cr, current_line_width());
  }
}

void stroke_path(cairo_t* cr, bool round) {
  if (round) cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
  if (round) cairo_set_line_join(cr, CAIRO_LINE_JOIN_BEVEL);
}

// Puts the held first segment into the path as a piece of its own.
void emit_held_segment(cairo_t* cr) {
  path_move(cr, open_line.x0, open_line.y0);
  ++batch.pieces;
  path_line(cr, open_line.x1, open_line.y1);
  open_line.stage = OpenPolyline::Stage::drawing;
  batch.chainEnd = false;
}

// Whether the path has as many segments as one stroke should take.
bool batch_full() {
  if (batch.chains && batch.length >= kRasterLength) return true;
  if (batch.joined && batch.pieces == 1) return batch.segments >= kRasterChain;
  return batch.segments >= batch.bound;
}

// The open polyline has more than one segment (or continues the path without
// a first point): from here on it goes into the path as it comes, and the path
// must keep bevelled joins.
void start_drawing(cairo_t* cr) {
  if (batch.pending && batch.joined) stroke_batch();
  batch.bevels = true;
  batch.chainEnd = false;
  if (open_line.stage == OpenPolyline::Stage::segment) {
    if (batch.chains) {
      long_line.pts.clear();
      long_line.pts.push_back(zgturn(open_line.x0, open_line.y0));
      long_line.pts.push_back(zgturn(open_line.x1, open_line.y1));
    } else {
      emit_held_segment(cr);
    }
  }
  open_line.stage = OpenPolyline::Stage::drawing;
}

// Strokes the gathered path as it is.
void stroke_batch() {
  if (!batch.pending) return;
  batch.pending = false;
  batch.segments = 0;
  batch.pieces = 0;
  batch.length = 0.0;
  batch.chainEnd = false;
  const bool dashed = batch.dash.count > 0;
  batch.dash = DashState{};
  cairo_t* cr = zgstate().cr.get();
  if (cr && cr == batch.cr) {
    stroke_path(cr, batch.joined);
    // Whatever strokes next (tone outlines, lines of other batches) is solid.
    if (dashed) cairo_set_dash(cr, nullptr, 0, 0.0);
  }
  batch.joined = batch.bevels = false;
}

// The box around a cut at p for lines of width w: it holds all that the ends
// of the two pieces paint there, antialiased rim included.
PixelBox cut_box(ZgPoint p, double w) {
  const double h = 0.5 * w + 2.0;
  // Far off the page (or not a number) there is nothing to keep.
  const bool usable = std::fabs(p.x) < 1.0e6 && std::fabs(p.y) < 1.0e6 && h < 1.0e3;
  return {std::floor(p.x - h), std::floor(p.y - h), std::ceil(p.x + h), std::ceil(p.y + h), usable};
}

bool overlaps(const PixelBox& a, const PixelBox& b) {
  return a.valid && b.valid && a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

// A copy of the page's pixels in box q (null when it cannot be made).
SurfacePtr keep_pixels(cairo_t* cr, const PixelBox& q) {
  if (!q.valid) return nullptr;
  const int w = static_cast<int>(q.x1 - q.x0), h = static_cast<int>(q.y1 - q.y0);
  SurfacePtr copy(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
  if (cairo_surface_status(copy.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  ContextPtr c(cairo_create(copy.get()));
  cairo_set_source_surface(c.get(), cairo_get_target(cr), -q.x0, -q.y0);
  cairo_set_operator(c.get(), CAIRO_OPERATOR_SOURCE);
  cairo_paint(c.get());
  return copy;
}

void stroke_points(cairo_t* cr, const std::vector<ZgPoint>& p) {
  if (p.size() < 2) return;
  cairo_new_path(cr);
  cairo_move_to(cr, p[0].x, p[0].y);
  for (std::size_t i = 1; i < p.size(); ++i) cairo_line_to(cr, p[i].x, p[i].y);
  cairo_stroke(cr);
}

// Puts back the pixels of the cut's box and paints in it, once, the segments
// of the pieces on either side (prev and pts) that come near it.
void repaint_cut(cairo_t* cr) {
  LongLine& l = long_line;
  const PixelBox& q = l.cut;
  if (!q.valid || !l.under) return;
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, q.x0, q.y0, q.x1 - q.x0, q.y1 - q.y0);
  cairo_clip(cr);
  cairo_pattern_t* source = cairo_get_source(cr);
  cairo_pattern_reference(source);
  cairo_set_source_surface(cr, l.under.get(), q.x0, q.y0);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  cairo_set_source(cr, source);
  cairo_pattern_destroy(source);
  const double m = 0.5 * cairo_get_line_width(cr) + 1.0;  // reach of a segment's paint
  const std::size_t n0 = l.prev.size(), n = n0 + l.pts.size() - 1;  // the cut point once
  auto at = [&](std::size_t i) -> const ZgPoint& { return i < n0 ? l.prev[i] : l.pts[i - n0 + 1]; };
  bool run = false;
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const ZgPoint& a = at(i);
    const ZgPoint& b = at(i + 1);
    const bool near = std::min(a.x, b.x) - m < q.x1 && std::max(a.x, b.x) + m > q.x0 &&
                      std::min(a.y, b.y) - m < q.y1 && std::max(a.y, b.y) + m > q.y0;
    if (!near) {
      run = false;
      continue;
    }
    if (!run) cairo_move_to(cr, a.x, a.y);
    run = true;
    cairo_line_to(cr, b.x, b.y);
  }
  cairo_stroke(cr);
  cairo_restore(cr);
}

// Cuts the chain of the open polyline at its last point and strokes the piece
// that ends there.
void cut_chain(cairo_t* cr) {
  LongLine& l = long_line;
  const ZgPoint end = l.pts.back();
  if (!l.pieces) {
    // The lines gathered before this one are stroked as they are.
    if (cairo_has_current_point(cr)) stroke_path(cr, batch.joined);
    cairo_new_path(cr);
    batch.joined = batch.chainEnd = false;
    batch.pieces = batch.segments = 0;
    batch.length = 0.0;
  }
  const PixelBox next = cut_box(end, cairo_get_line_width(cr));
  SurfacePtr under = keep_pixels(cr, next);
  stroke_points(cr, l.pts);
  if (l.pieces) repaint_cut(cr);
  l.pieces = true;
  l.cut = next;
  l.under = std::move(under);
  l.prev.swap(l.pts);
  l.pts.clear();
  l.pts.push_back(end);
  l.length = 0.0;
}

// Adds a point to the chain of the open polyline (image pages).
void chain_point(cairo_t* cr, ZgPoint p) {
  LongLine& l = long_line;
  if (!l.pts.empty()) l.length += std::fabs(p.x - l.pts.back().x) + std::fabs(p.y - l.pts.back().y);
  l.pts.push_back(p);
  if (l.pts.size() <= kRasterPiece && l.length < kRasterPieceLength) return;
  if (l.pieces && l.pts.size() <= kRasterPieceMax && overlaps(cut_box(p, cairo_get_line_width(cr)), l.cut))
    return;
  cut_chain(cr);
}

// Ends the chain of the open polyline: a short one joins the path like any
// line; the last piece of a long one is stroked and its cut repainted.
void finish_chain(cairo_t* cr) {
  LongLine& l = long_line;
  if (cr && !l.pieces && l.pts.size() >= 2) {
    cairo_move_to(cr, l.pts[0].x, l.pts[0].y);
    for (std::size_t i = 1; i < l.pts.size(); ++i) cairo_line_to(cr, l.pts[i].x, l.pts[i].y);
    ++batch.pieces;
  } else if (cr && l.pieces && l.pts.size() >= 2) {
    // (Without a segment after the cut, the piece before it was the end of
    // the line and painted its box alone.)
    stroke_points(cr, l.pts);
    repaint_cut(cr);
  }
  if (l.pieces) {
    batch.segments = 0;
    batch.length = 0.0;
  }
  l.pieces = false;
  l.pts.clear();
  l.prev.clear();
  l.cut = PixelBox{};
  l.under.reset();
  l.length = 0.0;
}

// Fills the current path as a tone in the current colour, as the format wants it.
void fill_tone_path(cairo_t* cr) {
  if (zgformat().tone_outline) {
    // The outline in the fill colour closes the hairline gaps that PDF viewers
    // show between neighbouring polygons.
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 0.4);
    cairo_stroke(cr);
  } else {
    cairo_antialias_t aa = cairo_get_antialias(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_fill(cr);
    cairo_set_antialias(cr, aa);
  }
}

void grow_dirty(double xs, double ys) {
  zguprect(zgtrunc(xs), zgtrunc(ys));
}

// Store one image pixel at the cursor and advance it; pixels beyond the
// declared size are dropped.
void store_pixel(std::uint32_t rgb) {
  ZgState& s = zgstate();
  if (!s.csi || s.image_filled >= static_cast<long long>(s.iwz) * s.ihz) return;
  const int col = s.ixxz - s.ixz, row = s.iyyz - s.iyz;
  std::memcpy(s.pixels + static_cast<std::size_t>(row) * s.rows + static_cast<std::size_t>(col) * 4, &rgb,
              sizeof rgb);
  ++s.image_filled;
  s.ixxz += 1;
  if (s.ixxz >= s.ixz + s.iwz) {
    s.ixxz = s.ixz;
    s.iyyz += 1;
    if (s.iyyz % 16 == 0) std::fputc('.', stderr);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Attributes
// ---------------------------------------------------------------------------

void zgswdi(int i) {
  ZgState& s = zgstate();
  int k = i < 0 ? 0 : i % 10;
  if (k == 0) k = 1;
  s.iwdidz = s.irwidth = k;
}

void zgscli(int i) {
  ZgState& s = zgstate();
  if (s.lfcmod) return;
  s.iclidz = color_index(i);
  if (!s.cr) return;
  const ZgColor& c = s.cx[static_cast<std::size_t>(s.iclidz)];
  // The same colour again changes nothing and keeps the pending lines together.
  if (source_is(s.cr.get(), c.r / 65535.0, c.g / 65535.0, c.b / 65535.0)) return;
  zgflushstroke();
  zgsetcolor(s.cr.get(), s.iclidz);
}

void zgslcl(int rgb) { set_packed_color(rgb); }
void zgstcl(int rgb) { set_packed_color(rgb); }
void zgsfcm(bool l) { zgstate().lfcmod = l; }

// ---------------------------------------------------------------------------
// Polylines
// ---------------------------------------------------------------------------

// Polylines of one width and colour are gathered into one path and stroked
// together: one stroke per glyph stroke or per short segment makes PDF pages
// huge and slow to finish. The path is kept short, since cairo's stroker slows
// down on paths of very many segments on image surfaces.
void zgflushstroke() {
  zgflushglyphs();
  // A polyline still open keeps its first segment back: it is drawn with the rest.
  cairo_t* cr = zgstate().cr.get();
  if (cr && open_line.stage == OpenPolyline::Stage::segment) emit_held_segment(cr);
  if (open_line.stage == OpenPolyline::Stage::drawing && batch.chains) finish_chain(cr);
  stroke_batch();
}

void zgqdsc(bool& capable) { capable = !zgformat().raster; }

void zgsdsh(const float* lengths, int n, float offset) {
  const double sc = zgstate().ddvscale;
  DashState d;
  d.count = lengths == nullptr ? 0 : std::clamp(n, 0, static_cast<int>(d.lengths.size()));
  double total = 0.0;
  bool valid = std::isfinite(offset);
  for (int i = 0; i < d.count; ++i) {
    const double len = static_cast<double>(lengths[i]) * sc;
    // cairo refuses negative lengths (and puts the context in error).
    valid = valid && len >= 0.0 && std::isfinite(len);
    d.lengths[static_cast<std::size_t>(i)] = len;
    total += len;
  }
  if (!valid || !(total > 0.0)) {
    requested_dash = DashState{};
    return;
  }
  d.offset = static_cast<double>(offset) * sc;
  requested_dash = d;
}

void zggopn() {
  ZgState& s = zgstate();
  zgflushglyphs();
  // A polyline left open stays in the path as it is.
  if (s.cr && open_line.stage == OpenPolyline::Stage::segment) emit_held_segment(s.cr.get());
  if (open_line.stage == OpenPolyline::Stage::drawing && batch.chains) finish_chain(s.cr.get());
  open_line.stage = OpenPolyline::Stage::empty;
  requested_dash = DashState{};
  if (!s.cr) return;
  cairo_t* cr = s.cr.get();
  const double width = current_line_width();
  // A dashed batch may go on with the next line if that asks for the same
  // pattern at its first move (match_dash).
  if (batch.pending && (batch.cr != cr || batch.width != width || batch_full())) zgflushstroke();
  if (!batch.pending) begin_batch(cr, width);
  batch.fresh = true;
}

void zggmov(double x, double y) {
  ZgState& s = zgstate();
  s.rwxold = x;
  s.rwyold = y;
  batch.fresh = false;
  if (!s.cr) return;
  cairo_t* cr = s.cr.get();
  const double xs = zgxs(x), ys = zgys(y);
  grow_dirty(xs, ys);
  switch (open_line.stage) {
    case OpenPolyline::Stage::segment:
      // A second piece: the polyline is more than one segment.
      start_drawing(cr);
      [[fallthrough]];
    case OpenPolyline::Stage::drawing:
      if (batch.chains) {
        finish_chain(cr);
        long_line.pts.push_back(zgturn(xs, ys));
        return;
      }
      match_dash(cr);
      path_move(cr, xs, ys);
      ++batch.pieces;
      return;
    case OpenPolyline::Stage::empty:
    case OpenPolyline::Stage::start:
      if (!batch.chains) {
        // Pages that join no pieces (vector pages, whose dash offset may
        // change at every move) draw the polyline as it comes.
        open_line.stage = OpenPolyline::Stage::drawing;
        match_dash(cr);
        path_move(cr, xs, ys);
        ++batch.pieces;
        return;
      }
      open_line.stage = OpenPolyline::Stage::start;
      open_line.x0 = xs;
      open_line.y0 = ys;
      return;
  }
}

void zggplt(double x, double y) {
  ZgState& s = zgstate();
  if (s.cr) {
    cairo_t* cr = s.cr.get();
    const double xs = zgxs(x), ys = zgys(y);
    if (batch.fresh && open_line.stage == OpenPolyline::Stage::empty) {
      // A polyline without a first point starts at the remembered point, also
      // when the lines before it are still in the path.
      open_line.stage = OpenPolyline::Stage::start;
      open_line.x0 = zgxs(s.rwxold);
      open_line.y0 = zgys(s.rwyold);
      if (!batch.chains) {
        open_line.stage = OpenPolyline::Stage::drawing;
        match_dash(cr);
        path_move(cr, open_line.x0, open_line.y0);
        ++batch.pieces;
      }
    }
    batch.fresh = false;
    switch (open_line.stage) {
      case OpenPolyline::Stage::start:
        open_line.stage = OpenPolyline::Stage::segment;
        open_line.x1 = xs;
        open_line.y1 = ys;
        break;
      case OpenPolyline::Stage::segment:
      case OpenPolyline::Stage::empty:
        start_drawing(cr);
        [[fallthrough]];
      case OpenPolyline::Stage::drawing:
        if (batch.chains) {
          if (long_line.pts.empty()) long_line.pts.push_back(zgturn(zgxs(s.rwxold), zgys(s.rwyold)));
          chain_point(cr, zgturn(xs, ys));
          break;
        }
        // After a stroke in the middle of the polyline it goes on from its
        // last point.
        if (!cairo_has_current_point(cr)) {
          match_dash(cr);
          path_move(cr, zgxs(s.rwxold), zgys(s.rwyold));
          ++batch.pieces;
        }
        path_line(cr, xs, ys);
        break;
    }
    batch.length += std::fabs(xs - zgxs(s.rwxold)) + std::fabs(ys - zgys(s.rwyold));
    grow_dirty(xs, ys);
    ++batch.segments;
  }
  s.rwxold = x;
  s.rwyold = y;
}

void zggcls() {
  ZgState& s = zgstate();
  cairo_t* cr = s.cr.get();
  if (cr && open_line.stage == OpenPolyline::Stage::segment) {
    // One segment: it continues the path when it starts where the path ends
    // and nothing in the path needs bevelled joins.
    if (batch.pending && batch.cr == cr && batch.chains && batch.chainEnd && !batch.bevels &&
        open_line.x0 == batch.endX && open_line.y0 == batch.endY) {
      path_line(cr, open_line.x1, open_line.y1);
      batch.joined = true;
    } else {
      path_move(cr, open_line.x0, open_line.y0);
      path_line(cr, open_line.x1, open_line.y1);
      ++batch.pieces;
    }
    batch.chainEnd = true;
    batch.endX = open_line.x1;
    batch.endY = open_line.y1;
  } else if (open_line.stage == OpenPolyline::Stage::drawing) {
    if (batch.chains) finish_chain(cr);
    batch.chainEnd = false;
  }
  open_line.stage = OpenPolyline::Stage::empty;
  if (!batch.pending) {
    if (cr) cairo_stroke(cr);
  } else if (batch_full()) {
    zgflushstroke();
  }
  batch.fresh = false;
  s.lfcmod = false;
}

// ---------------------------------------------------------------------------
// Tones
// ---------------------------------------------------------------------------

void zggton(int n, const float* xs, const float* ys, int itpat) {
  ZgState& s = zgstate();
  if (!s.cr || n <= 0) return;
  zgflushstroke();
  cairo_t* cr = s.cr.get();
  const int k = (itpat >= 999000 && itpat <= 999999) ? 0 : color_index(itpat / 1000);

  cairo_new_path(cr);
  for (int i = 0; i < n; ++i) {
    const double px = zgxs(xs[i]), py = zgys(ys[i]);
    const ZgPoint p = zgturn(px, py);
    if (i == 0)
      cairo_move_to(cr, p.x, p.y);
    else
      cairo_line_to(cr, p.x, p.y);
    grow_dirty(px, py);
  }
  cairo_close_path(cr);
  // In full-colour mode the colour set by zgstcl stands, as for polylines.
  if (!s.lfcmod) zgsetcolor(cr, k);

  fill_tone_path(cr);
}

// Several rings filled together by the even-odd rule, so that holes stay open
// and self-intersecting rings fill alternately; otherwise as zggton.
void zggtnm(int nring, const int* npts, const float* xs, const float* ys, int itpat) {
  ZgState& s = zgstate();
  if (!s.cr || nring <= 0) return;
  zgflushstroke();
  cairo_t* cr = s.cr.get();
  const int k = (itpat >= 999000 && itpat <= 999999) ? 0 : color_index(itpat / 1000);

  cairo_new_path(cr);
  long long first = 0;
  for (int r = 0; r < nring; ++r) {
    const int n = npts[r];
    if (n <= 0) continue;
    for (int i = 0; i < n; ++i) {
      const double px = zgxs(xs[first + i]), py = zgys(ys[first + i]);
      const ZgPoint p = zgturn(px, py);
      if (i == 0)
        cairo_move_to(cr, p.x, p.y);
      else
        cairo_line_to(cr, p.x, p.y);
      grow_dirty(px, py);
    }
    cairo_close_path(cr);
    first += n;
  }
  if (!s.lfcmod) zgsetcolor(cr, k);

  const cairo_fill_rule_t rule = cairo_get_fill_rule(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  fill_tone_path(cr);
  cairo_set_fill_rule(cr, rule);
}

// ---------------------------------------------------------------------------
// Images
// ---------------------------------------------------------------------------

void zgiopn(int ix, int iy, int iw, int ih) {
  ZgState& s = zgstate();
  s.ixz = s.ixxz = ix;
  s.iyz = s.iyyz = iy;
  s.iwz = std::max(iw, 0);
  s.ihz = std::max(ih, 0);
  s.image_filled = 0;
  s.csi.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, s.iwz, s.ihz));
  if (cairo_surface_status(s.csi.get()) != CAIRO_STATUS_SUCCESS) {
    // Too large for an image surface: nothing can be stored. The surface in
    // error is dropped, as painting it would put the page's context in error
    // and lose everything drawn after it.
    std::fprintf(stderr, "*** Error in zgiopn : Image of %d x %d pixels is too large.\n", iw, ih);
    s.csi.reset();
    s.iwz = s.ihz = 0;
    s.pixels = nullptr;
  } else {
    cairo_surface_flush(s.csi.get());
    s.pixels = cairo_image_surface_get_data(s.csi.get());
    s.rows = cairo_image_surface_get_stride(s.csi.get());
    if (!s.pixels) s.iwz = s.ihz = 0;
  }
  std::fputs(" *** image ", stderr);
}

void zgidat(const int* v, int n) {
  ZgState& s = zgstate();
  for (int i = 0; i < n; ++i) {
    const ZgColor& c = s.cx[static_cast<std::size_t>(color_index(v[i]))];
    store_pixel(static_cast<std::uint32_t>((c.r >> 8) << 16 | (c.g >> 8) << 8 | (c.b >> 8)));
  }
}

void zgiclr(const int* v, int n) {
  ZgState& s = zgstate();
  for (int i = 0; i < n; ++i) store_pixel(static_cast<std::uint32_t>(v[i]) & 0xffffffu);
  if (!s.laltz) zgupdate(1);
}

void zgicls() {
  ZgState& s = zgstate();
  zgflushstroke();
  if (s.csi && s.cr) {
    cairo_surface_mark_dirty(s.csi.get());
    cairo_t* cr = s.cr.get();
    cairo_save(cr);
    zgturncontext(cr);
    cairo_set_source_surface(cr, s.csi.get(), s.ixz, s.iyz);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr, s.ixz, s.iyz, s.iwz, s.ihz);
    cairo_fill(cr);
    cairo_restore(cr);
    // Mark the image so that the window update below shows it.
    const int m = s.irwidth;
    zguprect(s.ixz + m, s.iyz + m);
    zguprect(s.ixz + s.iwz - m, s.iyz + s.ihz - m);
  }
  if (!s.laltz) zgupdate(1);
  std::fputs(" end\n", stderr);
  s.csi.reset();
  s.pixels = nullptr;
}

// ---------------------------------------------------------------------------
// Clipping
// ---------------------------------------------------------------------------

void zgclip(double x0, double x1, double y0, double y1) {
  ZgState& s = zgstate();
  if (!s.cr) return;
  zgflushstroke();
  // The turn keeps the rectangle parallel to the sheet's sides.
  const ZgPoint a = zgturn(zgxs(x0), zgys(y1));
  const ZgPoint b = zgturn(zgxs(x0) + (x1 - x0) * s.ddvscale, zgys(y1) + (y1 - y0) * s.ddvscale);
  cairo_rectangle(s.cr.get(), std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y));
  cairo_clip(s.cr.get());
}

void zgrclp() {
  ZgState& s = zgstate();
  zgflushstroke();
  if (s.cr) cairo_reset_clip(s.cr.get());
}

// ---------------------------------------------------------------------------
// Capabilities, rectangle, conversions
// ---------------------------------------------------------------------------

void zgqwdc(bool& l) { l = true; }
void zgqclc(bool& l) { l = zgstate().lclatrz; }
void zgqtnc(bool& l) { l = true; }
void zgqimc(bool& l) { l = true; }
void zgqptc(bool& l) { l = false; }
void zgqpnt(float&, float&, int&) {}

void zgqrct(float& xmin, float& xmax, float& ymin, float& ymax, float& fact) {
  const ZgState& s = zgstate();
  if (s.exact) {
    // The whole page, to the edge; one unit is a point or a pixel at page_dpi.
    xmin = ymin = 0.0f;
    xmax = static_cast<float>(s.exact_w);
    ymax = static_cast<float>(s.exact_h);
    fact = static_cast<float>(zgformat().raster ? 2.54 / s.page_dpi : 2.54 / 72.0);
    return;
  }
  if (zgformat().paper) {
    xmin = 0.0f;
    xmax = static_cast<float>(s.iPS_PAGE_HEIGHT);
    ymin = 0.0f;
    ymax = static_cast<float>(s.iPS_PAGE_WIDTH);
  } else {
    xmin = 2.0f;
    xmax = static_cast<float>(s.wsxwd - 2);
    ymin = 2.0f;
    ymax = static_cast<float>(s.wsywd - 2);
  }
  fact = 0.03f;
}

void zgsrot(int i) { zgstate().iwtroz = i; }

void zgfint(double x, double y, int& ix, int& iy) {
  ix = zgtrunc(x + 0.5);
  iy = zgtrunc(zgstate().wsyflip - y + 0.5);
}

void zgiint(int ix, int iy, float& x, float& y) {
  x = static_cast<float>(ix);
  y = static_cast<float>(zgstate().wsyflip - iy);
}

void zgfrel(double x, double y, float& xs, float& ys) {
  xs = static_cast<float>(zgxs(x));
  ys = static_cast<float>(zgys(y));
}

}  // namespace zep
