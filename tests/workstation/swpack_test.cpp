// The dispatcher: progress messages, open checks, the data files and names it
// resolves, and colormap changes, against the real driver and a recording double.
#include <gtest/gtest.h>

#include <csignal>
#include <set>
#include <zep/zep.hpp>

#include "support/message_file.hpp"
#include "support/png_image.hpp"
#include "support/recording_port.hpp"
#include "support/test_support.hpp"

namespace {

using zeptest::expectLines;
using zeptest::lineRegex;

void useWorkstation(int iws, int ifl) {
  zep::sgiset("IWS", iws);
  zep::swiset("IWS", iws < 0 ? -iws : iws);
  zep::swiset("IFL", ifl);
}

TEST(Dispatcher, ProgressMessagesAndThePageCounter) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zeptest::MessageFile messages(dir.path() / "messages.txt");
    useWorkstation(2, 4);
    zep::swlset("LSEP", true);  // one PDF per page
    zep::swdopn();
    for (int page = 0; page < 3; ++page) {
      zep::swpopn();
      zep::swpcls();
    }
    zep::swdcls();
    // A second session in the same process keeps counting pages.
    zep::sgiset("IWS", -2);
    zep::swdopn();
    zep::swpopn();
    zep::swpcls();
    zep::swdcls();
    const std::string failure = expectLines(
        messages.lines(),
        {" *** MESSAGE (SWDOPN) ***  GRPH1 : STARTED / IWS =  2.", " *** MESSAGE (SWPCLS) ***  GRPH1 : PAGE =   1 COMPLETED.",
         " *** MESSAGE (SWPCLS) ***  GRPH1 : PAGE =   2 COMPLETED.", " *** MESSAGE (SWPCLS) ***  GRPH1 : PAGE =   3 COMPLETED.",
         " *** MESSAGE (SWDCLS) ***  GRPH1 : TERMINATED.", " *** MESSAGE (SWDOPN) ***  GRPH1 : STARTED / IWS = -2.",
         " *** MESSAGE (SWPCLS) ***  GRPH1 : PAGE =   4 COMPLETED.", " *** MESSAGE (SWDCLS) ***  GRPH1 : TERMINATED."});
    if (!failure.empty()) return failure;
    // File names count the pages of each session (from IBGPAGE).
    for (const char* f : {"zep_0001.pdf", "zep_0002.pdf", "zep_0003.pdf"})
      if (!std::filesystem::exists(f)) return std::string("missing ") + f;
    return std::string();
  });
}

TEST(Dispatcher, ClosingWithoutAPageCompletesNoPage) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zeptest::MessageFile messages(dir.path() / "messages.txt");
    useWorkstation(2, 1);
    zep::swdopn();
    zep::swpcls();
    zep::swdcls();
    const std::string failure =
        expectLines(messages.lines(), {" *** MESSAGE (SWDOPN) ***  GRPH1 : STARTED / IWS =  2.",
                                       " *** MESSAGE (SWDCLS) ***  GRPH1 : TERMINATED."});
    if (!failure.empty()) return failure;
    return std::filesystem::exists("zep_0001.png") ? std::string("an empty page was written") : std::string();
  });
}

std::set<std::string> refused;
void rememberRefusal(std::string_view routine, std::string_view text) {
  if (text == "WORKSTATION IS NOT OPENED.") refused.insert(std::string(routine));
}

