// The library runs inside a host process that need not be a Qt program: dialogs need a
// QApplication, which is created on first use when the process has none.
#pragma once

#include <string>

namespace velalib {

// Makes sure a QApplication exists. Returns the empty text when dialogs can be shown, otherwise
// why not (no display, or a Qt application without widgets). An application this library
// creates serves every later call and is destroyed when the process ends (the library is never
// unloaded).
std::string ensureWidgetApplication();

}  // namespace velalib
