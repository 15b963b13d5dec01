#pragma once

// The help layer: the window asks for a help file and a help macro (jump to a topic); a viewer
// that can show that file gets both, and otherwise the map's own help page opens in the user's
// browser.

#include <QString>
#include <QStringList>
#include <functional>

namespace orbelle::shell {

// What became of a help request: whether something shows the help, and the file it shows (or,
// when nothing could, the last file it tried).
struct HelpShown {
  bool shown = false;
  QString file;
  explicit operator bool() const { return shown; }
};

class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  virtual HelpShown showHelp(const QString& helpFile, const QString& macro) = 0;
};

// What the desktop help layer starts, behind an interface for tests.
class HelpLauncher {
 public:
  virtual ~HelpLauncher() = default;
  // Starts a program detached; false when it could not be started.
  virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
  // Opens a local file in the user's browser; false when nothing could open it.
  virtual bool openFile(const QString& path) = 0;
};

// Starts programs with QProcess and opens files with QDesktopServices.
class DesktopLauncher final : public HelpLauncher {
 public:
  bool startDetached(const QString& program, const QStringList& arguments) override;
  bool openFile(const QString& path) override;
};

// The help layer on a desktop:
// - the help viewer is the command in the environment variable ORBELLE_HELP_VIEWER (a program
//   and its own arguments, to which the help file's path and the macro text are appended);
// - the help file is looked up, without regard to letter case, in the current directory, the
//   program's folder and the folders of ORBELLE_HELP_PATH (separated by ":");
// - with both found the viewer is started; otherwise the map's own help page
//   (`ownHelpPage`, an HTML file) opens in the browser.
class DesktopHelpViewer final : public HelpViewer {
 public:
  struct Places {
    QString viewerCommand;      // from ORBELLE_HELP_VIEWER; empty: none
    QStringList searchFolders;  // in order
    QString ownHelpPage;
  };

  DesktopHelpViewer(HelpLauncher& launcher, Places places)
      : launcher_(launcher), places_(std::move(places)) {}

  // The places of this process: the environment, the current directory, the program's folder,
  // and help/map.html in the program's data folder.
  static Places processPlaces(const QString& dataFolder);

  HelpShown showHelp(const QString& helpFile, const QString& macro) override;

  // The help file's path in the search folders (case-blind name match), or empty.
  QString findHelpFile(const QString& helpFile) const;

 private:
  HelpLauncher& launcher_;
  Places places_;
};

}  // namespace orbelle::shell
