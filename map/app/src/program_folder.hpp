#pragma once

#include <string>

namespace orbelle::app {

// The folder that holds the running program's file, with symbolic links resolved (so a link
// to the program elsewhere still finds the data beside the real file). Empty when the system
// cannot tell.
std::string programFolder();

}  // namespace orbelle::app
