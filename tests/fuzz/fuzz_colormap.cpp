// Colormap file of the output driver (zgreadcolormap). A file it cannot use ends
// the process with status 1 by design; that exit is trapped and counts as a
// rejected input, anything else (sanitizer report, abort, hang) is a finding.
#include "fuzz_support.hpp"

#include "driver/zgpack_internal.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static bool ready = (fuzz::quietReports(), true);
  (void)ready;
  const std::string path = fuzz::writeScratch("colormap", data, size);
  std::jmp_buf trap;
  if (setjmp(trap) == 0) {
    fuzz::exitTrap = &trap;
    zep::zgreadcolormap(path, size % 2 == 1);
  }
  fuzz::exitTrap = nullptr;
  return 0;
}
