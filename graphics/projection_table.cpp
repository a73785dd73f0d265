// The table of transformation numbers and their forward/inverse pairs.
//
// A row whose forward mapping is nullptr names a valid number whose projection
// this library does not provide: sgstrf refuses it with a report naming it,
// rather than drawing through a wrong mapping. To provide one, put its routines
// in the row, e.g. for Mercator
//   {11, "MERCATOR", Kind::Map, mpfmer, mpimer, nullptr},
// and for a projection with parameters a Prepare hook that hands them over:
//   bool prepareConic(Setup& s) { mpscon(s.stlat1); return true; }
// The orthographic row's hook passes s.rsat to mpsotg; the grid row's hook
// checks that the grid has been given (reporting "(ITR:51) NOT YET
// INITIALIZED. CALL G2SCTR." under s.routine otherwise) and replaces an
// undefined window by the grid's extent; the ITR 99 row routes to the user
// projection selected with stnusr and sets its parameter.
#include <algorithm>
#include <array>
#include <string>

#include <zep/foundation.hpp>
#include <zep/graphics.hpp>

#include "graphics/projection_table.hpp"
#include "graphics/maps/map_common.hpp"
#include "graphics/grid/curvilinear_grid.hpp"

namespace zep::transform {
namespace {

// Every map finalization hands the viewpoint distance to the orthographic
// projection; the conics also take their standard latitudes.
bool prepareMap(Setup& s) {
  mpsotg(s.rsat);
  return true;
}
bool prepareEquidistantConic(Setup& s) {
  mpsotg(s.rsat);
  mpscon(s.stlat1);
  return true;
}
bool prepareEqualAreaConic(Setup& s) {
  mpsotg(s.rsat);
  mpscoa(s.stlat1);
  return true;
}
bool prepareConformalConic(Setup& s) {
  mpsotg(s.rsat);
  mpscoc(s.stlat1, s.stlat2);
  return true;
}
bool prepareBonne(Setup& s) {
  mpsotg(s.rsat);
  mpsbon(s.stlat1);
  return true;
}

constexpr std::array kProjections = {
    Projection{1, "LINEAR", Kind::Axes, linearStep, linearStep, nullptr},
    Projection{2, "LOGARITHMIC Y", Kind::Axes, logYStep, logYInverse, nullptr},
    Projection{3, "LOGARITHMIC X", Kind::Axes, logXStep, logXInverse, nullptr},
    Projection{4, "LOGARITHMIC X AND Y", Kind::Axes, logXYStep, logXYInverse, nullptr},
    Projection{5, "POLAR", Kind::Similarity, ct2pc, ct2cp, nullptr},
    Projection{6, "BIPOLAR", Kind::Similarity, ct2bc, nullptr, nullptr},
    Projection{10, "EQUIDISTANT CYLINDRICAL", Kind::Map, mpfcyl, mpicyl, prepareMap},
    Projection{11, "MERCATOR", Kind::Map, mpfmer, mpimer, prepareMap},
    Projection{12, "MOLLWEIDE", Kind::Map, mpfmwd, mpimwd, prepareMap},
    Projection{13, "HAMMER", Kind::Map, mpfhmr, mpihmr, prepareMap},
    Projection{14, "ECKERT VI", Kind::Map, mpfek6, mpiek6, prepareMap},
    Projection{15, "ELLIPTICAL EQUAL-AREA", Kind::Map, mpfktd, mpiktd, prepareMap},
    Projection{16, "MILLER CYLINDRICAL", Kind::Map, mpfmil, mpimil, prepareMap},
    Projection{17, "ROBINSON", Kind::Map, mpfrbs, mpirbs, prepareMap},
    Projection{18, "SINUSOIDAL", Kind::Map, mpfsin, mpisin, prepareMap},
    Projection{19, "VAN DER GRINTEN", Kind::Map, mpfvdg, mpivdg, prepareMap},
    Projection{20, "EQUIDISTANT CONIC", Kind::Map, mpfcon, mpicon, prepareEquidistantConic},
    Projection{21, "EQUAL-AREA CONIC", Kind::Map, mpfcoa, mpicoa, prepareEqualAreaConic},
    Projection{22, "CONFORMAL CONIC", Kind::Map, mpfcoc, mpicoc, prepareConformalConic},
    Projection{23, "BONNE", Kind::Map, mpfbon, mpibon, prepareBonne},
    Projection{24, "POLYCONIC", Kind::Map, mpfplc, mpiplc, prepareMap},
    Projection{30, "ORTHOGRAPHIC", Kind::Map, mpfotg, mpiotg, prepareMap},
    Projection{31, "POLAR STEREOGRAPHIC", Kind::Map, mpfpst, mpipst, prepareMap},
    Projection{32, "AZIMUTHAL EQUIDISTANT", Kind::Map, mpfazm, mpiazm, prepareMap},
    Projection{33, "AZIMUTHAL EQUAL-AREA", Kind::Map, mpfaza, mpiaza, prepareMap},
    Projection{34, "GNOMONIC", Kind::Map, mpfgno, mpigno, prepareMap},
    Projection{51, "CURVILINEAR GRID", Kind::Grid, g2fctr, g2ictr, prepareGrid},
    Projection{99, "USER PROJECTION", Kind::Map, stfusr, stiusr, prepareUserProjection},
};

}  // namespace

const Projection* findProjection(int itr) {
  const auto* it = std::find_if(kProjections.begin(), kProjections.end(),
                                [itr](const Projection& p) { return p.number == itr; });
  return it == kProjections.end() ? nullptr : &*it;
}

std::string unavailableText(const Projection& p) {
  return "(ITR:" + std::to_string(p.number) + ") " + std::string(p.name) + " IS NOT AVAILABLE.";
}

}  // namespace zep::transform
