// Drawing primitives of the driver checked on PNG pages: colour and width
// indices, full-colour mode, tones, images, clipping, the colour table and the
// readers of colormap and pattern files, conversions and parameter slots.
#include <gdk/gdkkeysyms.h>

#include <csignal>
#include <string>

#include "zgpack_test_util.hpp"

namespace {

using namespace zgtest;
using zeptest::quoteRegex;
using zeptest::TempWorkDir;

Opts pngOpts() {
  Opts o;
  o.ifl = 1;
  return o;
}

// Current source colour of the page context, 0..1 per channel.
std::array<double, 3> sourceColor() {
  double r, g, b, a;
  cairo_pattern_get_rgba(cairo_get_source(zep::zgstate().cr.get()), &r, &g, &b, &a);
  return {r, g, b};
}

TEST(ZgpackDraw, WidthAndColourIndices) {
  TempWorkDir dir;
  open(pngOpts());
  zep::zgpopn();
  const zep::ZgState& s = zep::zgstate();
  EXPECT_EQ(s.iwdidz, 1);
  EXPECT_EQ(s.iclidz, 1);
  zep::zgswdi(10);
  EXPECT_EQ(s.iwdidz, 1);
  zep::zgswdi(23);
  EXPECT_EQ(s.iwdidz, 3);
  EXPECT_EQ(s.irwidth, 3);
  zep::zgswdi(-7);
  EXPECT_EQ(s.iwdidz, 1);
  zep::zgscli(255);
  EXPECT_EQ(s.iclidz, 0);
  zep::zgscli(256);
  EXPECT_EQ(s.iclidz, 1);
  zep::zgscli(-3);
  EXPECT_EQ(s.iclidz, 0);
  zep::zgscli(2);
  EXPECT_EQ(sourceColor(), (std::array<double, 3>{1.0, 0.0, 0.0}));
  zep::zgslcl(16777215);
  auto c = sourceColor();
  EXPECT_NEAR(c[0], 0.99611, 1e-5);
  EXPECT_NEAR(c[1], 0.99611, 1e-5);
  EXPECT_NEAR(c[2], 0.99611, 1e-5);
  // A new page starts again with index 1 for width and colour.
  zep::zgpcls();
  zep::zgpopn();
  EXPECT_EQ(s.iwdidz, 1);
  EXPECT_EQ(s.iclidz, 1);
  EXPECT_EQ(sourceColor(), (std::array<double, 3>{0.0, 0.0, 0.0}));
  zep::zgpcls();
  zep::zgdcls();
}

TEST(ZgpackDraw, FullColourModeHoldsUntilStroke) {
  TempWorkDir dir;
  open(pngOpts());
  zep::zgpopn();
  zep::zgsfcm(true);
  zep::zgslcl(0x00ff00);
  zep::zgscli(3);  // ignored in full-colour mode
  EXPECT_EQ(zep::zgstate().iclidz, 1);
  zep::zggopn();
  zep::zggmov(100, 100);
  zep::zggplt(300, 100);
  zep::zggcls();
  EXPECT_FALSE(zep::zgstate().lfcmod);
  hline(100, 300, 200, 3);  // index colours again
  zep::zgpcls();
  zep::zgdcls();
  Png png("zep_0001.png");
  ASSERT_TRUE(png.ok());
  EXPECT_EQ(png.pixel(200, 554), 0x00ff00u);
  EXPECT_EQ(png.pixel(200, 454), 0x0000ffu);
}

TEST(ZgpackDraw, ToneColourRules) {
  TempWorkDir dir;
  open(pngOpts());
  zep::zgpopn();
  box(0, 0, 904, 654, 2001);       // red everywhere, hatch number ignored
  box(10, 10, 100, 100, 999);      // 999 div 1000 = 0: colour 0
  box(110, 10, 200, 100, 999500);  // 999000..999999: colour 0
  box(210, 10, 300, 100, 3999);    // colour 3
  box(310, 10, 400, 100, 256001);  // 256 mod 255 = 1
  box(410, 10, 500, 100, 7000);    // 7 is colour 3 of the cyclic 4-colour table
  // The tone's colour stays the drawing colour.
  EXPECT_EQ(sourceColor(), (std::array<double, 3>{0.0, 0.0, 1.0}));
  zep::zgpcls();
  zep::zgdcls();
  Png png("zep_0001.png");
  ASSERT_TRUE(png.ok());
  const int row = 654 - 50;
  EXPECT_EQ(png.pixel(5, row), 0xff0000u);
  EXPECT_EQ(png.pixel(50, row), 0xffffffu);
  EXPECT_EQ(png.pixel(150, row), 0xffffffu);
  EXPECT_EQ(png.pixel(250, row), 0x0000ffu);
  EXPECT_EQ(png.pixel(350, row), 0x000000u);
  EXPECT_EQ(png.pixel(450, row), 0x0000ffu);
  // Filled without antialiasing: the edge pixel is pure.
  EXPECT_EQ(png.pixel(10, row), 0xffffffu);
}

TEST(ZgpackDraw, ColourTableCyclesAndExchanges) {
  TempWorkDir dir;
  writeText("two.x11", "2 : pair\n 65535 0 0 : red\n 0 0 65535 : blue\n");
  writeText("cmap.x11", kColormap);
  Opts o = pngOpts();
  o.clrmap = "two.x11";
  open(o);
  const zep::ZgState& s = zep::zgstate();
  for (int i = 0; i < zep::kZgColors; ++i) EXPECT_EQ(s.cx[i].r, i % 2 == 0 ? 65535 : 0) << i;
  EXPECT_EQ(s.cx[254].r, 65535);

  o.lfgbg = true;
  open(o);
  for (int i = 0; i < zep::kZgColors; ++i) EXPECT_EQ(s.cx[i].b, i % 2 == 0 ? 65535 : 0) << i;

  // Reloading on the fly, with and without the exchange.
  zep::zgpopn();
  zep::zgclini("cmap.x11", false);
  EXPECT_EQ(s.cx[2].r, 65535);
  EXPECT_EQ(s.cx[6].r, 65535);  // the 4 colours repeat
  EXPECT_EQ(s.cx[0].g, 65535);
  EXPECT_EQ(sourceColor(), (std::array<double, 3>{1.0, 1.0, 1.0}));  // colour 0
  bool l = false;
  zep::zgqclc(l);
  EXPECT_TRUE(l);
  zep::zgclini("cmap.x11            ", true);
  EXPECT_EQ(s.cx[0].g, 0);
  EXPECT_EQ(s.cx[1].g, 65535);
  zep::zgpcls();
  zep::zgdcls();
}

TEST(ZgpackDraw, PatternTableIsRead) {
  TempWorkDir dir;
  open(pngOpts());
  const zep::ZgState& s = zep::zgstate();
  ASSERT_EQ(s.nbmap, 2);
  EXPECT_EQ(s.bitmaps[1].nn1, 2);
  EXPECT_EQ(s.bitmaps[1].nn2, 4);
  EXPECT_EQ(s.bitmaps[1].nx, 16);
  EXPECT_EQ(s.bitmaps[1].ny, 16);
  EXPECT_EQ(s.bitmaps[1].bmline.substr(0, 8), "80800000");
  // The data files of the library read as well.
  Opts o = pngOpts();
  o.clrmap = std::string(ZEP_SOURCE_DIR) + "/data/colormap.x11";
  o.bitmap = std::string(ZEP_SOURCE_DIR) + "/data/bitmap.x11";
  open(o);
  EXPECT_GT(s.nbmap, 0);
  zep::zgdcls();
}

// Each bad file ends the process with the driver's message and status 1.
void expectFileFailure(const std::string& kind, const std::string& clrmap, const std::string& bitmap) {
  GTEST_FLAG_SET(death_test_style, "fast");
  Opts o = pngOpts();
  o.clrmap = clrmap;
  o.bitmap = bitmap;
  o.writeData = false;
  const std::string file = kind == "colormap" ? clrmap : bitmap;
  EXPECT_EXIT(open(o), testing::ExitedWithCode(1),
              "^" + quoteRegex("*** Error in zgdopn : Allocation failed for " + kind + " (" + file + ").") + "\n$");
}

TEST(ZgpackDraw, BadColormapAndPatternFilesEndTheProcess) {
  TempWorkDir dir;
  writeText("good.x11", kColormap);
  writeText("bits.x11", kBitmap);
  writeText("none.x11", "0 : empty\n");
  std::string many = "256 : many\n";
  for (int i = 0; i < 256; ++i) many += " 1 2 3 : c\n";
  writeText("many.x11", many);
  writeText("short.x11", "3 : short\n 1 2 3 : a\n 4 5 6 : b\n");
  writeText("value.x11", "2 : big\n 1 2 3 : a\n 70000 5 6 : b\n");
  writeText("noname.x11", "2\n 1 2 3 : a\n 4 5 6 : b\n");
  std::string patterns = "301\n";
  for (int i = 0; i < 301; ++i) patterns += "   1   1 16 16 80\n";
  writeText("toomany.pat", patterns);
  writeText("shortpat.pat", "3\n   1   1 16 16 80\n");
  writeText("longword.pat", "1\n   1   1 16 16 " + std::string(300, '8') + "\n");

  expectFileFailure("colormap", "missing.x11", "bits.x11");
  expectFileFailure("colormap", "none.x11", "bits.x11");
  expectFileFailure("colormap", "many.x11", "bits.x11");
  expectFileFailure("colormap", "short.x11", "bits.x11");
  expectFileFailure("colormap", "value.x11", "bits.x11");
  expectFileFailure("colormap", "noname.x11", "bits.x11");
  expectFileFailure("bitmap", "good.x11", "missing.pat");
  expectFileFailure("bitmap", "good.x11", "toomany.pat");
  expectFileFailure("bitmap", "good.x11", "shortpat.pat");
  expectFileFailure("bitmap", "good.x11", "longword.pat");

  // 255 colours and 300 patterns are the limits, not errors.
  std::string full = "255 : full\n";
  for (int i = 0; i < 255; ++i) full += " " + std::to_string(i * 257) + " 0 0 : c\n";
  writeText("full.x11", full);
  patterns = "300\n";
  for (int i = 0; i < 300; ++i) patterns += "   1   1 16 16 80\n";
  writeText("limit.pat", patterns);
  Opts o = pngOpts();
  o.clrmap = "full.x11";
  o.bitmap = "limit.pat";
  open(o);
  EXPECT_EQ(zep::zgstate().cx[254].r, 254 * 257);
  EXPECT_EQ(zep::zgstate().nbmap, 300);

  // zgclini reports with the same texts.
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(zep::zgclini("gone.x11", false), testing::ExitedWithCode(1),
              quoteRegex("*** Error in zgdopn : Allocation failed for colormap (gone.x11)."));
  zep::zgdcls();
}

TEST(ZgpackDraw, ImagesWithProgressMarks) {
  TempWorkDir dir;
  open(pngOpts());
  zep::zgpopn();
  testing::internal::CaptureStderr();
  // 4 x 32 pixels at surface (20, 0): rows 16 and 32 give a mark each.
  zep::zgiopn(20, 0, 4, 32);
  std::vector<int> indices(4 * 16);
  for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = i % 4 == 0 ? 2 : (i % 4 == 1 ? -5 : 3 + 255);
  zep::zgidat(indices.data(), static_cast<int>(indices.size()));
  std::vector<int> packed(4 * 16 + 10, 0x00ff00);  // 10 values too many
  zep::zgiclr(packed.data(), static_cast<int>(packed.size()));
  zep::zgicls();
  const std::string err = testing::internal::GetCapturedStderr();
  zep::zgpcls();
  zep::zgdcls();
  EXPECT_EQ(err, " *** image .. end\n");
  Png png("zep_0001.png");
  ASSERT_TRUE(png.ok());
  EXPECT_EQ(png.pixel(20, 0), 0xff0000u);   // index 2
  EXPECT_EQ(png.pixel(21, 0), 0xffffffu);   // negative index: colour 0
  EXPECT_EQ(png.pixel(22, 15), 0x0000ffu);  // 258 mod 255 = 3
  EXPECT_EQ(png.pixel(23, 31), 0x00ff00u);  // full colour
  EXPECT_EQ(png.pixel(20, 32), 0xffffffu);  // the surplus went nowhere
  EXPECT_EQ(png.pixel(24, 0), 0xffffffu);
  EXPECT_EQ(png.pixel(19, 0), 0xffffffu);

  // Degenerate images store nothing and still close cleanly.
  open(pngOpts());
  zep::zgpopn();
  testing::internal::CaptureStderr();
  zep::zgiopn(5, 5, -3, 10);
  zep::zgidat(indices.data(), 8);
  zep::zgicls();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), " *** image  end\n");
  zep::zgpcls();
  zep::zgdcls();
}

