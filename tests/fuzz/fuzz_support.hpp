// Shared pieces of the fuzz harnesses: quiet reports, a scratch file per
// process, and a trap for the process exits that some readers make by design.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <unistd.h>

#include <zep/foundation.hpp>

extern "C" [[noreturn]] void __real_exit(int status);

namespace fuzz {

// Set while a reader that may end the process runs: exit() then jumps back here.
inline std::jmp_buf* exitTrap = nullptr;

// Error reports return to the reader instead of aborting; the reader must then
// go on safely, which is exactly what the fuzzing checks.
inline void ignoreError(std::string_view, std::string_view) {}

inline void quietReports() {
  zep::set_msgdmp_err_func(&ignoreError);
  // Only errors would still be written; they go to the callback above.
  zep::gliset("MSGLEV", 2);
}

// A file holding the input, in the scratch directory, one per process.
inline std::string writeScratch(const std::string& stem, const std::uint8_t* data, std::size_t size) {
  const char* dir = std::getenv("TMPDIR");
  const std::string path = std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/zep-fuzz-" +
                           std::to_string(::getpid()) + "-" + stem;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
  return path;
}

}  // namespace fuzz

// Linked with -Wl,--wrap=exit: the library's calls of exit() come here (one
// harness source per program, so defined here once).
extern "C" [[noreturn]] void __wrap_exit(int status) {
  if (fuzz::exitTrap != nullptr) std::longjmp(*fuzz::exitTrap, status == 0 ? 256 : status);
  __real_exit(status);
}
