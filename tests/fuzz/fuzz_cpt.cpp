// CPT file of the colour package (cmrcpt): any input is read or reported,
// then the map it made (if any) is sampled across and beyond its range.
#include "fuzz_support.hpp"

#include <cmath>

#include <zep/colour.hpp>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static bool ready = (fuzz::quietReports(), true);
  (void)ready;
  const std::string path = fuzz::writeScratch("cpt", data, size);
  zep::cmsmap("VIRIDIS");
  zep::cmrcpt("FUZZ", path);
  zep::cmsmap("FUZZ");  // reported (and ignored) when the file made no map
  zep::cmsnrl(-1, 1);
  int rgb = 0;
  for (float v : {-2.0F, -1.0F, -0.3F, 0.0F, 0.5F, 1.0F, 3.0F, NAN}) zep::cmqvrg(v, rgb);
  return 0;
}