TEST(ZgpackDraw, ImageTooLargeLeavesThePageDrawable) {
  TempWorkDir dir;
  open(pngOpts());
  zep::zgpopn();
  testing::internal::CaptureStderr();
  zep::zgiopn(0, 0, 40000, 2);  // wider than any image surface
  const std::vector<int> indices(16, 2);
  zep::zgidat(indices.data(), static_cast<int>(indices.size()));
  zep::zgicls();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "*** Error in zgiopn : Image of 40000 x 2 pixels is too large.\n *** image  end\n");
  EXPECT_EQ(cairo_status(zep::zgstate().cr.get()), CAIRO_STATUS_SUCCESS);
  box(100, 100, 200, 200, 3000);
  zep::zgpcls();
  zep::zgdcls();
  Png png("zep_0001.png");
  ASSERT_TRUE(png.ok());
  EXPECT_EQ(png.pixel(150, 654 - 150), 0x0000ffu);
  EXPECT_EQ(png.pixel(5, 0), 0xffffffu);
}

TEST(ZgpackDraw, ClipRectangle) {
  TempWorkDir dir;
  open(pngOpts());
  zep::zgpopn();
  zep::zgclip(100, 200, 100, 200);
  box(0, 0, 904, 654, 2000);
  zep::zgrclp();
  box(300, 300, 400, 400, 3000);
  zep::zgpcls();
  zep::zgdcls();
  Png png("zep_0001.png");
  ASSERT_TRUE(png.ok());
  EXPECT_EQ(png.pixel(150, 654 - 150), 0xff0000u);
  EXPECT_EQ(png.pixel(90, 654 - 150), 0xffffffu);
  EXPECT_EQ(png.pixel(150, 654 - 210), 0xffffffu);
  EXPECT_EQ(png.pixel(350, 654 - 350), 0x0000ffu);
}

