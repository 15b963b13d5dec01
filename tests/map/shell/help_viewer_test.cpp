#include "shell/help_viewer.hpp"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace orbelle::shell {
namespace {

// Logs the programs it starts and the files it opens, and answers as told.
class FakeLauncher final : public HelpLauncher {
 public:
  bool startDetached(const QString& program, const QStringList& arguments) override {
    log << (QStringList{program} + arguments).join(QLatin1Char(' '));
    return startOk;
  }
  bool openFile(const QString& path) override {
    log << path;
    return openOk;
  }
  QStringList log;
  bool startOk = true, openOk = true;
};

// The viewer gets the first help file found (any case), else the own page opens (%1: the folder).
TEST(HelpViewer, TheViewerOrTheOwnPageShowsHelp) {
  const struct {
    const char* viewer;
    QStringList files;  // under the folders a/ and b/, and the own page
    bool startOk, openOk, shown;
    const char* file;  // the one shown or not shown
    QStringList log;
  } cases[] = {
      {"hv -m", {"a/x.Hlp", "b/X.HLP"}, true, true, true, "a/x.Hlp", {"hv -m %1/a/x.Hlp M"}},
      {"", {"a/X.HLP", "p.htm"}, true, true, true, "p.htm", {"%1/p.htm"}},
      {"hv", {"p.htm"}, true, true, true, "p.htm", {"%1/p.htm"}},
      {"hv", {"a/X.HLP", "p.htm"}, false, true, true, "p.htm", {"hv %1/a/X.HLP M", "%1/p.htm"}},
      {"", {}, true, true, false, "p.htm", {}},
      {"", {"p.htm"}, true, false, false, "p.htm", {"%1/p.htm"}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(&k - cases);
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("a"));
    QDir(dir.path()).mkpath(QStringLiteral("b"));
    for (const QString& name : k.files)
      ASSERT_TRUE(QFile(dir.filePath(name)).open(QFile::WriteOnly));
    FakeLauncher launcher;
    launcher.startOk = k.startOk;
    launcher.openOk = k.openOk;
    DesktopHelpViewer help(launcher,
                           {QString::fromLatin1(k.viewer),
                            {dir.filePath(QStringLiteral("a")), dir.filePath(QStringLiteral("b"))},
                            dir.filePath(QStringLiteral("p.htm"))});
    const HelpShown shown = help.showHelp(QStringLiteral("X.HLP"), QStringLiteral("M"));
    EXPECT_EQ(static_cast<bool>(shown), k.shown);
    EXPECT_EQ(shown.file, dir.filePath(QString::fromLatin1(k.file)));
    QStringList log;
    for (const QString& line : k.log) log << line.arg(dir.path());
    EXPECT_EQ(launcher.log, log);
  }
}

}  // namespace
}  // namespace orbelle::shell
