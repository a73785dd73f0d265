// Vector pages: dash patterns stroked by cairo (one pattern and offset per
// stroke), and the turn of the PDF page applied to the coordinates, so that the
// page content is plain coordinates without a transformation around each
// stroke.
#include <zlib.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "zgpack_test_util.hpp"
#include "support/pdf_streams.hpp"

namespace {

using namespace zgtest;
using zeptest::TempWorkDir;

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

using zeptest::pdfContent;

void line(double x0, double y0, double x1, double y1) {
  zep::zggopn();
  zep::zggmov(x0, y0);
  zep::zggplt(x1, y1);
  zep::zggcls();
}

// Polylines that ask for one pattern at one offset share a stroke; another
// offset, another pattern or none start a stroke of their own, and a pattern
// cairo cannot take is drawn solid.
TEST(ZgpackVector, OneDashPatternPerStroke) {
  TempWorkDir dir;
  Opts o;
  o.ifl = 3;  // SVG: one path element per stroke, with its dashes
  open(o);
  zep::zgpopn();
  bool capable = false;
  zep::zgqdsc(capable);
  EXPECT_TRUE(capable);
  zep::zgswdi(1);
  zep::zgscli(1);
  const float dashes[2] = {6.0F, 3.0F};
  for (int i = 0; i < 2; ++i) {
    zep::zggopn();
    zep::zgsdsh(dashes, 2, 0.0F);
    zep::zggmov(100, 100 + 10 * i);
    zep::zggplt(500, 100 + 10 * i);
    zep::zggcls();
  }
  zep::zggopn();
  zep::zgsdsh(dashes, 2, 1.5F);
  zep::zggmov(100, 200);
  zep::zggplt(500, 200);
  zep::zggcls();
  // The next line open is solid again, whatever came before.
  line(100, 300, 500, 300);
  const float negative[2] = {6.0F, -3.0F};
  zep::zggopn();
  zep::zgsdsh(negative, 2, 0.0F);
  zep::zggmov(100, 310);
  zep::zggplt(500, 310);
  zep::zggcls();
  zep::zgpcls();
  zep::zgdcls();

  const std::string svg = zeptest::readFile("zep_0001.svg");
  EXPECT_EQ(count(svg, "<path"), 3);
  EXPECT_EQ(count(svg, "stroke-dasharray:6,3;stroke-miterlimit"), 1);
  EXPECT_EQ(count(svg, "stroke-dasharray:6,3;stroke-dashoffset:1.5;"), 1);
  EXPECT_EQ(count(svg, "stroke-dasharray"), 2);
  // Both lines of the first pattern are in its one path.
  const auto first = svg.find("stroke-dasharray:6,3;stroke-miterlimit");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(count(svg.substr(first, svg.find("/>", first) - first), "M "), 2);
}

// Raster pages cut their dashes in the stage: the driver strokes none itself.
TEST(ZgpackVector, RasterPagesStrokeNoDashes) {
  TempWorkDir dir;
  Opts o;
  o.ifl = 1;
  open(o);
  zep::zgpopn();
  bool capable = true;
  zep::zgqdsc(capable);
  EXPECT_FALSE(capable);
  zep::zgpcls();
  zep::zgdcls();
}

// After a dashed stroke the tones' outlines and later lines are solid.
TEST(ZgpackVector, DashesEndWithTheirStroke) {
  TempWorkDir dir;
  open(Opts{});
  zep::zgpopn();
  zep::zgscli(2);
  const float dashes[2] = {20.0F, 20.0F};
  zep::zggopn();
  zep::zgsdsh(dashes, 2, 0.0F);
  zep::zggmov(100, 100);
  zep::zggplt(700, 100);
  zep::zggcls();
  box(100, 200, 700, 300, 3999);
  zep::zgpcls();
  zep::zgdcls();
  const std::string content = pdfContent("zep.pdf");
  EXPECT_EQ(count(content, "[ 20 20] 0 d"), 1);
  EXPECT_EQ(count(content, "[] 0.0 d"), 1);
  // The dash reset comes before the tone.
  EXPECT_LT(content.find("[ 20 20] 0 d"), content.find("[] 0.0 d"));
}

// The plot is turned exactly onto the portrait sheet: the page content holds
// the turned coordinates themselves, and lines, tones, clipping and images land
// where the turn puts them. Workstation (x, y) is page (562.5 - y, 786.5 - x)
// for the default 732 x 529 plot at offsets 33 and 55.
TEST(ZgpackVector, PdfTurnOnTheCoordinates) {
  TempWorkDir dir;
  open(Opts{});
  zep::zgpopn();
  zep::zgswdi(1);
  zep::zgscli(2);
  line(100, 100, 600, 100);
  box(200, 300, 300, 400, 3999);
  zep::zgclip(0, 400, 0, 529);
  zep::zgscli(2);
  line(100, 450, 600, 450);
  zep::zgrclp();
  // 40 x 20 red pixels at surface (600, 50), top left origin.
  zep::zgiopn(600, 50, 40, 20);
  const std::vector<int> red(800, 0xff0000);
  zep::zgiclr(red.data(), static_cast<int>(red.size()));
  zep::zgicls();
  zep::zgpcls();
  zep::zgdcls();

  const std::string content = pdfContent("zep.pdf");
  EXPECT_NE(content.find("462.5 686.5 m 462.5 186.5 l"), std::string::npos);
  // One transformation for the whole page (cairo's own flip), one for the
  // image; none around the strokes.
  EXPECT_EQ(count(content, " cm\n"), 2) << content.substr(0, 2000);

  ASSERT_EQ(zeptest::runCommand("pdftoppm -r 72 -singlefile -png zep.pdf page; echo $?"), "0\n");
  Png page("page.png");
  ASSERT_TRUE(page.ok());
  EXPECT_EQ(page.pixel(462, 400), 0xff0000u);  // the line
  EXPECT_EQ(page.pixel(212, 536), 0x0000ffu);  // the tone: x 162.5..262.5, y 486.5..586.5
  EXPECT_EQ(page.pixel(270, 536), 0xffffffu);
  EXPECT_EQ(page.pixel(112, 500), 0xff0000u);  // the clipped line up to x = 400 (page y 386.5)
  EXPECT_EQ(page.pixel(112, 300), 0xffffffu);
  EXPECT_EQ(page.pixel(93, 167), 0xff0000u);  // the image: x 83..103, y 147..187
  EXPECT_EQ(page.pixel(110, 167), 0xffffffu);
}

// The raw (compressed) bytes of the longest stream of a PDF file.
std::string longestStream(const std::string& pdf) {
  std::string longest;
  for (auto at = pdf.find("stream\n"); at != std::string::npos; at = pdf.find("stream\n", at + 1)) {
    const auto end = pdf.find("endstream", at + 7);
    if (end == std::string::npos) break;
    if (end - at - 7 > longest.size()) longest = pdf.substr(at + 7, end - at - 7);
    at = end + 9;
  }
  return longest;
}

// The size zlib itself makes of `data` at `level`.
std::size_t zlibSize(const std::string& data, int level) {
  std::vector<unsigned char> out(compressBound(data.size()));
  uLongf size = out.size();
  EXPECT_EQ(compress2(out.data(), &size, reinterpret_cast<const Bytef*>(data.data()), data.size(), level), Z_OK);
  return size;
}

// The page description of a PDF is compressed at the level RIMGCMP chooses
// (fast by default, 9 at 1.0), as zlib makes it at that level, and holds the
// same drawing at every level; anyone else asking zlib for its default level
// still gets zlib's default (6), byte for byte.
TEST(ZgpackVector, PdfStreamsAtTheChosenLevel) {
  TempWorkDir dir;
  std::string drawn[2], raw[2];
  const float values[2] = {-1.0F, 1.0F};
  for (int k = 0; k < 2; ++k) {
    Opts o;
    o.rimgcmp = values[k];
    open(o);
    zep::zgpopn();
    zep::zgswdi(1);
    zep::zgscli(1);
    zep::zggopn();
    zep::zggmov(20, 20);
    for (int i = 0; i < 20000; ++i) zep::zggplt(20 + 0.035 * i, 250 + 200 * std::sin(0.013 * i) * std::cos(0.0021 * i));
    zep::zggcls();
    zep::zgpcls();
    zep::zgdcls();
    raw[k] = longestStream(zeptest::readFile("zep.pdf"));
    drawn[k] = pdfContent("zep.pdf");
  }
  EXPECT_EQ(drawn[0], drawn[1]);
  std::vector<unsigned char> plain(1 << 22);
  uLongf size = plain.size();
  ASSERT_EQ(uncompress(plain.data(), &size, reinterpret_cast<const Bytef*>(raw[0].data()), raw[0].size()), Z_OK);
  const std::string content(reinterpret_cast<const char*>(plain.data()), size);
  ASSERT_GT(content.size(), 200000U);
  const std::size_t fast = zlibSize(content, 1), usual = zlibSize(content, 6), best = zlibSize(content, 9);
  ASSERT_GT(fast, usual + usual / 20);  // the levels are told apart by size
  EXPECT_NEAR(static_cast<double>(raw[0].size()), static_cast<double>(fast), 0.01 * static_cast<double>(fast));
  EXPECT_NEAR(static_cast<double>(raw[1].size()), static_cast<double>(best), 0.01 * static_cast<double>(best));

  // Outside the driver, the default level is zlib's own.
  const auto deflated = [&](bool byDefault) {
    z_stream z{};
    EXPECT_EQ(byDefault ? deflateInit(&z, Z_DEFAULT_COMPRESSION)
                        : deflateInit2(&z, 6, Z_DEFLATED, MAX_WBITS, 8, Z_DEFAULT_STRATEGY),
              Z_OK);
    std::vector<unsigned char> out(compressBound(content.size()));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
    z.avail_in = static_cast<uInt>(content.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
  };
  EXPECT_EQ(deflated(true), deflated(false));
  EXPECT_EQ(deflated(true).size(), usual);
}

}  // namespace
