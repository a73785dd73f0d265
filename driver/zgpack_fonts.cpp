// Output driver: the catalogue of system font families (from Pango's default
// font map for cairo) and the toolkit's font selection dialog, which sets the
// font of all later system-font text.
#include <algorithm>
#include <cstdio>
#include <string>

#include <pango/pangocairo.h>

#include <zep/driver.hpp>

#include "driver/zgpack_internal.hpp"

namespace zep {

namespace {

constexpr const char* kPreviewText = "Velt Morvane Common Library モルヴァンライブラリ αβΣΩ";
constexpr std::size_t kFontNameLength = 80;

// The families of the default font map, fetched afresh for every request so that
// the answer follows the machine's current font configuration.
class FamilyList {
 public:
  FamilyList() {
    pango_font_map_list_families(pango_cairo_font_map_get_default(), &families_, &n_);
  }
  ~FamilyList() { g_free(families_); }
  FamilyList(const FamilyList&) = delete;
  FamilyList& operator=(const FamilyList&) = delete;
  int size() const { return n_; }
  PangoFontFamily* operator[](int i) const { return families_[i]; }

 private:
  PangoFontFamily** families_ = nullptr;
  int n_ = 0;
};

void copy_name(std::string_view name, std::span<char> out) {
  std::fill(out.begin(), out.end(), '\0');
  const std::size_t m = std::min(name.size(), out.size());
  std::copy_n(name.begin(), m, out.begin());
}

// The dialog needs the toolkit; the window device has started it, otherwise it
// is started here when a display is there.
bool toolkit_ready() {
  if (zgstate().drawing_area != nullptr) return true;
  return gtk_init_check(nullptr, nullptr) != FALSE;
}

void note_destroyed(GtkWidget*, gpointer alive) { *static_cast<bool*>(alive) = false; }

}  // namespace

void zgnumfonts(int& n) {
  FamilyList families;
  n = families.size();
}

void zgfontname(int i, std::span<char> name, int& n) {
  copy_name({}, name);
  FamilyList families;
  n = families.size();
  // Outside the catalogue there is no name: the caller gets an empty one.
  if (i < 0 || i >= n) return;
  const char* family = pango_font_family_get_name(families[i]);
  std::printf("Family %d: %s\n", i, family);
  const std::string_view fam(family);
  copy_name(fam.substr(0, std::min(fam.size(), kFontNameLength)), name);
}

void zglistfonts() {
  FamilyList families;
  std::printf("There are %d families\n", families.size());
  for (int i = 0; i < families.size(); ++i) {
    std::printf("Family %d: %s\n", i, pango_font_family_get_name(families[i]));
    PangoFontFace** faces = nullptr;
    int nfaces = 0;
    pango_font_family_list_faces(families[i], &faces, &nfaces);
    std::printf("  Faces : ");
    for (int j = 0; j < nfaces; ++j) std::printf("%d) %s  ", j, pango_font_face_get_face_name(faces[j]));
    std::printf("\n\n");
    g_free(faces);
  }
  std::fflush(stdout);
}

void font_dialog_response(GtkDialog* dialog, gint response, gpointer) {
  ZgState& s = zgstate();
  if (!GTK_IS_FONT_SELECTION_DIALOG(dialog)) return;
  if (response == GTK_RESPONSE_OK || response == GTK_RESPONSE_APPLY) {
    gchar* name = gtk_font_selection_dialog_get_font_name(GTK_FONT_SELECTION_DIALOG(dialog));
    if (name != nullptr) {
      zgsetfontdesc(pango_font_description_from_string(name));
      std::printf("selected font name is  '%s'  \n", name);
      std::fflush(stdout);
      s.fontfamily = name;
      g_free(name);
    }
  }
  if (response != GTK_RESPONSE_APPLY) gtk_widget_destroy(GTK_WIDGET(dialog));
  zgfontdesc();  // a description is always current
}

void zgselectfont(std::span<char> font) {
  ZgState& s = zgstate();
  if (s.fontfamily.empty()) s.fontfamily = kZgDefaultFont;
  if (!toolkit_ready()) {
    std::fputs("*** Error in zgselectfont : Cannot open display; the current font is kept.\n", stderr);
    copy_name(s.fontfamily, font);
    return;
  }
  GtkWidget* dialog = gtk_font_selection_dialog_new("Choose a Font");
  gtk_font_selection_dialog_set_font_name(GTK_FONT_SELECTION_DIALOG(dialog), s.fontfamily.c_str());
  gtk_font_selection_dialog_set_preview_text(GTK_FONT_SELECTION_DIALOG(dialog), kPreviewText);
  g_signal_connect(G_OBJECT(dialog), "response", G_CALLBACK(font_dialog_response), nullptr);
  bool alive = true;
  g_signal_connect(G_OBJECT(dialog), "destroy", G_CALLBACK(note_destroyed), &alive);
  // Apply keeps the dialog open: it is answered until it is closed, so that the
  // name returned is the last choice and no dialog is left behind unanswered.
  while (alive) gtk_dialog_run(GTK_DIALOG(dialog));
  while (gtk_events_pending()) gtk_main_iteration();
  copy_name(s.fontfamily, font);
}

GtkWidget* zgqdrw() { return zgstate().drawing_area; }

}  // namespace zep
