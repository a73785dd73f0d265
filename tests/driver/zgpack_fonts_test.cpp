// The font catalogue against what Pango itself reports, and the font selection
// dialog under an X display (answered from a timer, as a user would).
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <pango/pangocairo.h>

#include "support/pango_families.hpp"
#include "zgpack_test_util.hpp"

namespace {

using namespace zgtest;

using zeptest::Family;
using zeptest::pangoFamilies;

TEST(ZgpackFonts, CountAndNamesAsPangoReportsThem) {
  const std::vector<Family> families = pangoFamilies();
  ASSERT_FALSE(families.empty()) << "no fonts on this machine";
  int n = -1;
  zep::zgnumfonts(n);
  EXPECT_EQ(n, static_cast<int>(families.size()));

  for (int i : {0, n - 1}) {
    std::array<char, 80> name;
    name.fill('x');
    int count = -1;
    testing::internal::CaptureStdout();
    zep::zgfontname(i, name, count);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(count, n);
    EXPECT_EQ(printed, "Family " + std::to_string(i) + ": " + families[static_cast<std::size_t>(i)].name + "\n");
    const std::string& want = families[static_cast<std::size_t>(i)].name;
    EXPECT_EQ(std::string(name.data(), std::min<std::size_t>(want.size(), 80)), want.substr(0, 80));
    for (std::size_t j = want.size(); j < name.size(); ++j) ASSERT_EQ(name[j], '\0') << j;
  }

  // Outside the catalogue: an empty name and nothing printed.
  std::array<char, 80> name;
  name.fill('x');
  int count = -1;
  testing::internal::CaptureStdout();
  zep::zgfontname(n, name, count);
  zep::zgfontname(-1, name, count);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(count, n);
  EXPECT_TRUE(std::all_of(name.begin(), name.end(), [](char c) { return c == '\0'; }));

  // A shorter receiving text is filled and cut.
  char shortName[3];
  testing::internal::CaptureStdout();
  zep::zgfontname(0, shortName, count);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(std::string(shortName, std::min<std::size_t>(3, families[0].name.size())),
            families[0].name.substr(0, 3));
}

TEST(ZgpackFonts, ListingOfFamiliesAndFaces) {
  const std::vector<Family> families = pangoFamilies();
  std::string want = "There are " + std::to_string(families.size()) + " families\n";
  for (std::size_t i = 0; i < families.size(); ++i) {
    want += "Family " + std::to_string(i) + ": " + families[i].name + "\n  Faces : ";
    for (std::size_t j = 0; j < families[i].faces.size(); ++j)
      want += std::to_string(j) + ") " + families[i].faces[j] + "  ";
    want += "\n\n";
  }
  testing::internal::CaptureStdout();
  zep::zglistfonts();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), want);
  // DejaVu Sans is installed with the library's dependencies.
  EXPECT_NE(want.find(": DejaVu Sans\n  Faces : "), std::string::npos);
}

// ---------------------------------------------------------------------------
// The dialog
// ---------------------------------------------------------------------------

bool haveDisplay() {
  const char* d = std::getenv("DISPLAY");
  return d != nullptr && *d != '\0';
}

GtkFontSelectionDialog* openDialog() {
  GList* tops = gtk_window_list_toplevels();
  GtkFontSelectionDialog* found = nullptr;
  for (GList* l = tops; l != nullptr; l = l->next)
    if (GTK_IS_FONT_SELECTION_DIALOG(l->data) && gtk_widget_get_visible(GTK_WIDGET(l->data)))
      found = GTK_FONT_SELECTION_DIALOG(l->data);
  g_list_free(tops);
  return found;
}

// Scripted answers: each step picks a font (or none) and gives a response.
struct Step {
  const char* font;
  gint response;
};
std::vector<Step> script;
std::string dialogTitle, dialogPreset, dialogPreview;

gboolean answer(gpointer) {
  GtkFontSelectionDialog* d = openDialog();
  if (d == nullptr) return TRUE;  // not on screen yet
  if (dialogTitle.empty()) {
    dialogTitle = gtk_window_get_title(GTK_WINDOW(d));
    gchar* preset = gtk_font_selection_dialog_get_font_name(d);
    dialogPreset = preset != nullptr ? preset : "";
    g_free(preset);
    dialogPreview = gtk_font_selection_dialog_get_preview_text(d);
  }
  if (script.empty()) return FALSE;
  const Step step = script.front();
  script.erase(script.begin());
  if (step.font != nullptr) gtk_font_selection_dialog_set_font_name(d, step.font);
  gtk_dialog_response(GTK_DIALOG(d), step.response);
  return script.empty() ? FALSE : TRUE;
}

