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

}  // namespace zep
