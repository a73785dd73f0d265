// User-level line segments, the line-primitive bracket and line attributes.
#include <array>
#include <charconv>
#include <string_view>

#include <zep/zep.hpp>

#include "foundation/parameter_handle.hpp"
#include "primitives/line_pipeline.hpp"

namespace zep {
namespace {

int currentLineIndex = 1;

// Read at every line primitive.
using SgLogical = ParameterHandle<bool, sglqid, sglqvl>;
using SgReal = ParameterHandle<float, sgrqid, sgrqvl>;
using SgInteger = ParameterHandle<int, sgiqid, sgiqvl>;
SgLogical linearInterpolation("LLNINT"), greatCircleInterpolation("LGCINT"), clipping("LCLIP"),
    labelling("LCHAR");
SgReal stepX("RDX"), stepY("RDY");
SgInteger backgroundIndex("IBGCLI");

struct IndexState {
  int index = 0;
  bool capabilitiesKnown = false;
  bool hasWidths = false;
  bool hasColours = false;
} lineIndex;

// Index 0 draws nothing and says so; a negative index is an error.
bool drawableIndex(std::string_view routine) {
  if (currentLineIndex == 0) {
    msgdmp("M", routine, "LINE INDEX IS 0 / DO NOTHING.");
    return false;
  }
  if (currentLineIndex < 0) {
    msgdmp("E", routine, "LINE INDEX IS LESS THAN 0.");
    return false;
  }
  return true;
}

template <void (*Segment)(float, float, float, float)>
void userSegment(std::string_view routine, float x1, float y1, float x2, float y2) {
  if (!drawableIndex(routine)) return;
  szlnop(currentLineIndex);
  Segment(x1, y1, x2, y2);
  szlncl();
}

void segmentThrough(pipeline::LineStage& stage, float x1, float y1, float x2, float y2) {
  stage.open();
  stage.moveTo(x1, y1);
  stage.drawTo(x2, y2);
  stage.close();
}

}  // namespace

void sgslni(int index) { currentLineIndex = index; }
void sgqlni(int& index) { index = currentLineIndex; }

void sglnu(float ux1, float uy1, float ux2, float uy2) { userSegment<szlnzu>("SGLNU", ux1, uy1, ux2, uy2); }
void sglnv(float vx1, float vy1, float vx2, float vy2) { userSegment<szlnzv>("SGLNV", vx1, vy1, vx2, vy2); }
void sglnr(float rx1, float ry1, float rx2, float ry2) { userSegment<szlnzr>("SGLNR", rx1, ry1, rx2, ry2); }

void szlnop(int index) {
  // The object's description is its index, left-aligned in 80 blanks ("********"
  // when it needs more than eight characters); built on the stack, as this
  // runs for every segment.
  std::array<char, 80> description;
  description.fill(' ');
  std::array<char, 16> digits;
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), index).ptr;
  const auto length = static_cast<std::size_t>(end - digits.data());
  if (length > 8) std::fill_n(description.begin(), 8, '*');
  else std::copy(digits.data(), end, description.begin());
  swoopn("SZLN", std::string_view(description.data(), description.size()));
  szslti(1, index);
}

void szlncl() { swocls("SZLN"); }

void szlnzu(float x1, float y1, float x2, float y2) { segmentThrough(pipeline::userStage(), x1, y1, x2, y2); }
void szlnzv(float x1, float y1, float x2, float y2) { segmentThrough(pipeline::viewportStage(), x1, y1, x2, y2); }
void szlnzr(float x1, float y1, float x2, float y2) { segmentThrough(pipeline::deviceStage(), x1, y1, x2, y2); }

void szslti(int itype, int index) {
  pipeline::LineState& s = pipeline::lineState();
  s.interpolateLinear = linearInterpolation.get();
  s.interpolateGreatCircle = greatCircleInterpolation.get();
  const float rdx = stepX.get(), rdy = stepY.get();
  s.clipToViewport = clipping.get();
  s.labelLines = labelling.get();
  stfrad(rdx, rdy, s.stepX, s.stepY);
  szsidx(index);
  szstyp(itype);
}

void szsidx(int index) {
  lineIndex.index = index;
  if (!lineIndex.capabilitiesKnown) {
    swqwdc(lineIndex.hasWidths);
    swqclc(lineIndex.hasColours);
    lineIndex.capabilitiesKnown = true;
  }
  const int background = backgroundIndex.get();
  int width = index % 10;
  const int q = index / 10;
  int colour = 0;
  if (q != background) {
    colour = q % 100;
    if (colour == 0) colour = 1;
  }
  if (!lineIndex.hasColours && width == 0) width = colour;
  else if (!lineIndex.hasWidths && colour == 0) colour = width;
  swswdi(width);
  swscli(colour);
}

void szqidx(int& index) { index = lineIndex.index; }

}  // namespace zep
