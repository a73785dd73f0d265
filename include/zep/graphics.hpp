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
void sgpqid(std::string_view name, int& id);
void sgpqcp(int id, std::span<char> name);
void sgpqcl(int id, std::span<char> name);
void sgpqit(int id, int& type);
void sgpqvl(int id, int& value);
void sgpqvl(int id, bool& value);
void sgpqvl(int id, float& value);
void sgpsvl(int id, int value);
void sgpsvl(int id, bool value);
void sgpsvl(int id, float value);
void sgpqin(std::string_view name, int& id);
void sgpget(std::string_view name, int& value);
void sgpget(std::string_view name, bool& value);
void sgpget(std::string_view name, float& value);
void sgpset(std::string_view name, int value);
void sgpset(std::string_view name, bool value);
void sgpset(std::string_view name, float value);
void sgpstx(std::string_view name, int value);
void sgpstx(std::string_view name, bool value);
void sgpstx(std::string_view name, float value);

// ---------------------------------------------------------------------------
// Sessions: open a workstation (a negative number turns the page), start each
// frame (and page), close.
// ---------------------------------------------------------------------------

void sgopn(int iws);
void sginit();
void sgfrm();
void sgcls();

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
void sgqvpt(float& vxmin, float& vxmax, float& vymin, float& vymax);
void sgswnd(float uxmin, float uxmax, float uymin, float uymax);
void sgqwnd(float& uxmin, float& uxmax, float& uymin, float& uymax);
void sgstrn(int itr);
void sgqtrn(int& itr);
// Similarity (scale and offset of the projection origin); also derives the
// projection-plane window from the current viewport.
void sgssim(float simfac, float vxoff, float vyoff);
void sgqsim(float& simfac, float& vxoff, float& vyoff);
void sgsmpl(float plx, float ply, float plrot);
void sgqmpl(float& plx, float& ply, float& plrot);
void sgstxy(float txmin, float txmax, float tymin, float tymax);
void sgqtxy(float& txmin, float& txmax, float& tymin, float& tymax);
// Projection-plane window; also derives the similarity from the current viewport.
void sgscwd(float cxmin, float cxmax, float cymin, float cymax);
void sgqcwd(float& cxmin, float& cxmax, float& cymin, float& cymax);
void sgstrf();

// Point transformations as finalized by sgstrf: complete (U to V), degrees to
// radians, rotation to the map pole (U to T), projection and scaling to V.
void stftrf(float ux, float uy, float& vx, float& vy);
void stitrf(float vx, float vy, float& ux, float& uy);
void ststrf(bool lmap);
void stqtrf(bool& lmap);
void stfrad(float x, float y, float& xr, float& yr);
void stirad(float xr, float yr, float& x, float& y);
void stsrad(bool lxd, bool lyd);
void stfrot(float ux, float uy, float& tx, float& ty);
void stirot(float tx, float ty, float& ux, float& uy);
void stsrot(float theta, float phi, float psi);
void stftrn(float x, float y, float& vx, float& vy);
void stitrn(float vx, float vy, float& x, float& y);
void ststri(int itr);
void ststrp(float cx, float cy, float vx0, float vy0);

// ---------------------------------------------------------------------------
// Workstation transformation: R (normalized device) to W (workstation)
// ---------------------------------------------------------------------------

// Window in R, requested viewport in W, function number (1 upright, 2 turned by
// 90 degrees). The viewport is shrunk to the window's aspect ratio and centred.
void stswtr(float rxmin, float rxmax, float rymin, float rymax, float wxmin, float wxmax, float wymin,
            float wymax, int iwtrf);
void stqwtr(float& rxmin, float& rxmax, float& rymin, float& rymax, float& wxmin, float& wxmax, float& wymin,
            float& wymax, int& iwtrf);
// The workstation's drawable rectangle in W.
void stswrc(float wsxmn, float wsxmx, float wsymn, float wsymx);
void stqwrc(float& wsxmn, float& wsxmx, float& wsymn, float& wsymx);
void stfwtr(float rx, float ry, float& wx, float& wy);
void stiwtr(float wx, float wy, float& rx, float& ry);

// ---------------------------------------------------------------------------
// Map projections
// ---------------------------------------------------------------------------

// Longitude folded into [-pi, pi]; within 1e-5 pi of an odd multiple of pi the
// value keeps its own sign's end of the range.
float xmplon(float x);

// ---------------------------------------------------------------------------
// Curvilinear grid (ITR 51): grid coordinates along two monotonic axes to the
// physical plane, bilinear within each cell
// ---------------------------------------------------------------------------

// Defines the grid: axes ux(nx), uy(ny), each strictly increasing or strictly
// decreasing; node positions cx, cy of nx * ny values, first index along ux.
// cx[0] equal to RUNDEF (or cx a null pointer) makes the physical x of every
// node its ux value; likewise for cy and uy. 2 <= nx, ny <= 4000.
void g2sctr(int nx, int ny, const float* ux, const float* uy, const float* cx, const float* cy);
void g2fctr(float ux, float uy, float& cx, float& cy);
void g2ictr(float cx, float cy, float& ux, float& uy);
void g2qcti(bool& linit);
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
void stfpr3(float x, float y, float z, float& rx, float& ry);
// V x on axis |ix|, V y on axis |iy| (signs mirror), the section plane at sec
// on the third axis; ix or iy 0 switches the view off.
void stspr2(int ix, int iy, float sec);
void stfpr2(float vx, float vy, float& rx, float& ry);
void stipr2(float rx, float ry, float& vx, float& vy);
// Suspend the 2-D view and restore it (one level deep).
void stepr2();
void strpr2();

}  // namespace zep