TEST(ZgpackDraw, QueriesAndConversions) {
  TempWorkDir dir;
  open(pngOpts());
  bool l = false;
  zep::zgqwdc(l);
  EXPECT_TRUE(l);
  zep::zgqtnc(l);
  EXPECT_TRUE(l);
  zep::zgqimc(l);
  EXPECT_TRUE(l);
  zep::zgqptc(l);
  EXPECT_FALSE(l);
  float px = 7, py = 8;
  int button = 9;
  zep::zgqpnt(px, py, button);
  EXPECT_EQ(button, 9);
  zep::zgsrot(2);
  EXPECT_EQ(zep::zgstate().iwtroz, 2);

  int ix, iy;
  zep::zgfint(10.4, 100.2, ix, iy);
  EXPECT_EQ(ix, 10);
  EXPECT_EQ(iy, 554);  // trunc(654 - 100.2 + 0.5)
  // Points far off the page saturate rather than wrap around.
  zep::zgfint(1.0e12, 1.0e12, ix, iy);
  EXPECT_EQ(ix, 1000000000);
  EXPECT_EQ(iy, -1000000000);
  float x, y;
  zep::zgiint(10, 554, x, y);
  EXPECT_EQ(x, 10.0f);
  EXPECT_EQ(y, 100.0f);
  zep::zgfrel(10.0, 100.0, x, y);
  EXPECT_EQ(x, 10.5f);
  EXPECT_EQ(y, 554.5f);
  zep::zgdcls();
}

