#include "server/startup.hpp"

#include <QDir>

namespace orbelle::server {

StartMode startModeOf(const QStringList& arguments, const QString& starterBusType) {
  if (!starterBusType.isEmpty()) return StartMode::BusActivated;
  // The command line as one text, as the program sees it, upper-cased.
  const QString commandLine = arguments.join(QLatin1Char(' ')).toUpper();
  return commandLine.contains(QLatin1String(kCommandLineSwitch)) ? StartMode::CommandLine
                                                                 : StartMode::Refused;
}

QString busWorkingFolder(const QString& xdgDataHome, const QString& home) {
  const QString dataHome = !xdgDataHome.isEmpty() && QDir::isAbsolutePath(xdgDataHome)
                               ? xdgDataHome
                               : home + QStringLiteral("/.local/share");
  return QDir::cleanPath(dataHome + QStringLiteral("/orbelle"));
}

QString platformsToTry(const QString& waylandDisplay) {
  const QString display = QStringLiteral("xcb;") + QLatin1String(kOffscreenPlatform);
  return waylandDisplay.isEmpty() ? display : QStringLiteral("wayland;") + display;
}

bool platformChosen(const QStringList& arguments, const QString& qtPlatform) {
  return !qtPlatform.isEmpty() || arguments.contains(QStringLiteral("-platform"));
}

DisplayOutcome displayOutcome(StartMode mode, bool chosen, const QString& platformName) {
  if (chosen || platformName != QLatin1String(kOffscreenPlatform)) return DisplayOutcome::Window;
  return mode == StartMode::BusActivated ? DisplayOutcome::OffscreenForBus
                                         : DisplayOutcome::NoDisplay;
}

bool enterWorkingFolder(const QString& folder, QString* error) {
  if (!QDir().mkpath(folder)) {
    if (error) *error = QStringLiteral("cannot create the folder %1").arg(folder);
    return false;
  }
  if (!QDir::setCurrent(folder)) {
    if (error) *error = QStringLiteral("cannot enter the folder %1").arg(folder);
    return false;
  }
  return true;
}

}  // namespace orbelle::server
