#pragma once

#include <string>

namespace orbelle::app {

// The folder that holds the running program's file, with symbolic links resolved (so a link
// to the program elsewhere still finds the data beside the real file). Empty when the system
// cannot tell.
std::string programFolder();

// The folder that holds a map program's data (the outline files in "mapdata", the help page in
// "help"), given the program's folder: the program's folder itself when "mapdata" is there (the
// build tree), else "../share/orbelle" from it (installed: the program in <prefix>/bin, the data
// in <prefix>/share/orbelle) when that holds "mapdata", else the program's folder, so that a
// message about a missing file names the first place looked at. Empty for an empty folder.
std::string dataFolder(const std::string& programFolder);

}  // namespace orbelle::app
