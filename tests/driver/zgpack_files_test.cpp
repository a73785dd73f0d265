// File output of the driver (device 2): PDF, EPS, SVG and PNG pages, their
// names and layout, and the PNG stream on standard output. None of these
// start the window toolkit.
#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "zgpack_test_util.hpp"

namespace {

using namespace zgtest;
using zeptest::readFile;
using zeptest::runCommand;
using zeptest::TempWorkDir;

// The text after "label" on its line of pdfinfo's report, blanks trimmed.
std::string pdfInfoField(const fs::path& p, const std::string& label) {
  const std::string info = runCommand("pdfinfo '" + p.string() + "' 2>&1");
  const std::size_t at = info.find("\n" + label);
  if (at == std::string::npos && info.rfind(label, 0) != 0) return "";
  const std::size_t from = (at == std::string::npos ? 0 : at + 1) + label.size();
  std::string value = info.substr(from, info.find('\n', from) - from);
  value.erase(0, value.find_first_not_of(' '));
  return value;
}

int pdfPages(const fs::path& p) {
  const std::string value = pdfInfoField(p, "Pages:");
  if (value.empty() || !std::isdigit(static_cast<unsigned char>(value[0]))) return -1;
  return std::stoi(value);
}

// "W x H" of "Page size: W x H pts ...", or "?".
std::string pdfPageSize(const fs::path& p) {
  const std::string value = pdfInfoField(p, "Page size:");
  const std::size_t pts = value.find(" pts");
  if (pts == std::string::npos) return "?";
  const std::string size = value.substr(0, pts);
  const std::size_t x = size.find(" x ");
  auto number = [](const std::string& s) {
    return !s.empty() && s.find_first_not_of("0123456789.") == std::string::npos;
  };
  if (x == std::string::npos || !number(size.substr(0, x)) || !number(size.substr(x + 3))) return "?";
  return size;
}

std::vector<std::string> filesIn(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

double lineWidthNow() { return cairo_get_line_width(zep::zgstate().cr.get()); }

TEST(ZgpackFiles, SinglePdfLayoutRotationAndPages) {
  TempWorkDir dir;
  Opts o;  // device 2, PDF, 900 x 650, RLWFACT 0.2
  open(o);
  const zep::ZgState& s = zep::zgstate();
  EXPECT_EQ(s.iPS_PAGE_WIDTH, 529);
  EXPECT_EQ(s.iPS_PAGE_HEIGHT, 732);
  EXPECT_DOUBLE_EQ(s.offx, 33.0);
  EXPECT_DOUBLE_EQ(s.offy, 55.0);
  EXPECT_EQ(s.wsxwd, 732);
  EXPECT_EQ(s.wsywd, 529);
  float x0, x1, y0, y1, f;
  zep::zgqrct(x0, x1, y0, y1, f);
  EXPECT_EQ(x0, 0.0f);
  EXPECT_EQ(x1, 732.0f);
  EXPECT_EQ(y0, 0.0f);
  EXPECT_EQ(y1, 529.0f);
  EXPECT_FLOAT_EQ(f, 0.03f);
  // The single file exists from the open on.
  EXPECT_TRUE(fs::exists("zep.pdf"));

  for (int page = 0; page < 2; ++page) {
    zep::zgpopn();
    box(0, 0, 732, 529, 3000);  // the whole plot in blue
    hline(100, 600, 100, 2, 9);
    EXPECT_NEAR(lineWidthNow(), 5.0 * 0.2, 1e-6);
    zep::zgswdi(1);
    zep::zggopn();
    EXPECT_NEAR(lineWidthNow(), 1.0 * 0.2, 1e-6);
    zep::zggcls();
    zep::zgpcls();
  }
  zep::zgdcls();

  EXPECT_EQ(pdfPages("zep.pdf"), 2);
  EXPECT_EQ(pdfPageSize("zep.pdf"), "595 x 842");
  EXPECT_EQ(filesIn("."), (std::vector<std::string>{"bitmap.x11", "cmap.x11", "zep.pdf"}));

  // The 732 x 529 plot is turned and centred on the portrait page: workstation
  // x runs up the page, and the line at y = 100 becomes a vertical line at
  // page x = 529 - 100 + 0.5 + 33.
  ASSERT_EQ(runCommand("pdftoppm -r 72 -f 1 -l 1 -singlefile -png zep.pdf page; echo $?"), "0\n");
  Png page("page.png");
  ASSERT_TRUE(page.ok());
  EXPECT_EQ(page.width(), 595);
  EXPECT_EQ(page.height(), 842);
  EXPECT_EQ(page.pixel(40, 60), 0x0000ffu);    // plot corner: x 33.., y 55..
  EXPECT_EQ(page.pixel(555, 780), 0x0000ffu);  // opposite corner: ..562, ..787
  EXPECT_EQ(page.pixel(25, 60), 0xffffffu);    // left margin
  EXPECT_EQ(page.pixel(40, 48), 0xffffffu);    // top margin
  EXPECT_EQ(page.pixel(570, 780), 0xffffffu);  // right margin
  EXPECT_EQ(page.pixel(555, 795), 0xffffffu);  // bottom margin
  EXPECT_EQ(page.pixel(462, 400), 0xff0000u);  // the line
  EXPECT_EQ(page.pixel(462, 650), 0xff0000u);
  EXPECT_EQ(page.pixel(462, 170), 0x0000ffu);  // beyond its end (x = 600 at page y 186.5)
  EXPECT_EQ(page.pixel(466, 400), 0x0000ffu);
}

TEST(ZgpackFiles, WidePlotLayoutAndLineWidthFactor) {
  TempWorkDir dir;
  Opts o;
  o.iwidth = 1000;
  o.iheight = 500;
  o.rlwfact = 999.0f;  // widths scaled to the page
  open(o);
  const zep::ZgState& s = zep::zgstate();
  EXPECT_EQ(s.iPS_PAGE_WIDTH, 375);
  EXPECT_EQ(s.iPS_PAGE_HEIGHT, 750);
  EXPECT_DOUBLE_EQ(s.offx, 110.0);
  EXPECT_DOUBLE_EQ(s.offy, 46.0);
  EXPECT_DOUBLE_EQ(s.dlnscale, 1.5);
  zep::zgdcls();
  // Completed without pages: a valid file (cairo gives it one blank page).
  EXPECT_EQ(pdfPages("zep.pdf"), 1);
}

TEST(ZgpackFiles, PageAfterTheSinglePdfIsClosedIsDropped) {
  TempWorkDir dir;
  open(Opts{});
  zep::zgpopn();
  hline(100, 600, 100, 2, 3);
  zep::zgpcls();
  zep::zgdcls();
  const std::string before = readFile("zep.pdf");
  // A stray page has no file to go to: it neither crashes nor rewrites the file.
  zep::zgpopn();
  hline(100, 600, 200, 2, 3);
  zep::zgpcls();
  EXPECT_EQ(readFile("zep.pdf"), before);
  EXPECT_EQ(pdfPages("zep.pdf"), 1);
}

TEST(ZgpackFiles, SeparatePdfNamesDigitsAndFirstPage) {
  TempWorkDir dir;
  Opts o;
  o.lsep = true;
  o.idmpdgt = 2;
  o.ibgpage = 5;
  open(o);
  // Nothing is written until a page is opened.
  EXPECT_EQ(filesIn("."), (std::vector<std::string>{"bitmap.x11", "cmap.x11"}));
  for (int page = 0; page < 2; ++page) {
    zep::zgpopn();
    hline(10, 500, 300, 1);
    zep::zgpcls();
  }
  zep::zgdcls();
  EXPECT_EQ(filesIn("."), (std::vector<std::string>{"bitmap.x11", "cmap.x11", "zep_05.pdf", "zep_06.pdf"}));
  EXPECT_EQ(pdfPages("zep_05.pdf"), 1);
  EXPECT_EQ(pdfPages("zep_06.pdf"), 1);
  EXPECT_EQ(pdfPageSize("zep_06.pdf"), "595 x 842");
}

TEST(ZgpackFiles, EpsPerPageWithFixedLineWidths) {
  TempWorkDir dir;
  Opts o;
  o.ifl = 2;
  o.rlwfact = 999.0f;  // ignored for EPS
  open(o);
  EXPECT_DOUBLE_EQ(zep::zgstate().dlnscale, 0.1);
  EXPECT_EQ(filesIn("."), (std::vector<std::string>{"bitmap.x11", "cmap.x11"}));
  for (int page = 0; page < 2; ++page) {
    zep::zgpopn();
    hline(10, 500, 300, 2, 1);
    EXPECT_NEAR(lineWidthNow(), 0.2, 1e-6);
    hline(10, 500, 200, 2, 9);
    EXPECT_NEAR(lineWidthNow(), 1.4, 1e-6);
    zep::zgpcls();
  }
  zep::zgdcls();
  EXPECT_EQ(filesIn("."), (std::vector<std::string>{"bitmap.x11", "cmap.x11", "zep_0001.eps", "zep_0002.eps"}));
  std::string eps = readFile("zep_0002.eps");
  EXPECT_EQ(eps.rfind("%!PS-Adobe-3.0 EPSF-3.0", 0), 0u) << eps.substr(0, 40);
  EXPECT_NE(eps.find("%%BoundingBox:"), std::string::npos);
  // The EPS widths end with the EPS output: SVG pages opened next draw 1.0 to 5.0.
  o.ifl = 3;
  open(o);
  zep::zgpopn();
  hline(10, 500, 200, 2, 9);
  EXPECT_NEAR(lineWidthNow(), 5.0, 1e-6) << "an SVG page after EPS pages";
  zep::zgpcls();
  zep::zgdcls();
}

TEST(ZgpackFiles, SvgPerPage) {
  TempWorkDir dir;
  Opts o;
  o.ifl = 3;
  open(o);
  float x0, x1, y0, y1, f;
  zep::zgqrct(x0, x1, y0, y1, f);
  EXPECT_EQ(x0, 2.0f);
  EXPECT_EQ(x1, 902.0f);
  EXPECT_EQ(y0, 2.0f);
  EXPECT_EQ(y1, 652.0f);
  EXPECT_EQ(filesIn("."), (std::vector<std::string>{"bitmap.x11", "cmap.x11"}));
  zep::zgpopn();
  hline(10, 500, 300, 2);
  zep::zgpcls();
  zep::zgpopn();
  zep::zgpcls();
  zep::zgdcls();
  EXPECT_EQ(filesIn("."), (std::vector<std::string>{"bitmap.x11", "cmap.x11", "zep_0001.svg", "zep_0002.svg"}));
  std::string svg = readFile("zep_0001.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  bool sized = false;
  for (const char* w : {"", "pt"})
    for (const char* h : {"", "pt"})
      sized = sized || svg.find(std::string("width=\"904") + w + "\" height=\"654" + h + "\"") != std::string::npos;
  EXPECT_TRUE(sized) << svg.substr(0, 300);
}

TEST(ZgpackFiles, PngPagesBackgroundLineAndNames) {
  TempWorkDir dir;
  Opts o;
  o.ifl = 1;
  o.cimgfmt = "jpeg";
  o.ibgpage = 3;
  open(o);
  float x0, x1, y0, y1, f;
  zep::zgqrct(x0, x1, y0, y1, f);
  EXPECT_EQ(x1, 902.0f);
  EXPECT_EQ(y1, 652.0f);
  zep::zgpopn();
  hline(100, 300, 100, 2);  // surface row 654 - 100 = 554
  zep::zgpcls();
  zep::zgdcls();

  // Named with the image suffix, but PNG inside.
  ASSERT_TRUE(fs::exists("zep_0003.jpeg"));
  EXPECT_TRUE(isPng("zep_0003.jpeg"));
  Png png("zep_0003.jpeg");
  ASSERT_TRUE(png.ok());
  EXPECT_EQ(png.width(), 904);
  EXPECT_EQ(png.height(), 654);
  EXPECT_EQ(png.pixel(0, 0), 0xffffffu);
  EXPECT_EQ(png.pixel(903, 653), 0xffffffu);
  EXPECT_EQ(png.pixel(200, 554), 0xff0000u);
  EXPECT_EQ(png.pixel(101, 554), 0xff0000u);
  EXPECT_EQ(png.pixel(299, 554), 0xff0000u);
  EXPECT_EQ(png.pixel(200, 552), 0xffffffu);
  EXPECT_EQ(png.pixel(200, 556), 0xffffffu);
  EXPECT_EQ(png.pixel(305, 554), 0xffffffu);
}

TEST(ZgpackFiles, PngForegroundBackgroundExchangeAndCompressionWarning) {
  TempWorkDir dir;
  Opts o;
  o.ifl = 1;
  o.lfgbg = true;
  o.rimgcmp = 2.0f;
  open(o);
  zep::zgpopn();
  hline(100, 300, 100, 1);  // colour 1 is now white
  testing::internal::CaptureStderr();
  zep::zgpcls();
  const std::string err = testing::internal::GetCapturedStderr();
  zep::zgdcls();
  EXPECT_EQ(err, " *** Error in zgdopn : Image compression must be 0-1.\n");
  Png png("zep_0001.png");  // written all the same
  ASSERT_TRUE(png.ok());
  EXPECT_EQ(png.pixel(0, 0), 0x000000u);
  EXPECT_EQ(png.pixel(200, 554), 0xffffffu);
}

TEST(ZgpackFiles, LongStemComposesFullNames) {
  TempWorkDir dir;
  Opts o;
  o.ifl = 1;
  o.fname = std::string(79, 'a');
  o.idmpdgt = 6;
  open(o);
  zep::zgpopn();
  zep::zgpcls();
  o.ifl = 3;
  open(o);
  zep::zgpopn();
  zep::zgpcls();
  zep::zgdcls();
  EXPECT_TRUE(fs::exists(std::string(79, 'a') + "_000001.png"));
  EXPECT_TRUE(fs::exists(std::string(79, 'a') + "_000001.svg"));
  // Characters beyond the 79th are not part of the stem.
  o.ifl = 1;
  o.fname = std::string(79, 'b') + "c";
  open(o);
  zep::zgpopn();
  zep::zgpcls();
  zep::zgdcls();
  EXPECT_TRUE(fs::exists(std::string(79, 'b') + "_000001.png"));
}

// Reads consecutive PNG images from one buffer.
struct StreamReader {
  const std::string* data;
  std::size_t pos = 0;
  static cairo_status_t read(void* closure, unsigned char* out, unsigned int length) {
    auto* r = static_cast<StreamReader*>(closure);
    if (r->pos + length > r->data->size()) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, r->data->data() + r->pos, length);
    r->pos += length;
    return CAIRO_STATUS_SUCCESS;
  }
};

TEST(ZgpackFiles, PngStreamOnStandardOutput) {
  TempWorkDir dir;
  Opts o;
  o.ifl = 1;
  o.lstdot = true;
  open(o);

  // Standard output goes to a file while the pages are written.
  std::fflush(stdout);
  const int saved = ::dup(1);
  const int fd = ::open("stream.bin", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ::dup2(fd, 1);
  ::close(fd);
  zep::zgpopn();
  hline(100, 300, 100, 2);
  zep::zgpcls();
  zep::zgpopn();
  hline(100, 300, 100, 3);
  zep::zgpcls();
  zep::zgdcls();
  std::fflush(stdout);
  ::dup2(saved, 1);
  ::close(saved);

  EXPECT_EQ(filesIn("."), (std::vector<std::string>{"bitmap.x11", "cmap.x11", "stream.bin"}));
  const std::string stream = readFile("stream.bin");
  StreamReader reader{&stream};
  Png first(cairo_image_surface_create_from_png_stream(StreamReader::read, &reader));
  ASSERT_TRUE(first.ok());
  Png second(cairo_image_surface_create_from_png_stream(StreamReader::read, &reader));
  ASSERT_TRUE(second.ok());
  EXPECT_EQ(reader.pos, stream.size());
  EXPECT_EQ(first.width(), 904);
  EXPECT_EQ(second.height(), 654);
  EXPECT_EQ(first.pixel(200, 554), 0xff0000u);
  EXPECT_EQ(second.pixel(200, 554), 0x0000ffu);
}

TEST(ZgpackFiles, PngStreamReportsShortWrites) {
  // A full device refuses the bytes: the callback reports a write error.
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  std::setvbuf(full, nullptr, _IONBF, 0);
  const unsigned char bytes[16] = {};
  EXPECT_EQ(zep::png2stdout(full, bytes, sizeof bytes), CAIRO_STATUS_WRITE_ERROR);
  std::fclose(full);
  std::FILE* null = std::fopen("/dev/null", "w");
  EXPECT_EQ(zep::png2stdout(null, bytes, sizeof bytes), CAIRO_STATUS_SUCCESS);
  std::fclose(null);
}

// A format number that names no format (the dispatcher refuses it) falls back
// to the default PDF row as a whole, not to a PDF surface in another's layout.
TEST(ZgpackFiles, UnknownFormatNumberWritesTheDefaultPdf) {
  TempWorkDir dir;
  Opts o;
  o.ifl = 7;
  open(o);
  EXPECT_EQ(zep::zgstate().wsxwd, 732);
  EXPECT_EQ(zep::zgstate().wsywd, 529);
  EXPECT_EQ(zep::zgfileformat(7), nullptr);
  EXPECT_STREQ(zep::zgformat().name, "PDF");
  for (int page = 0; page < 2; ++page) {
    zep::zgpopn();
    hline(100, 600, 100, 2, 3);
    zep::zgpcls();
  }
  zep::zgdcls();
  EXPECT_EQ(filesIn("."), (std::vector<std::string>{"bitmap.x11", "cmap.x11", "zep.pdf"}));
  EXPECT_EQ(pdfPages("zep.pdf"), 2);
  EXPECT_EQ(pdfPageSize("zep.pdf"), "595 x 842");
}

TEST(ZgpackFiles, HugeSizesAndPageNumbersStayInRange) {
  TempWorkDir dir;
  Opts o;
  o.ifl = 3;  // SVG: the surface size without an allocation behind it
  o.iwidth = o.iheight = 2147483647;
  o.ibgpage = 2147483647;
  open(o);
  EXPECT_EQ(zep::zgstate().wsxwd, 32767);
  EXPECT_EQ(zep::zgstate().wsywd, 32767);
  for (int page = 0; page < 2; ++page) {
    zep::zgpopn();
    zep::zgpcls();
  }
  zep::zgdcls();
  // The page counter stops at its largest value instead of wrapping.
  EXPECT_EQ(filesIn("."), (std::vector<std::string>{"bitmap.x11", "cmap.x11", "zep_2147483647.svg"}));
}

TEST(ZgpackFiles, FinishingKeepsThePageInProgressAndFailuresAreKept) {
  TempWorkDir dir;
  open(Opts{});
  zep::zgpopn();
  hline(100, 600, 100, 2, 3);
  zep::zgpcls();
  zep::zgpopn();
  zep::zggopn();  // a polyline not yet stroked is kept too
  zep::zggmov(100, 200);
  zep::zggplt(600, 200);
  EXPECT_EQ(zep::zgfinishoutput(), "PAGE 2 IS INCOMPLETE; KEPT AS DRAWN IN zep.pdf.");
  EXPECT_EQ(pdfPages("zep.pdf"), 2);
  const std::string finished = readFile("zep.pdf");
  EXPECT_EQ(zep::zgfinishoutput(), "");
  EXPECT_EQ(readFile("zep.pdf"), finished);
  runCommand("pdftoppm -r 20 -png -f 2 -l 2 -singlefile zep.pdf page2");
  Png page2("page2.png");
  ASSERT_TRUE(page2.ok());
  int ink = 0;
  for (int y = 0; y < page2.height(); ++y)
    for (int x = 0; x < page2.width(); ++x) ink += (page2.pixel(x, y) & 0xffffffu) != 0xffffffu;
  EXPECT_GT(ink, 0) << "the line of page 2 is lost";

  // A file that cannot be made is recorded once, with the system's reason.
  Opts nowhere;
  nowhere.fname = "nodir/zep";
  open(nowhere);
  std::string file(40, '?'), cause(40, '?');
  bool failed = false;
  zep::zgqfer(file, cause, failed);
  EXPECT_TRUE(failed);
  EXPECT_EQ(file, "nodir/zep.pdf" + std::string(27, ' '));
  EXPECT_EQ(cause, "NO SUCH FILE OR DIRECTORY" + std::string(15, ' '));
  zep::zgpopn();
  zep::zgpcls();
  zep::zgqfer(file, cause, failed);
  EXPECT_FALSE(failed) << "the same file was recorded again";
  zep::zgdcls();
}

}  // namespace
