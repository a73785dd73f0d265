// The font families and faces that Pango itself reports, for checking the
// library's font catalogue against.
#pragma once

#include <pango/pangocairo.h>

#include <string>
#include <vector>

namespace zeptest {

struct Family {
  std::string name;
  std::vector<std::string> faces;
};

inline std::vector<Family> pangoFamilies() {
  PangoFontFamily** families = nullptr;
  int n = 0;
  pango_font_map_list_families(pango_cairo_font_map_get_default(), &families, &n);
  std::vector<Family> out;
  for (int i = 0; i < n; ++i) {
    Family f{pango_font_family_get_name(families[i]), {}};
    PangoFontFace** faces = nullptr;
    int nf = 0;
    pango_font_family_list_faces(families[i], &faces, &nf);
    for (int j = 0; j < nf; ++j) f.faces.emplace_back(pango_font_face_get_face_name(faces[j]));
    g_free(faces);
    out.push_back(std::move(f));
  }
  g_free(families);
  return out;
}

}  // namespace zeptest
