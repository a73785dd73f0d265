// Graphics control and coordinate systems: SG parameter tables, sessions and
// frames, page layout, titles, the workstation and normalization transformations,
// map projections, the curvilinear grid and the perspective view.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include <zep/parameters.hpp>

namespace zep {

// ---------------------------------------------------------------------------
// SG parameters: sgiqnp ... sgistx, sglqnp ... sglstx, sgrqnp ... sgrstx
// (see parameters.hpp), and the generic table over all three types
// ---------------------------------------------------------------------------

ZEP_DECLARE_VALUE_TABLE(sgi, int)
ZEP_DECLARE_VALUE_TABLE(sgl, bool)
ZEP_DECLARE_VALUE_TABLE(sgr, float)

// The generic table lists every SG parameter once, in its own order; a value
// operation forwards to the typed table of the entry. The caller's variable must
// have the parameter's type (sgpqit: 1 integer, 2 logical, 3 real; 0 for an
// entry that the generic value operations leave alone).
void sgpqnp(int& n);
// Id of an SG parameter by short or long name; error report when unknown.
void sgpqid(std::string_view name, int& id);
// Short name of entry id.
void sgpqcp(int id, std::span<char> name);
// Long name of entry id.
void sgpqcl(int id, std::span<char> name);
// Type of entry id: 1 integer, 2 logical, 3 real, 0 none.
void sgpqit(int id, int& type);
// Current value of entry id.
void sgpqvl(int id, int& value);
void sgpqvl(int id, bool& value);
void sgpqvl(int id, float& value);
// Store a value in entry id.
void sgpsvl(int id, int value);
void sgpsvl(int id, bool value);
void sgpsvl(int id, float value);
// Id of an SG parameter by name; 0 without report when unknown.
void sgpqin(std::string_view name, int& id);
// Value of an SG parameter by name.
void sgpget(std::string_view name, int& value);
void sgpget(std::string_view name, bool& value);
void sgpget(std::string_view name, float& value);
// Store an SG parameter by name; runtime sources cannot override it.
void sgpset(std::string_view name, int value);
void sgpset(std::string_view name, bool value);
void sgpset(std::string_view name, float value);
// Store an SG parameter by name unless a runtime source names it.
void sgpstx(std::string_view name, int value);
void sgpstx(std::string_view name, bool value);
void sgpstx(std::string_view name, float value);

// ---------------------------------------------------------------------------
// Sessions: open a workstation (a negative number turns the page), start each
// frame (and page), close.
//
// The library is single-threaded: all its state is process-wide and one thread
// draws. While a session is open, a call from another thread than the one that
// opened it (at sgopn, sgfrm, sgcls or the opening of any primitive) is an error
// report; the call does not return, and the session's thread finishes the
// output and ends the process at its next call.
//
// While a session is open, SIGINT, SIGTERM and SIGHUP that the application left
// to their default action are noted; at the next call of the library the output
// is finished (a PDF file keeps the pages drawn so far) and the program then
// ends as the signal would. A second such signal ends it at once. Handlers of
// the application's own, and ignored signals, are left alone; SW LSIGNL false
// switches this off.
// ---------------------------------------------------------------------------

// Open a session on workstation iws (1 window, 2 files; negative turns the page).
void sgopn(int iws);
// Open a session on the workstation already stored in SG IWS.
void sginit();
// Start the next frame, and a new page when it begins one (titles, corner marks).
void sgfrm();
// Close the last page and the session.
void sgcls();

// ---------------------------------------------------------------------------
// Page titles and corner marks, drawn at every new page
// ---------------------------------------------------------------------------

// Registers title nt (1 to 5) above ("T") or below ("B") the page at position
// px, py (-1 to 1) within its band, with text height ht in R. Keywords after a
// "#" are replaced when drawn: #PAGE, #DATE, #TIME, #PROG, #USER.
void slsttl(std::string_view cttl, std::string_view cside, float px, float py, float ht, int nt);
// Remove title nt.
void sldttl(int nt);
// Draw the registered titles on the current page.
void slpttl();
// Draw corner marks at the workstation's corners (SG LCORNER).
void slpcnr();
// Draw corner marks with line index `index` and length rc in R.
void slpwvc(int index, float rc);
// Title text with its #PAGE/#DATE/#TIME/#PROG/#USER keywords replaced; lc its length.
void sltlcv(std::string_view cttl, std::span<char> cttlw, int& lc);
// Draw one title text on side "T" or "B" at px, py (-1 to 1) with height ht in R.
void slzttl(std::string_view cside, std::string_view cttl, float px, float py, float ht, int index);

// ---------------------------------------------------------------------------
// Page layout: frames on the page, in workstation units
// ---------------------------------------------------------------------------

// Level 0 and 1 become [0, wx] x [0, wy]; `fact` is one W unit in centimetres.
void slinit(float wx, float wy, float fact);
// Paper size "A4", "B5T", "A3L" ... (series, halvings, orientation), centred.
void slsize(std::string_view csize);
// Paper of dx x dy centimetres, centred.
void slform(float dx, float dy);
// Long and short side of the paper size named by the first two characters.
void slqsiz(std::string_view csize, float& dx, float& dy);
// Divides every frame of the deepest level into nx columns and ny rows,
// numbered along rows ("Y", "S") or along columns ("T", "L").
void sldiv(std::string_view cdir, int nx, int ny);
// Global frame number jfr at level lev: page number, and jfr within the page.
void slpage(int lev, int& jfr, int& ipage);
// Rectangle in W of frame ifr at level lev.
void slqrct(int lev, int ifr, float& xmin, float& xmax, float& ymin, float& ymax);
// One rectangle divided into nx * ny rectangles, written to four arrays.
void sldivz(float xmin, float xmax, float ymin, float ymax, std::string_view cdir, int nx, int ny, float* xa,
            float* xb, float* ya, float* yb);
// Shrinks a rectangle by margins given as fractions of its width and height.
void slmgnz(float& xmin, float& xmax, float& ymin, float& ymax, float left, float right, float bottom,
            float top);

// ---------------------------------------------------------------------------
// Normalization transformation: U (user) to V (normalized)
// ---------------------------------------------------------------------------

// Parameters, stored without checks; sgstrf checks them and makes them effective.
void sgsvpt(float vxmin, float vxmax, float vymin, float vymax);
// The viewport in V.
void sgqvpt(float& vxmin, float& vxmax, float& vymin, float& vymax);
// The window in U.
void sgswnd(float uxmin, float uxmax, float uymin, float uymax);
// The window in U.
void sgqwnd(float& uxmin, float& uxmax, float& uymin, float& uymax);
// Transformation number: 1-4 linear/log, 5 polar, 6 bipolar, 10-34 maps, 51 grid, 99 user map.
void sgstrn(int itr);
// Transformation number.
void sgqtrn(int& itr);
// Similarity (scale and offset of the projection origin); also derives the
// projection-plane window from the current viewport.
void sgssim(float simfac, float vxoff, float vyoff);
// Similarity: scale and offset of the projection origin (V).
void sgqsim(float& simfac, float& vxoff, float& vyoff);
// Map pole (plx, ply) and rotation plrot, degrees.
void sgsmpl(float plx, float ply, float plrot);
// Map pole and rotation, degrees.
void sgqmpl(float& plx, float& ply, float& plrot);
// Limits of the map in T: longitudes txmin..txmax, latitudes tymin..tymax, degrees.
void sgstxy(float txmin, float txmax, float tymin, float tymax);
// Limits of the map in T, degrees.
void sgqtxy(float& txmin, float& txmax, float& tymin, float& tymax);
// Projection-plane window; also derives the similarity from the current viewport.
void sgscwd(float cxmin, float cxmax, float cymin, float cymax);
// Projection-plane window.
void sgqcwd(float& cxmin, float& cxmax, float& cymin, float& cymax);
// Check the transformation parameters and make them effective.
void sgstrf();

// Point transformations as finalized by sgstrf: complete (U to V), degrees to
// radians, rotation to the map pole (U to T), projection and scaling to V.
void stftrf(float ux, float uy, float& vx, float& vy);
// Inverse of stftrf: V to U.
void stitrf(float vx, float vy, float& ux, float& uy);
// Mark the current transformation as a map projection or not.
void ststrf(bool lmap);
// Whether the current transformation is a map projection.
void stqtrf(bool& lmap);
// U to radians where the axes are in degrees (SG LDEG).
void stfrad(float x, float y, float& xr, float& yr);
// Radians back to U.
void stirad(float xr, float yr, float& x, float& y);
// Which axes convert degrees to radians.
void stsrad(bool lxd, bool lyd);
// U (radians) to T: rotation to the map pole.
void stfrot(float ux, float uy, float& tx, float& ty);
// T to U (radians).
void stirot(float tx, float ty, float& ux, float& uy);
// Rotation to the map pole by the Euler angles theta, phi, psi (radians).
void stsrot(float theta, float phi, float psi);
// Projection of a point (U or T) and scaling to V.
void stftrn(float x, float y, float& vx, float& vy);
// V back to the projected coordinates (U or T).
void stitrn(float vx, float vy, float& x, float& y);
// Transformation number of the projection step.
void ststri(int itr);
// Scale cx, cy and origin vx0, vy0 of the scaling to V.
void ststrp(float cx, float cy, float vx0, float vy0);

// ---------------------------------------------------------------------------
// Workstation transformation: R (normalized device) to W (workstation)
// ---------------------------------------------------------------------------

// Window in R, requested viewport in W, function number (1 upright, 2 turned by
// 90 degrees). The viewport is shrunk to the window's aspect ratio and centred.
void stswtr(float rxmin, float rxmax, float rymin, float rymax, float wxmin, float wxmax, float wymin,
            float wymax, int iwtrf);
// The workstation transformation.
void stqwtr(float& rxmin, float& rxmax, float& rymin, float& rymax, float& wxmin, float& wxmax, float& wymin,
            float& wymax, int& iwtrf);
// The workstation's drawable rectangle in W.
void stswrc(float wsxmn, float wsxmx, float wsymn, float wsymx);
// The workstation's drawable rectangle in W.
void stqwrc(float& wsxmn, float& wsxmx, float& wsymn, float& wsymx);
// R to W.
void stfwtr(float rx, float ry, float& wx, float& wy);
// W to R.
void stiwtr(float wx, float wy, float& rx, float& ry);

// ---------------------------------------------------------------------------
// Map projections
// ---------------------------------------------------------------------------

// Longitude folded into [-pi, pi]; within 1e-5 pi of an odd multiple of pi the
// value keeps its own sign's end of the range.
float xmplon(float x);

// Every projection maps T (longitude, latitude in radians, map pole at the
// north pole) onto the plane of a unit sphere: mpf<code>(lon, lat, x, y), and
// back: mpi<code>(x, y, lon, lat), which answers RUNDEF in both outputs for a
// plane point outside the map. mps<code> sets a projection's parameters
// (standard latitudes in radians).
void mpfcyl(float lon, float lat, float& x, float& y);  // 10 equidistant cylindrical
void mpicyl(float x, float y, float& lon, float& lat);  // inverse
void mpfmer(float lon, float lat, float& x, float& y);  // 11 Mercator
void mpimer(float x, float y, float& lon, float& lat);  // inverse
void mpfmwd(float lon, float lat, float& x, float& y);  // 12 Mollweide
void mpimwd(float x, float y, float& lon, float& lat);  // inverse
void mpfhmr(float lon, float lat, float& x, float& y);  // 13 Hammer
void mpihmr(float x, float y, float& lon, float& lat);  // inverse
void mpfek6(float lon, float lat, float& x, float& y);  // 14 Eckert VI
void mpiek6(float x, float y, float& lon, float& lat);  // inverse
void mpfktd(float lon, float lat, float& x, float& y);  // 15 elliptical equal-area with pole lines
void mpiktd(float x, float y, float& lon, float& lat);  // inverse
void mpfmil(float lon, float lat, float& x, float& y);  // 16 Miller cylindrical
void mpimil(float x, float y, float& lon, float& lat);  // inverse
void mpfrbs(float lon, float lat, float& x, float& y);  // 17 Robinson (polynomial form)
void mpirbs(float x, float y, float& lon, float& lat);  // inverse
void mpfsin(float lon, float lat, float& x, float& y);  // 18 sinusoidal
void mpisin(float x, float y, float& lon, float& lat);  // inverse
void mpfvdg(float lon, float lat, float& x, float& y);  // 19 van der Grinten
void mpivdg(float x, float y, float& lon, float& lat);  // inverse
void mpfcon(float lon, float lat, float& x, float& y);  // 20 equidistant conic
void mpicon(float x, float y, float& lon, float& lat);  // inverse
// Standard latitude (radians) of the equidistant conic.
void mpscon(float stlat1);
void mpfcoa(float lon, float lat, float& x, float& y);  // 21 equal-area conic
void mpicoa(float x, float y, float& lon, float& lat);  // inverse
// Standard latitude (radians) of the equal-area conic.
void mpscoa(float stlat1);
void mpfcoc(float lon, float lat, float& x, float& y);  // 22 conformal conic
void mpicoc(float x, float y, float& lon, float& lat);  // inverse
// Standard latitudes (radians) of the conformal conic.
void mpscoc(float stlat1, float stlat2);
void mpfbon(float lon, float lat, float& x, float& y);  // 23 Bonne
void mpibon(float x, float y, float& lon, float& lat);  // inverse
// Standard latitude (radians) of the Bonne projection.
void mpsbon(float stlat1);
void mpfplc(float lon, float lat, float& x, float& y);  // 24 polyconic
void mpiplc(float x, float y, float& lon, float& lat);  // inverse
void mpfotg(float lon, float lat, float& x, float& y);  // 30 orthographic / vertical perspective
void mpiotg(float x, float y, float& lon, float& lat);  // inverse
// Distance of the viewpoint (sphere radii) of the vertical perspective; <= 0 orthographic.
void mpsotg(float rsat);
void mpfpst(float lon, float lat, float& x, float& y);  // 31 polar stereographic
void mpipst(float x, float y, float& lon, float& lat);  // inverse
void mpfazm(float lon, float lat, float& x, float& y);  // 32 azimuthal equidistant
void mpiazm(float x, float y, float& lon, float& lat);  // inverse
void mpfaza(float lon, float lat, float& x, float& y);  // 33 azimuthal equal-area
void mpiaza(float x, float y, float& lon, float& lat);  // inverse
void mpfgno(float lon, float lat, float& x, float& y);  // 34 gnomonic
void mpigno(float x, float y, float& lon, float& lat);  // inverse
// User projections 100-104 (ITR 99).
void mpfcyc(float lon, float lat, float& x, float& y);  // 100 central cylindrical
void mpicyc(float x, float y, float& lon, float& lat);  // inverse
void mpfcya(float lon, float lat, float& x, float& y);  // 101 equal-area cylindrical
void mpicya(float x, float y, float& lon, float& lat);  // inverse
void mpfcyb(float lon, float lat, float& x, float& y);  // 102 Braun cylindrical
void mpicyb(float x, float y, float& lon, float& lat);  // inverse
// Standard latitude (radians) of the Braun cylindrical.
void mpscyb(float stlat1);
void mpfglb(float lon, float lat, float& x, float& y);  // 103 Bacon's globular
void mpiglb(float x, float y, float& lon, float& lat);  // inverse
void mpfcct(float lon, float lat, float& x, float& y);  // 104 central conical
void mpicct(float x, float y, float& lon, float& lat);  // inverse
// Standard latitude (radians) of the central conical.
void mpscct(float stlat1);

// Newton solvers. mpznwt solves f(lat, th) = 0 for th, starting at th;
// mpnwtn finds the (lon, lat), starting at (lon, lat), whose image under f is
// (x, y), RUNDEF in both when it does not settle. `cyclic` wraps the longitude
// instead of holding it inside [-pi, pi].
using MapNewtonFunction = void (*)(float lat, float th, float& value, float& derivative);
using MapForwardFunction = void (*)(float lon, float lat, float& x, float& y);
// Solve f(lat, th) = 0 for th by Newton's method, starting at th.
void mpznwt(MapNewtonFunction f, float lat, float& th);
// (lon, lat) whose image under f is (x, y), by Newton's method; RUNDEF when it does not settle.
void mpnwtn(float x, float y, float& lon, float& lat, MapForwardFunction f, bool cyclic);
// Newton function of the Mollweide projection.
void mpzmwd(float lat, float th, float& value, float& derivative);
// Newton function of the Eckert VI projection.
void mpzek6(float lat, float th, float& value, float& derivative);
// Newton function of the elliptical equal-area projection.
void mpzktd(float lat, float th, float& value, float& derivative);
// Raw forward functions of the projections inverted by mpnwtn.
void mpxvdg(float lon, float lat, float& x, float& y);
// Raw forward function of the polyconic projection.
void mpxplc(float lon, float lat, float& x, float& y);

// The user projection of ITR 99: stnusr selects 100-104, stsusr finalizes it
// like sgstrf finalizes a map, stfusr/stiusr are its forward and inverse,
// stcusr names projection n (blank for an unknown number).
void stnusr(int n);
// Finalize the user projection like sgstrf finalizes a map.
void stsusr();
// Forward of the user projection (T radians to the plane).
void stfusr(float lon, float lat, float& x, float& y);
// Inverse of the user projection.
void stiusr(float x, float y, float& lon, float& lat);
// Name of user projection n; blank for an unknown number.
void stcusr(int n, std::span<char> name);

// ---------------------------------------------------------------------------
// Curvilinear grid (ITR 51): grid coordinates along two monotonic axes to the
// physical plane, bilinear within each cell
// ---------------------------------------------------------------------------

// Defines the grid: axes ux(nx), uy(ny), each strictly increasing or strictly
// decreasing; node positions cx, cy of nx * ny values, first index along ux.
// cx[0] equal to RUNDEF (or cx a null pointer) makes the physical x of every
// node its ux value; likewise for cy and uy. 2 <= nx, ny <= 4000.
void g2sctr(int nx, int ny, const float* ux, const float* uy, const float* cx, const float* cy);
// Grid coordinates to the physical plane.
void g2fctr(float ux, float uy, float& cx, float& cy);
// Physical plane to grid coordinates; RUNDEF outside the grid.
void g2ictr(float cx, float cy, float& ux, float& uy);
// Whether a grid has been defined.
void g2qcti(bool& linit);
// Extent of the grid in the physical plane.
void g2qctm(float& cxmin, float& cxmax, float& cymin, float& cymax);
// Stores node arrays for the axes of the grid being defined (nx, ny must match
// them); g2sctr does this itself.
void g2sgrd(int nx, int ny, const float* cx, const float* cy);
// Corners of cell (i, j), 1 <= i < nx, 1 <= j < ny: 11 at (i, j), 21 at
// (i+1, j), 12 at (i, j+1), 22 at (i+1, j+1).
void g2qgrd(int i, int j, float& x11, float& x21, float& x12, float& x22, float& y11, float& y21, float& y12,
            float& y22);
// Bilinear interpolation at (p, q) of the unit cell.
void g2fbli(float p, float q, float w11, float w21, float w12, float w22, float& w);
// Bilinear interpolation of a point at (p, q) of the cell with the given corners.
void g2fbl2(float p, float q, float x11, float x21, float x12, float x22, float y11, float y21, float y12, float y22,
            float& x, float& y);
// Whether (x, y) lies in the cell with the given corners.
bool lg2inq(float x, float y, float x11, float x21, float x12, float x22, float y11, float y21, float y12, float y22);
// (p, q) of the cell whose bilinear image is (x, y).
void g2ibl2(float x, float y, float x11, float x21, float x12, float x22, float y11, float y21, float y12, float y22,
            float& p, float& q);

// ---------------------------------------------------------------------------
// 3-D perspective transformation and the 2-D view between V and R
// ---------------------------------------------------------------------------

// Object point, Euler angles (radians), scale, eye distance (parallel
// projection when rz0 <= 0) and the position of the object point in R.
void stspr3(float xobj, float yobj, float zobj, float theta, float phi, float psi, float fac, float rz0, float rx0,
            float ry0);
// 3-D point to R through the perspective.
void stfpr3(float x, float y, float z, float& rx, float& ry);
// V x on axis |ix|, V y on axis |iy| (signs mirror), the section plane at sec
// on the third axis; ix or iy 0 switches the view off.
void stspr2(int ix, int iy, float sec);
// V to R through the 2-D view (identity when it is off).
void stfpr2(float vx, float vy, float& rx, float& ry);
// R to V through the 2-D view.
void stipr2(float rx, float ry, float& vx, float& vy);
// Suspend the 2-D view and restore it (one level deep).
void stepr2();
// Restore the 2-D view suspended by stepr2.
void strpr2();

}  // namespace zep
