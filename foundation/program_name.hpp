// The running program's name as titles and output files use it.
#pragma once

#include <string>

namespace zep::os {

// Argument 0 without the directories the program was started from, so that
// names built from it stay short and files land in the working directory.
std::string programName();

}  // namespace zep::os
