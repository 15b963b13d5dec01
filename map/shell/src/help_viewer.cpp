#include "shell/help_viewer.hpp"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace orbelle::shell {

bool DesktopLauncher::startDetached(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}

bool DesktopLauncher::openFile(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

DesktopHelpViewer::Places DesktopHelpViewer::processPlaces(const QString& dataFolder) {
  Places places;
  places.viewerCommand = qEnvironmentVariable("ORBELLE_HELP_VIEWER");
  places.searchFolders << QDir::currentPath() << QCoreApplication::applicationDirPath();
  const QString extra = qEnvironmentVariable("ORBELLE_HELP_PATH");
  for (const QString& folder : extra.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
    places.searchFolders << folder;
  }
  places.ownHelpPage = dataFolder + QStringLiteral("/help/map.html");
  return places;
}

QString DesktopHelpViewer::findHelpFile(const QString& helpFile) const {
  for (const QString& folder : places_.searchFolders) {
    const QDir dir(folder);
    if (!dir.exists()) continue;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Readable);
    for (const QString& entry : entries) {
      if (entry.compare(helpFile, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    }
  }
  return {};
}

HelpShown DesktopHelpViewer::showHelp(const QString& helpFile, const QString& macro) {
  if (!places_.viewerCommand.isEmpty()) {
    const QString path = findHelpFile(helpFile);
    QStringList command = QProcess::splitCommand(places_.viewerCommand);
    if (!path.isEmpty() && !command.isEmpty()) {
      const QString program = command.takeFirst();
      if (launcher_.startDetached(program, command << path << macro)) return {true, path};
    }
  }
  if (places_.ownHelpPage.isEmpty()) return {false, helpFile};
  if (!QFileInfo::exists(places_.ownHelpPage)) return {false, places_.ownHelpPage};
  return {launcher_.openFile(places_.ownHelpPage), places_.ownHelpPage};
}

}  // namespace orbelle::shell
