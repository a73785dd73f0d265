// Geometry of filled polygons: rings cut to rectangles, edges that follow great
// circles or straight lines, and rings on the sphere cut at the longitude seam
// and closed at a pole. Everything here works on whole rings, so that what comes
// out still encloses the same area and can be filled; the line clippers of the
// pipeline cut lines into pieces, which is no good for an area.
//
// Computation is in double precision; the library's coordinates are floats.
#pragma once

#include <vector>

namespace zep::polygon {

struct Point {
  double x = 0.0;
  double y = 0.0;
};

// A closed ring: the last point joins the first implicitly.
using Ring = std::vector<Point>;

struct Rect {
  double xmin = 0.0, xmax = 0.0, ymin = 0.0, ymax = 0.0;
};

// The part of a ring inside the rectangle (boundary included). Parts that leave
// and come back are joined along the rectangle's edge, so the area inside and
// the even-odd parity of every inside point are kept; the joins enclose no area.
Ring clipRing(const Ring& ring, const Rect& r);

// Twice the signed area of a ring (positive counter-clockwise).
double doubleArea(const Ring& ring);

// Appends the points after `a` up to and including `b` of a straight edge, cut
// into pieces no longer than `sx` in x and `sy` in y (a step of 0 or less does
// not cut that axis). At most `kMaxPieces` pieces per edge.
void appendStraight(Ring& out, Point a, Point b, double sx, double sy);

// The same for the great-circle arc from `a` to `b` (longitude, latitude in
// radians), pieces no longer than `step` in angle along the arc and `sx` in
// longitude. An end at a pole takes the longitude of the other end, so that
// the arc is the meridian; an arc over a pole passes through it along the
// meridians, the pole itself appearing with the longitude of each side.
// Opposite points are joined over the north pole.
void appendGreatCircle(Ring& out, Point a, Point b, double step, double sx);

// The edges of a ring of vertices on the sphere, as cutOnSphere takes them:
// along great circles (appendGreatCircle) or, without `greatCircle`, straight in
// longitude and latitude (the vertices only; cut them later with densify). The
// ring starts at a vertex off the poles, where longitude means something; a
// ring with all its vertices at the poles has no area and gives nothing.
Ring sphereEdges(const Ring& vertices, bool greatCircle, double step, double sx);

// A ring with every edge cut by appendStraight (closing edge included).
Ring densify(const Ring& ring, double sx, double sy);

constexpr int kMaxPieces = 2000;

// What the map clips to, in rotated map coordinates (radians).
struct MapLimits {
  double lonMin = 0.0, lonMax = 0.0;  // within [-pi, pi]
  double latMin = 0.0, latMax = 0.0;  // within [-pi/2, pi/2]
};

// A ring of edge points on the sphere as one curve in the plane of longitude
// and latitude: followed the shorter way from point to point, and, when it goes
// once around a pole, closed along that pole. `pole` carries the choice of pole
// from ring to ring: 0 lets the first such ring choose (the pole of its smaller
// cap) and stores it, so that a band between two of them fills as a band.
Ring unfoldOnSphere(const Ring& edges, double& pole);

// Whether a point of the sphere (longitude, latitude) is inside an unfolded
// ring by the even-odd rule, whichever turn of longitude it is given on.
bool insideOnSphere(const Ring& unfolded, Point p);

// Which side of a ring is meant, where the coordinates the caller gave know
// better than the rotated ones: a point away from the ring and from the poles,
// in map coordinates, and whether it lies inside. A curve on the sphere bounds
// two areas; a rotation can turn the one the caller drew (a ring along the
// edge of the longitude and latitude rectangle, which encloses the whole
// globe) into a thin curve that encloses nothing, or into a ring about a pole
// whose smaller cap is the wrong side.
struct SideProbe {
  bool valid = false;
  Point at;
  bool inside = false;
};

// Cuts a polygon on the sphere into rings in map coordinates within the
// limits. Each ring of `rings` is given as the points of its edges in order,
// first point repeated at the end; longitudes may take any value (they are
// followed the shorter way from point to point). A ring that goes once around
// a pole is closed along that pole (unfoldOnSphere). A ring whose probe (same
// index in `probes`, if any) disagrees with that reading stands for the other
// side of its curve. A ring that crosses the longitude seam comes out as its
// parts on each side. The results hold boundary edges that may be long;
// densify them before projecting.
std::vector<Ring> cutOnSphere(const std::vector<Ring>& rings, const MapLimits& limits,
                              const std::vector<SideProbe>& probes = {});

}  // namespace zep::polygon
