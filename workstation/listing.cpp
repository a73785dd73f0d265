// The one-line list of available workstations that a program prints before it
// asks for a workstation number.
#include <cstdio>
#include <string>

#include <zep/foundation.hpp>
#include <zep/workstation.hpp>

#include "foundation/units.hpp"

namespace zep {

void sgpwsn() {
  int unit = 0;
  int count = 0;
  gliget("MSGUNIT", unit);
  swiget("MAXWNU", count);
  // The parameter names carry two digits: WSNAME01 to WSNAME99.
  if (count < 1 || count > 99) {
    msgdmp("E", "SGPWSN", "NUMBER OF WORKSTATIONS (MAXWNU) MUST BE 1 TO 99.");
    return;
  }

  std::string line;
  for (int i = 1; i <= count; ++i) {
    char parameter[24];
    std::snprintf(parameter, sizeof parameter, "WSNAME%02d", i);
    std::string name(8, ' ');
    swcget(parameter, name);
    // A blank name leaves just " i:,".
    const int nc = lenz(name);
    char number[16];
    std::snprintf(number, sizeof number, "%d", i);
    line += ' ';
    line += number;
    line += ':';
    line.append(name, 0, static_cast<std::size_t>(nc));
    line += ',';
  }
  // The last comma gives way to " ;".
  line.back() = ' ';
  line += ';';
  units::writeRecord(unit, line);
}

}  // namespace zep