TEST(ZgpackDraw, DirtyRectangleGrowth) {
  zep::ZgState& s = zep::zgstate();
  s.irxb = s.iryb = s.irxt = s.iryt = 0;
  zep::zgswdi(3);
  zep::zguprect(50, 60);
  EXPECT_EQ((std::array<int, 4>{s.irxb, s.iryb, s.irxt, s.iryt}), (std::array<int, 4>{47, 57, 53, 63}));
  zep::zguprect(40, 80);
  EXPECT_EQ((std::array<int, 4>{s.irxb, s.iryb, s.irxt, s.iryt}), (std::array<int, 4>{37, 57, 53, 83}));
  zep::zguprect(45, 70);
  EXPECT_EQ((std::array<int, 4>{s.irxb, s.iryb, s.irxt, s.iryt}), (std::array<int, 4>{37, 57, 53, 83}));
  s.irxb = s.iryb = s.irxt = s.iryt = 0;

  // A point of a polyline far off the page still grows the rectangle toward it.
  TempWorkDir dir;
  open(pngOpts());
  zep::zgpopn();
  s.irxb = s.iryb = s.irxt = s.iryt = 0;
  zep::zgswdi(1);
  zep::zggopn();
  zep::zggmov(100, 100);
  zep::zggplt(1.0e12, -1.0e12);
  EXPECT_EQ(s.irxt, 1000000001);
  EXPECT_EQ(s.iryt, 1000000001);
  zep::zggcls();
  zep::zgpcls();
  zep::zgdcls();
  s.irxb = s.iryb = s.irxt = s.iryt = 0;
}

