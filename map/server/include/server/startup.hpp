#pragma once

// How the program was started, decided before any window exists: by the session bus to serve
// a request (bus activation), or on its own, which is allowed only with "EXE=T" somewhere in the
// command line, in any letter case.

#include <QString>
#include <QStringList>

namespace orbelle::server {

inline constexpr const char* kOnlyAsServer = "This application may only be run as a server";
inline constexpr const char* kCommandLineSwitch = "EXE=T";

enum class StartMode {
  Refused,       // on its own without "EXE=T": the message, then the end
  CommandLine,   // on its own with "EXE=T"
  BusActivated,  // by the bus, which sets DBUS_STARTER_BUS_TYPE
};

// `arguments`: the command line after the program's name; `starterBusType`: the value of
// DBUS_STARTER_BUS_TYPE (empty when unset).
StartMode startModeOf(const QStringList& arguments, const QString& starterBusType);

// The working folder of a bus-started program: $XDG_DATA_HOME/orbelle, or
// ~/.local/share/orbelle when XDG_DATA_HOME is unset, empty or not an absolute path.
QString busWorkingFolder(const QString& xdgDataHome, const QString& home);

// Creates `folder` if needed and makes it the working directory; false with the reason.
bool enterWorkingFolder(const QString& folder, QString* error);

}  // namespace orbelle::server