TEST(Dispatcher, OnlyMarkedEntriesRequireAnOpenWorkstation) {
  EXPECT_EXIT(zep::swpcls(), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (SWPCLS) ***  WORKSTATION IS NOT OPENED."));
  ZEP_EXPECT_ISOLATED([] {
    zep::set_msgdmp_err_func(&rememberRefusal);
    zep::workstation::setDriverPort(&zeptest::recordingPort());
    bool l = false;
    float x = 0, y = 0, f = 0;
    int i = 0, j = 0;
    const float xs[3] = {0, 1, 0}, ys[3] = {0, 0, 1};
    const int image[1] = {0};
    zep::swpopn();
    zep::swpcls();
    zep::swoopn("SZLN", "1");
    zep::swocls("SZLN");
    zep::swswdi(1);
    zep::swscli(1);
    zep::swgopn();
    zep::swgmov(0, 0);
    zep::swgplt(1, 1);
    zep::swgcls();
    zep::swgton(3, xs, ys, 1);
    zep::swiopn(0, 0, 1, 1);
    zep::swidat(image, 1);
    zep::swicls();
    zep::swqpnt(x, y, i);
    zep::swfint(0, 0, i, j);
    zep::swiint(0, 0, x, y);
    zep::swqclc(l);
    zep::swqrct(x, y, x, y, f);
    zep::swsrot(1);
    // These pass straight on.
    zep::swflsh();
    zep::swqfcc(l);
    zep::swsfcm(false);
    zep::swslcl(0xff0000);
    zep::swstcl(0x00ff00);
    zep::swiclr(image, 1);
    zep::swqwdc(l);
    zep::swqtnc(l);
    zep::swqimc(l);
    zep::swqptc(l);
    const std::set<std::string> want = {"SWPOPN", "SWPCLS", "SWOOPN", "SWOCLS", "SWSWDI", "SWSCLI", "SWGOPN",
                                        "SWGMOV", "SWGPLT", "SWGCLS", "SWGTON", "SWIOPN", "SWIDAT", "SWICLS",
                                        "SWQPNT", "SWFINT", "SWIINT", "SWQCLC", "SWQRCT", "SWSROT"};
    if (refused != want) {
      std::string got;
      for (const auto& r : refused) got += r + " ";
      return "refused: " + got;
    }
    // Every call but swqfcc (answered here) reached the driver once the report returned.
    return zeptest::driverLog().size() == 29 ? std::string() : "driver calls: " + std::to_string(zeptest::driverLog().size());
  });
}

TEST(Dispatcher, FileNamesTitlesAndColormapsResolvedAtOpen) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::workstation::setDriverPort(&zeptest::recordingPort());
    zep::gliset("MSGLEV", 1);
    useWorkstation(2, 1);
    std::string dspath(80, ' ');
    zep::glcget("DSPATH", dspath);
    const std::string data(dspath.substr(0, static_cast<std::size_t>(zep::lenz(dspath))));

    zep::swdopn();
    const auto& a = zeptest::lastOpen();
    const std::string trimmedMap = a.colormap.substr(0, a.colormap.find_last_not_of(' ') + 1);
    if (trimmedMap != data + "colormap.x11") return "default colormap: " + trimmedMap;
    if (a.fname.substr(0, 4) != "zep ") return "default stem: " + a.fname;
    if (a.title.substr(0, 10) != "zep-7.0.0 ") return "default title: " + a.title;
    if (a.bitmap.substr(0, data.size() + 10) != data + "bitmap.x11") return "bitmap: " + a.bitmap;
    if (a.iws != 2 || a.ifl != 1) return std::string("workstation numbers");

    // The list picks the colormap by number when the user chose none.
    zep::swcset("CLRMAP", "colormap");
    zep::swiset("ICLRMAP", 3);
    zep::swdopn();
    if (zeptest::lastOpen().colormap.substr(0, data.size() + 17) != data + "colormap_grey.x11")
      return "listed colormap: " + zeptest::lastOpen().colormap;

    // A user file in the working directory beats the list.
    zep::swcset("CLRMAP", "colormap");
    std::ofstream("colormap.x11") << "2 : mine\n 65535 65535 65535 : white\n     0     0     0 : black\n";
    zep::swcset("FNAME", "*");
    zep::swcset("TITLE", "My plot");
    zep::swdopn();
    const auto& b = zeptest::lastOpen();
    if (b.colormap.substr(0, 13) != "colormap.x11 ") return "user colormap: " + b.colormap;
    if (b.fname.substr(0, 17) != "test_workstation ") return "program stem: " + b.fname;
    if (b.title.substr(0, 8) != "My plot ") return "title: " + b.title;
    return std::string();
  });
}

