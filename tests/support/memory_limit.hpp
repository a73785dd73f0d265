// Makes allocations fail in a (death-test) child, however the machine
// overcommits: the address space is limited to what the process maps now plus
// `headroom` bytes.
#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <cstddef>
#include <fstream>

namespace zeptest {

inline void limitAddressSpace(std::size_t headroom) {
  std::size_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max =
      static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + static_cast<rlim_t>(headroom);
  setrlimit(RLIMIT_AS, &limit);
}

}  // namespace zeptest
