// The table of transformation numbers: forward/inverse pairs and set-up.
//
// A row whose forward mapping is nullptr names a valid number whose projection
// this library does not provide: sgstrf refuses it with a report naming it,
// rather than drawing through a wrong mapping. The grid row's hook checks that
// the grid has been given (reporting "(ITR:51) NOT YET INITIALIZED. CALL
// G2SCTR." under s.routine otherwise) and replaces an undefined window by the
// grid's extent. Map rows name their set routine, if any; ITR 99 takes the set
// routine of the user projection selected with stnusr.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>

#include "graphics/projection_table.hpp"
#include "graphics/maps/map_common.hpp"
#include "graphics/grid/curvilinear_grid.hpp"

namespace zep::transform {
namespace {

constexpr Projection axes(int n, std::string_view name, PointMapping f, PointMapping i) {
  return {n, name, Kind::Axes, f, i};
}
constexpr Projection similarity(int n, std::string_view name, PointMapping f, PointMapping i) {
  return {n, name, Kind::Similarity, f, i};
}
constexpr Projection map(int n, std::string_view name, PointMapping f, PointMapping i) {
  return {n, name, Kind::Map, f, i};
}
constexpr Projection map(int n, std::string_view name, PointMapping f, PointMapping i, SetLatitude set) {
  Projection p{n, name, Kind::Map, f, i};
  p.setLatitude = set;
  return p;
}
constexpr Projection map(int n, std::string_view name, PointMapping f, PointMapping i, SetLatitudes set) {
  Projection p{n, name, Kind::Map, f, i};
  p.setLatitudes = set;
  return p;
}
constexpr Projection user(Projection p) {
  p.userProjection = true;
  return p;
}

constexpr std::array kProjections = {
    axes(1, "LINEAR", linearStep, linearStep),
    axes(2, "LOGARITHMIC Y", logYStep, logYInverse),
    axes(3, "LOGARITHMIC X", logXStep, logXInverse),
    axes(4, "LOGARITHMIC X AND Y", logXYStep, logXYInverse),
    similarity(5, "POLAR", ct2pc, ct2cp),
    similarity(6, "BIPOLAR", ct2bc, nullptr),
    map(10, "EQUIDISTANT CYLINDRICAL", mpfcyl, mpicyl),
    map(11, "MERCATOR", mpfmer, mpimer),
    map(12, "MOLLWEIDE", mpfmwd, mpimwd),
    map(13, "HAMMER", mpfhmr, mpihmr),
    map(14, "ECKERT VI", mpfek6, mpiek6),
    map(15, "ELLIPTICAL EQUAL-AREA", mpfktd, mpiktd),
    map(16, "MILLER CYLINDRICAL", mpfmil, mpimil),
    map(17, "ROBINSON", mpfrbs, mpirbs),
    map(18, "SINUSOIDAL", mpfsin, mpisin),
    map(19, "VAN DER GRINTEN", mpfvdg, mpivdg),
    map(20, "EQUIDISTANT CONIC", mpfcon, mpicon, mpscon),
    map(21, "EQUAL-AREA CONIC", mpfcoa, mpicoa, mpscoa),
    map(22, "CONFORMAL CONIC", mpfcoc, mpicoc, mpscoc),
    map(23, "BONNE", mpfbon, mpibon, mpsbon),
    map(24, "POLYCONIC", mpfplc, mpiplc),
    map(30, "ORTHOGRAPHIC", mpfotg, mpiotg),
    map(31, "POLAR STEREOGRAPHIC", mpfpst, mpipst),
    map(32, "AZIMUTHAL EQUIDISTANT", mpfazm, mpiazm),
    map(33, "AZIMUTHAL EQUAL-AREA", mpfaza, mpiaza),
    map(34, "GNOMONIC", mpfgno, mpigno),
    Projection{51, "CURVILINEAR GRID", Kind::Grid, g2fctr, g2ictr, prepareGrid},
    map(99, "USER PROJECTION", stfusr, stiusr),
    // The user projections; their names are what stcusr returns.
    user(map(100, "CENTRAL CYLINDRICAL", mpfcyc, mpicyc)),
    user(map(101, "EQ.-AREA CYLINDRICAL", mpfcya, mpicya)),
    user(map(102, "BRAUN CYLINDRICAL", mpfcyb, mpicyb, mpscyb)),
    user(map(103, "BACON'S GLOBULAR", mpfglb, mpiglb)),
    user(map(104, "CENTRAL CONICAL", mpfcct, mpicct, mpscct)),
};

const Projection* findRow(int number, bool userProjection) {
  const auto* it = std::find_if(kProjections.begin(), kProjections.end(), [=](const Projection& p) {
    return p.number == number && p.userProjection == userProjection;
  });
  return it == kProjections.end() ? nullptr : &*it;
}

}  // namespace

const Projection* findProjection(int itr) { return findRow(itr, false); }

const Projection* findUserProjection(int n) { return findRow(n, true); }

bool setUpMap(const Projection& p, const Setup& setup) {
  mpsotg(setup.rsat);
  const Projection* own = p.number == 99 ? selectedUserProjection() : &p;
  if (own == nullptr) return false;
  if (own->setLatitude != nullptr) own->setLatitude(setup.stlat1);
  if (own->setLatitudes != nullptr) own->setLatitudes(setup.stlat1, setup.stlat2);
  if (own->setLatitude == nullptr && own->setLatitudes == nullptr) return false;
  // A cone whose standard latitude lies at (or within a hair of) the equator
  // opens into a plane at infinity: the map lands millions of radii away and
  // the page stays blank. Say so; the latitude stays the caller's.
  // Three points of the central meridian, 45 degrees apart: all of them a
  // hundred radii away, or all in one place, is no map.
  std::array<float, 3> x{}, y{};
  bool far = true;
  for (std::size_t i = 0; i < 3; ++i) {
    own->forward(0.0F, 0.7853982F * (static_cast<float>(i) - 1.0F), x[i], y[i]);
    far = far && (!std::isfinite(x[i]) || !std::isfinite(y[i]) || std::fabs(x[i]) > 100.0F || std::fabs(y[i]) > 100.0F);
  }
  const bool collapsed = std::hypot(x[0] - x[1], y[0] - y[1]) < 1.0E-3F && std::hypot(x[2] - x[1], y[2] - y[1]) < 1.0E-3F;
  if (!far && !collapsed) return false;
  msgdmp("W", setup.routine,
           "(ITR:" + std::to_string(own->number) + ") " + std::string(own->name) + " IS DEGENERATE FOR " +
               (own->setLatitudes != nullptr ? "STANDARD LATITUDES STLAT1 AND STLAT2" : "STANDARD LATITUDE STLAT1") +
               "; THE MAP LIES FAR OFF THE VIEWPORT.");
  return true;
}

std::string unavailableText(const Projection& p) {
  return "(ITR:" + std::to_string(p.number) + ") " + std::string(p.name) + " IS NOT AVAILABLE.";
}

}  // namespace zep::transform
