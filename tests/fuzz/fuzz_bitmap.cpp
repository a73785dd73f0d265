// Tone bitmap pattern file of the output driver (zgreadbitmap). As with the
// colormap, the documented exit on an unusable file is trapped and accepted.
#include "fuzz_support.hpp"

#include "driver/zgpack_internal.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static bool ready = (fuzz::quietReports(), true);
  (void)ready;
  const std::string path = fuzz::writeScratch("bitmap", data, size);
  std::jmp_buf trap;
  if (setjmp(trap) == 0) {
    fuzz::exitTrap = &trap;
    zep::zgreadbitmap(path);
  }
  fuzz::exitTrap = nullptr;
  return 0;
}
