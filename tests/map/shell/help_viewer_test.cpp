#include "shell/help_viewer.hpp"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

namespace orbelle::shell {
namespace {

// Records the programs and files it was asked to start and answers from a script.
class FakeLauncher final : public HelpLauncher {
 public:
  bool startDetached(const QString& program, const QStringList& arguments) override {
    started.push_back(QStringList{program} + arguments);
    return startSucceeds;
  }
  bool openFile(const QString& path) override {
    opened.push_back(path);
    return openSucceeds;
  }

  std::vector<QStringList> started;  // program followed by its arguments
  std::vector<QString> opened;
  bool startSucceeds = true;
  bool openSucceeds = true;
};

// The viewer gets the first help file found, else the own page opens; failure names the file.
TEST(HelpViewer, TheViewerOrTheOwnPageShowsHelp) {
  struct Case {
    const char* viewer;
    std::vector<const char*> files;  // under the folders a/ and b/
    bool startSucceeds, openSucceeds, pageExists;
    bool shown;
    const char* file;  // the one shown or not shown, under the temporary folder
    int started, opened;
  };
  const Case cases[] = {
      {"hlpview -m", {"b/quill5.hlp"}, true, true, true, true, "b/quill5.hlp", 1, 0},
      {"hlpview", {"a/Quill5.Hlp", "b/QUILL5.HLP"}, true, true, true, true, "a/Quill5.Hlp", 1, 0},
      {"", {"a/QUILL5.HLP"}, true, true, true, true, "map.html", 0, 1},          // no viewer
      {"hlpview", {}, true, true, true, true, "map.html", 0, 1},                 // no file
      {"hlpview", {"a/QUILL5.HLP"}, false, true, true, true, "map.html", 1, 1},  // start fails
      {"", {}, true, true, false, false, "map.html", 0, 0},                      // no page
      {"", {}, true, false, true, false, "map.html", 0, 1},                      // no browser
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(&k - cases);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir(dir.path()).mkpath(QStringLiteral("a"));
    QDir(dir.path()).mkpath(QStringLiteral("b"));
    std::vector<const char*> files = k.files;
    if (k.pageExists) files.push_back("map.html");
    for (const char* name : files) {
      QFile file(dir.filePath(QString::fromLatin1(name)));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    FakeLauncher launcher;
    launcher.startSucceeds = k.startSucceeds;
    launcher.openSucceeds = k.openSucceeds;
    DesktopHelpViewer help(launcher,
                           {QString::fromLatin1(k.viewer),
                            {dir.filePath(QStringLiteral("a")), dir.filePath(QStringLiteral("b"))},
                            dir.filePath(QStringLiteral("map.html"))});
    const HelpShown shown =
        help.showHelp(QStringLiteral("QUILL5.HLP"), QStringLiteral("ji(\"\", \"MAP\")"));
    EXPECT_EQ(static_cast<bool>(shown), k.shown);
    EXPECT_EQ(shown.file, dir.filePath(QString::fromLatin1(k.file)));
    ASSERT_EQ(launcher.started.size(), static_cast<std::size_t>(k.started));
    EXPECT_EQ(launcher.opened.size(), static_cast<std::size_t>(k.opened));
    if (k.opened) {
      EXPECT_EQ(launcher.opened[0], dir.filePath(QStringLiteral("map.html")));
    }
    if (k.started) {
      EXPECT_EQ(launcher.started[0].first(), "hlpview");
      EXPECT_EQ(launcher.started[0].mid(launcher.started[0].size() - 2),
                (QStringList{dir.filePath(QString::fromLatin1(k.files.front())),
                             QStringLiteral("ji(\"\", \"MAP\")")}));
    }
  }
}

}  // namespace
}  // namespace orbelle::shell