// Runs the dialog in a child process (the toolkit stays with its process) and
// returns what it printed, the returned name and the font description after it.
std::string runDialog(std::vector<Step> steps, bool before = false) {
  script = std::move(steps);
  Opts o;
  o.iws = 1;
  o.lwnd = false;  // the page window stays hidden; only the dialog shows
  open(o);
  if (before) {
    // An earlier choice is where the next dialog starts.
    std::vector<Step> first = {{"Serif Italic 9", GTK_RESPONSE_OK}};
    std::swap(script, first);
    g_timeout_add(50, answer, nullptr);
    std::array<char, 80> name{};
    zep::zgselectfont(name);
    std::swap(script, first);
    dialogTitle.clear();
  }
  g_timeout_add(50, answer, nullptr);
  std::array<char, 80> name;
  name.fill('?');
  zep::zgselectfont(name);
  std::string result(name.data(), name.size());
  const std::size_t nul = result.find('\0');
  if (nul == std::string::npos) return "font not NUL-terminated";
  for (std::size_t i = nul; i < result.size(); ++i)
    if (result[i] != '\0') return "font not NUL-padded";
  result.resize(nul);
  if (openDialog() != nullptr) return "dialog left on screen";
  char* desc = pango_font_description_to_string(zep::zgfontdesc());
  std::string out = result + "|" + desc + "|" + dialogTitle + "|" + dialogPreset + "|" + dialogPreview;
  g_free(desc);
  return out;
}

#define ZG_DIALOG_CHILD(body)                                                   \
  do {                                                                          \
    GTEST_FLAG_SET(death_test_style, "threadsafe");                             \
    EXPECT_EXIT(                                                                \
        {                                                                       \
          ::alarm(60);                                                          \
          zeptest::TempWorkDir dir;                                             \
          const std::string failure = (body)();                                 \
          if (!failure.empty()) std::fprintf(stderr, "FAILED: %s\n", failure.c_str()); \
          std::fflush(nullptr);                                                 \
          std::_Exit(failure.empty() ? 0 : 1);                                  \
        },                                                                      \
        ::testing::ExitedWithCode(0), "");                                      \
  } while (0)

const std::string kPreview = "Velt Morvane Common Library モルヴァンライブラリ αβΣΩ";

TEST(ZgpackFontDialog, CancelKeepsTheCurrentFont) {
  if (!haveDisplay()) GTEST_SKIP() << "no X display";
  ZG_DIALOG_CHILD([]() -> std::string {
    testing::internal::CaptureStdout();
    const std::string got = runDialog({{"Serif Bold 20", GTK_RESPONSE_CANCEL}});
    const std::string printed = testing::internal::GetCapturedStdout();
    const std::string want = "Sans Normal 12|Sans 12|Choose a Font|Sans 12|" + kPreview;
    if (got != want) return "got " + got;
    if (!printed.empty()) return "printed " + printed;
    return std::string();
  });
  ZG_DIALOG_CHILD([]() -> std::string {
    // Closing the window counts as cancel; the earlier choice stays.
    testing::internal::CaptureStdout();
    const std::string got = runDialog({{"Serif Bold 20", GTK_RESPONSE_DELETE_EVENT}}, true);
    testing::internal::GetCapturedStdout();
    const std::string want = "Serif Italic 9|Serif Italic 9|Choose a Font|Serif Italic 9|" + kPreview;
    return got == want ? std::string() : "got " + got;
  });
}

TEST(ZgpackFontDialog, ApplyThenOkTheLastChoiceWins) {
  if (!haveDisplay()) GTEST_SKIP() << "no X display";
  ZG_DIALOG_CHILD([]() -> std::string {
    testing::internal::CaptureStdout();
    const std::string got = runDialog({{"Serif Bold 20", GTK_RESPONSE_APPLY}, {"Monospace 10", GTK_RESPONSE_OK}});
    const std::string printed = testing::internal::GetCapturedStdout();
    const std::string want = "Monospace 10|Monospace 10|Choose a Font|Sans 12|" + kPreview;
    if (got != want) return "got " + got;
    if (printed != "selected font name is  'Serif Bold 20'  \nselected font name is  'Monospace 10'  \n")
      return "printed " + printed;
    if (zep::zgstate().fontfamily != "Monospace 10") return "current name " + zep::zgstate().fontfamily;
    return std::string();
  });
}

}  // namespace