TEST(ZgpackDraw, ParameterSlots) {
  EXPECT_EQ(zep::getparmnumber("lfprop", 0), 0);
  EXPECT_EQ(zep::getparmnumber("lcntl", 0), 1);
  EXPECT_EQ(zep::getparmnumber("irst", 1), 2);
  EXPECT_EQ(zep::getparmnumber("shift", 2), 1);
  EXPECT_EQ(zep::getparmnumber("shift", 3), -1);
  EXPECT_EQ(zep::getparmnumber("shift", 1), -1);
  EXPECT_EQ(zep::getparmnumber("nosuch", 0), -1);

  zep::zglset("lcntlXYZ", 5, true);  // only the first five characters name it
  EXPECT_TRUE(zep::getlparm("lcntl"));
  zep::zgiset("isup  ", 6, 42);
  EXPECT_EQ(zep::getiparm("isup"), 42);
  zep::zgrset("small", 5, 0.5);
  EXPECT_DOUBLE_EQ(zep::getrparm("small"), 0.5);
  zep::zgrset("bogus", 5, 3.0);  // not a slot: nothing changes
  EXPECT_DOUBLE_EQ(zep::getrparm("bogus"), 0.0);
  EXPECT_DOUBLE_EQ(zep::getrparm("shift"), 0.3);

  // The open takes copies of the slots.
  TempWorkDir dir;
  open(pngOpts());
  EXPECT_TRUE(zep::zgstate().lcntl);
  EXPECT_EQ(zep::zgstate().isup, 42);
  EXPECT_DOUBLE_EQ(zep::zgstate().small, 0.5);
  zep::zgdcls();
  zep::zglset("lcntl", 5, false);
  zep::zgiset("isup", 4, 124);
  zep::zgrset("small", 5, 0.7);
}

// Key and button handlers by wait number, fed with events made here.
TEST(ZgpackDraw, EventHandlersByWait) {
  zep::ZgState& s = zep::zgstate();
  GdkEventKey key{};
  key.type = GDK_KEY_PRESS;
  auto press = [&](guint keyval, int ifunc, bool next_before = false) {
    s.ifunc = ifunc;
    s.next = next_before;
    key.keyval = keyval;
    EXPECT_TRUE(zep::zg_key_press_event(nullptr, &key, nullptr));
    return s.next;
  };
  EXPECT_TRUE(press(GDK_KEY_x, 1));
  EXPECT_TRUE(press(GDK_KEY_space, 2));
  EXPECT_TRUE(press(GDK_KEY_Return, 2));
  EXPECT_FALSE(press(GDK_KEY_d, 2, true));
  EXPECT_FALSE(press(GDK_KEY_space, 0, true));
  EXPECT_TRUE(press(GDK_KEY_Return, 3));
  s.dumpz = false;
  EXPECT_TRUE(press(GDK_KEY_d, 3));
  EXPECT_TRUE(s.dumpz);
  s.wait_np = true;
  EXPECT_TRUE(press(GDK_KEY_s, 3));
  EXPECT_FALSE(s.wait_np);
  EXPECT_FALSE(press(GDK_KEY_w, 3));
  EXPECT_TRUE(s.wait_np);
  EXPECT_FALSE(press(GDK_KEY_z, 3, true));

  GdkEventButton button{};
  for (int ifunc = 0; ifunc <= 3; ++ifunc) {
    s.ifunc = ifunc;
    s.next = false;
    EXPECT_TRUE(zep::zg_button_press_event(nullptr, &button, nullptr));
    EXPECT_EQ(s.next, ifunc != 0);
  }
  s.ifunc = 0;
  s.next = false;

  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(press(GDK_KEY_q, 3), testing::ExitedWithCode(0), "");
}

}  // namespace
