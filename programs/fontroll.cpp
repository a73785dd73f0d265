// fontroll: prints the system font families known to the font engine, each with
// its faces, on standard output. It opens no workstation and draws nothing.
#include <zep/driver.hpp>

int main() {
  zep::zglistfonts();
  return 0;
}
