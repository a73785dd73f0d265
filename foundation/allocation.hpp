// Buffers whose size a caller chooses (a field, a polygon) may not fit in
// memory. Such an allocation that fails is an error report naming the routine
// and the size, like any other bad input, so that the output finisher runs and
// finished pages stay readable; never an exception that ends the process.
#pragma once

#include <cstddef>
#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

#include <zep/foundation.hpp>

namespace zep::memory {

// Runs `allocate`; false after the report when it ran out of memory. `count`
// items of `bytesEach` bytes are what the caller asked for.
template <typename F>
bool allocateOrReport(std::string_view routine, std::string_view what, std::size_t count, std::size_t bytesEach,
                      F&& allocate) {
  try {
    allocate();
    return true;
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  const long double bytes = static_cast<long double>(count) * static_cast<long double>(bytesEach);
  char size[48];
  std::snprintf(size, sizeof size, "%.0Lf", bytes);
  msgdmp("E", routine,
         "OUT OF MEMORY FOR " + std::to_string(count) + " " + std::string(what) + " (" + size + " BYTES).");
  return false;
}

}  // namespace zep::memory
