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

// The window needs a display. When neither the environment (QT_QPA_PLATFORM) nor the command
// line ("-platform") names the window system, the program asks for the display's platforms
// followed by the off-screen one, and learns from the platform it got whether a display was
// there; without this, a missing display ends the program with an abort.
inline constexpr const char* kNoDisplay =
    "no display: set DISPLAY or WAYLAND_DISPLAY to the desktop's, or run orbelle-render for a "
    "picture of the map";
inline constexpr const char* kOffscreenForBus =
    "no display: serving the bus with an off-screen map (pictures and spots work, no window "
    "shows); run 'dbus-update-activation-environment DISPLAY XAUTHORITY WAYLAND_DISPLAY' in the "
    "desktop's session";
inline constexpr const char* kOffscreenPlatform = "offscreen";

// The platform list to ask for: Wayland first when the session has a Wayland display, then X11,
// then off-screen.
QString platformsToTry(const QString& waylandDisplay);

// The command line or the environment chose the platform: it is used as it is.
bool platformChosen(const QStringList& arguments, const QString& qtPlatform);

enum class DisplayOutcome {
  Window,           // a display, or a platform chosen by the caller
  OffscreenForBus,  // no display, started by the bus: the host's calls are served off screen
  NoDisplay,        // no display, started by hand: the program says so and ends
};

// What the platform the program got means for it.
DisplayOutcome displayOutcome(StartMode mode, bool chosen, const QString& platformName);

// Creates `folder` if needed and makes it the working directory; false with the reason.
bool enterWorkingFolder(const QString& folder, QString* error);

}  // namespace orbelle::server
