// The dispatcher's system-font entries: the viewport clip around text, the
// refresh of the driver's text-control slots, the font entries passed on, and
// the refusal of the font dialog on file workstations.
#include <gtest/gtest.h>

#include <algorithm>
#include <zep/zep.hpp>

#include "support/message_file.hpp"
#include "support/png_image.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::driverLog;
using zeptest::expectLines;

TEST(DispatcherText, ViewportClipAroundTheTextOnly) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::openRecordedSession();
    zep::sgsvpt(0.25F, 0.75F, 0.25F, 0.75F);
    zep::sgstrf();
    zep::swtxt(300, 200, 0.5F, "Text and more", 4, 0.5F, 0);
    std::string failure = expectLines(driverLog(), {"rclp", "txt(300.0,200.0,0.500,Text,0.500,0)"});
    if (!failure.empty()) return "without LCLIP\n" + failure;

    driverLog().clear();
    zep::sglset("LCLIP", true);
    zep::swtxt(300, 200, 0.5F, "Text", 4, 0.0F, -1);
    // The clip is taken away again after the text, so that lines drawn later
    // are not cut at this viewport.
    failure = expectLines(driverLog(), {"rclp", "clip(287.5,612.5,162.5,487.5)", "txt(300.0,200.0,0.500,Text,0.000,-1)", "rclp"});
    if (!failure.empty()) return "with LCLIP\n" + failure;
    return std::string();
  });
}

TEST(DispatcherText, TextParametersReachTheDriverWhileLcntlIsOn) {
  ZEP_EXPECT_ISOLATED([] {
    auto& slots = zeptest::slotValues();
    zeptest::openRecordedSession();
    zep::sgrset("SMALL", 0.5F);
    zep::sgiset("ISUP", 7);
    float wx = 0, wy = 0;
    zep::swqtxw("abc", 3, wx, wy);
    // LCNTL off: only the switch itself is refreshed.
    if (slots["lcntl"] != 0.0 || std::abs(slots["small"] - 0.7) > 1e-6 || slots["isup"] != 124)
      return std::string("refreshed while LCNTL was off");
    zep::sglset("LCNTL", true);
    zep::sgrset("SHIFT", 0.25F);
    zep::swtxt(1, 2, 0.1F, "x", 1, 0.0F, 0);
    if (slots["lcntl"] != 1.0 || std::abs(slots["small"] - 0.5) > 1e-6 || std::abs(slots["shift"] - 0.25) > 1e-6 ||
        slots["isup"] != 7 || slots["isub"] != 95 || slots["irst"] != 34)
      return std::string("not refreshed while LCNTL was on");
    zep::sglset("LCNTL", false);
    zep::sgrset("SMALL", 0.9F);
    zep::swqtxw("abc", 3, wx, wy);
    if (slots["lcntl"] != 0.0 || std::abs(slots["small"] - 0.5) > 1e-6) return std::string("LCNTL off again");
    if (wx != 1.5F || wy != 0.8F) return std::string("width query answer not passed back");
    return std::string();
  });
}

TEST(DispatcherText, FontEntriesPassOnWithoutAnOpenWorkstation) {
  ZEP_EXPECT_ISOLATED([] {
    zep::workstation::setDriverPort(&zeptest::recordingPort());
    int n = 0, m = 0;
    std::array<char, 80> name{};
    zep::swftfc("Serif Bold 12   ");
    zep::swsfw(5);
    zep::swftnm(n);
    zep::swgtft(2, name, m);
    zep::swlsft();
    zep::swslft(name);  // no workstation opened yet: the driver's dialog
    if (n != 3 || m != 3) return std::string("counts not passed back");
    if (std::string(name.data()) != "Serif 10") return std::string("dialog answer not passed back");
    return expectLines(driverLog(), {"ftfc(Serif Bold 12)", "sfw(5)", "numfonts", "fontname(2)", "listfonts", "selectfont"});
  });
}

TEST(DispatcherText, FontDialogRefusedOnEveryFileFormat) {
  for (int ifl = 1; ifl <= 4; ++ifl) {
    ZEP_EXPECT_ISOLATED([ifl] {
      zeptest::TempWorkDir dir;
      zeptest::MessageFile messages(dir.path() / "messages.txt");
      zep::workstation::setDriverPort(&zeptest::recordingPort());
      zep::gliset("MSGLEV", 0);
      zep::sgiset("IWS", 2);
      zep::swiset("IWS", 2);
      zep::swiset("IFL", ifl);
      zep::swdopn();
      driverLog().clear();
      std::string font = "Serif Italic 9";
      font.resize(80, ' ');
      const std::string before = font;
      zep::swslft(font);
      if (font != before) return "font changed: " + font;
      if (!driverLog().empty()) return "driver called: " + driverLog().front();
      const auto lines = messages.lines();
      const std::string want = " *** MESSAGE (SWSLFT) ***  DIALOG NEEDS WINDOW.DEFAULT FONT IS USED";
      if (std::count(lines.begin(), lines.end(), want) != 1) return expectLines(lines, {want});
      return std::string();
    });
  }
  // The window workstation runs the dialog.
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::workstation::setDriverPort(&zeptest::recordingPort());
    zep::gliset("MSGLEV", 2);
    zep::sgiset("IWS", 1);
    zep::swiset("IWS", 1);
    zep::swdopn();
    driverLog().clear();
    std::array<char, 80> font{};
    zep::swslft(font);
    return expectLines(driverLog(), {"selectfont"});
  });
}

// The real driver: a long text is cut at the viewport, and a line drawn after
// it outside the viewport is whole.
TEST(DispatcherText, ClippedTextOnAPngPage) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::gliset("MSGLEV", 2);
    zep::swiset("IFL", 1);
    zep::sgopn(2);
    zep::sgfrm();
    zep::sgsvpt(0.25F, 0.75F, 0.25F, 0.75F);
    zep::sgstrf();
    zep::sglset("LCLIP", true);
    zep::swscli(1);
    // Starts left of the viewport (W x 287.5 to 612.5) and runs past its right edge.
    zep::swtxt(200, 325, 1.0F, "HHHHHHHHHHHHHHHHHHHHHHHH", 24, 0.0F, -1);
    zep::swgopn();
    zep::swgmov(20, 100);
    zep::swgplt(880, 100);
    zep::swgcls();
    zep::sgcls();
    zeptest::Png png("zep_0001.png");
    if (!png.ok()) return std::string("no page written");
    const int h = png.height();
    // Text rows: surface y around h - 325.
    const int inside = zeptest::countPixels(png, 0x000000, 300, h - 360, 600, h - 290);
    const int left = zeptest::countPixels(png, 0x000000, 0, h - 360, 287, h - 290);
    const int right = zeptest::countPixels(png, 0x000000, 614, h - 360, png.width(), h - 290);
    const int lineLeft = zeptest::countPixels(png, 0x000000, 20, h - 103, 280, h - 97);
    const int lineRight = zeptest::countPixels(png, 0x000000, 620, h - 103, 880, h - 97);
    if (inside < 200 || left != 0 || right != 0 || lineLeft < 200 || lineRight < 200)
      return "pixels " + std::to_string(inside) + " " + std::to_string(left) + " " + std::to_string(right) + " " +
             std::to_string(lineLeft) + " " + std::to_string(lineRight);
    return std::string();
  });
}

}  // namespace
