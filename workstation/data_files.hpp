// Inside the library: what the search for a workstation data file tried, for
// reports about a file that was not found.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zep::data_files {

// Continuation lines for a report about the SW file parameter `parameter`
// ("CLRMAP", "FONT1", ...): the names tried and every directory searched.
std::vector<std::string> notFoundLines(std::string_view parameter);

// True when a file name taken from a data file climbs out of the directory it
// is resolved in (a ".." component).
bool climbsOut(std::string_view name);

}  // namespace zep::data_files