TEST(Dispatcher, MissingDataFilesAreReported) {
  EXPECT_EXIT(
      {
        zeptest::TempWorkDir dir;
        zep::workstation::setDriverPort(&zeptest::recordingPort());
        useWorkstation(2, 1);
        zep::swcset("BITMAP", "no-such-patterns");
        zep::swdopn();
      },
      testing::KilledBySignal(SIGABRT), lineRegex(" ***** ERROR (SWDOPN) ***  BITMAP FILE DOES NOT EXIST."));
  EXPECT_EXIT(
      {
        zeptest::TempWorkDir dir;
        zep::workstation::setDriverPort(&zeptest::recordingPort());
        useWorkstation(2, 1);
        zep::swcset("CLRMAP", "no-such-map");
        zep::swdopn();
      },
      testing::KilledBySignal(SIGABRT), lineRegex(" ***** ERROR (SWDOPN) ***  COLORMAP FILE DOES NOT EXIST."));
}

// Draws a thick horizontal line in colour index 2 on the current page.
void drawBar() {
  zep::swswdi(9);
  zep::swscli(2);
  zep::swgopn();
  zep::swgmov(100, 300);
  zep::swgplt(800, 300);
  zep::swgcls();
}

TEST(Dispatcher, ColormapChangeBetweenPages) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::gliset("MSGLEV", 1);
    useWorkstation(2, 1);  // PNG pages
    zep::swdopn();
    zep::swpopn();
    drawBar();
    zep::swpcls();
    zep::swiset("ICLRMAP", 3);  // grey ramp: colour 2 is black
    zep::swclch();
    zep::swpopn();
    drawBar();
    zep::swpcls();
    zep::swdcls();
    zeptest::Png first("zep_0001.png"), second("zep_0002.png");
    if (!first.ok() || !second.ok()) return std::string("pages not written");
    const int redBefore = zeptest::countPixels(first, 0xD7191C, 0, 0, first.width(), first.height());
    const int blackAfter = zeptest::countPixels(second, 0x000000, 0, 0, second.width(), second.height());
    const int redAfter = zeptest::countPixels(second, 0xD7191C, 0, 0, second.width(), second.height());
    if (redBefore < 1000 || blackAfter < 1000 || redAfter != 0)
      return "pixels: " + std::to_string(redBefore) + " " + std::to_string(blackAfter) + " " + std::to_string(redAfter);
    return std::string();
  });
}

}  // namespace

namespace {

// Only the library's own data directory marks a colormap as unchosen: a user
// directory whose name differs from it in letter case alone is another directory.
TEST(Dispatcher, UserColormapInADirectoryDifferingOnlyInCase) {
  ZEP_EXPECT_ISOLATED([] {
    zeptest::TempWorkDir dir;
    zep::workstation::setDriverPort(&zeptest::recordingPort());
    zep::gliset("MSGLEV", 1);
    useWorkstation(2, 1);
    std::string dspath(80, ' ');
    zep::glcget("DSPATH", dspath);
    const std::filesystem::path data(dspath.substr(0, static_cast<std::size_t>(zep::lenz(dspath))));
    std::filesystem::create_directory_symlink(data, "data");
    std::filesystem::create_directory_symlink(data, "DATA");
    zep::glcset("DSPATH", "data/");
    zep::glcset("DUPATH", "DATA/");
    zep::swiset("ICLRMAP", 3);
    zep::swdopn();
    const std::string& map = zeptest::lastOpen().colormap;
    return map.substr(0, 18) == "DATA/colormap.x11 " ? std::string() : "colormap: " + map;
  });
}

}  // namespace
