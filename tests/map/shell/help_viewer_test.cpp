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

void touch(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("x");
}

class HelpViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QDir(dir.path()).mkdir(QStringLiteral("a"));
    QDir(dir.path()).mkdir(QStringLiteral("b"));
    page = dir.filePath(QStringLiteral("map.html"));
    touch(page);
  }
  DesktopHelpViewer::Places places(const QString& viewer) const {
    return {viewer, {dir.filePath(QStringLiteral("a")), dir.filePath(QStringLiteral("b"))}, page};
  }

  QTemporaryDir dir;
  QString page;
  FakeLauncher launcher;
};

TEST_F(HelpViewerTest, ViewerGetsTheFoundFileAndTheMacro) {
  touch(dir.filePath(QStringLiteral("b/quill5.hlp")));
  DesktopHelpViewer help(launcher, places(QStringLiteral("hlpview --topic-macro")));
  const HelpShown shown =
      help.showHelp(QStringLiteral("QUILL5.HLP"), QStringLiteral("ji(\"\", \"MAP\")"));
  EXPECT_TRUE(shown);
  EXPECT_EQ(shown.file, dir.filePath(QStringLiteral("b/quill5.hlp")));
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0],
            (QStringList{QStringLiteral("hlpview"), QStringLiteral("--topic-macro"),
                         dir.filePath(QStringLiteral("b/quill5.hlp")),
                         QStringLiteral("ji(\"\", \"MAP\")")}));
  EXPECT_TRUE(launcher.opened.empty());
}

TEST_F(HelpViewerTest, FirstFolderInOrderWins) {
  touch(dir.filePath(QStringLiteral("a/Quill5.Hlp")));
  touch(dir.filePath(QStringLiteral("b/QUILL5.HLP")));
  DesktopHelpViewer help(launcher, places({}));
  EXPECT_EQ(help.findHelpFile(QStringLiteral("QUILL5.HLP")),
            dir.filePath(QStringLiteral("a/Quill5.Hlp")));
}

TEST_F(HelpViewerTest, WithoutViewerOrFileTheOwnPageOpens) {
  DesktopHelpViewer noViewer(launcher, places({}));
  touch(dir.filePath(QStringLiteral("a/QUILL5.HLP")));
  EXPECT_TRUE(noViewer.showHelp(QStringLiteral("QUILL5.HLP"), QStringLiteral("m")));
  EXPECT_TRUE(launcher.started.empty());
  ASSERT_EQ(launcher.opened.size(), 1u);
  EXPECT_EQ(launcher.opened[0], page);

  QFile::remove(dir.filePath(QStringLiteral("a/QUILL5.HLP")));
  DesktopHelpViewer noFile(launcher, places(QStringLiteral("hlpview")));
  EXPECT_TRUE(noFile.showHelp(QStringLiteral("QUILL5.HLP"), QStringLiteral("m")));
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_EQ(launcher.opened.size(), 2u);
}

TEST_F(HelpViewerTest, ViewerThatFailsToStartFallsBackToThePage) {
  touch(dir.filePath(QStringLiteral("a/QUILL5.HLP")));
  launcher.startSucceeds = false;
  DesktopHelpViewer help(launcher, places(QStringLiteral("hlpview")));
  EXPECT_TRUE(help.showHelp(QStringLiteral("QUILL5.HLP"), QStringLiteral("m")));
  EXPECT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.opened.size(), 1u);
}

TEST_F(HelpViewerTest, NothingToShowReportsFailure) {
  DesktopHelpViewer::Places p = places({});
  p.ownHelpPage = dir.filePath(QStringLiteral("absent.html"));
  DesktopHelpViewer help(launcher, p);
  const HelpShown absent = help.showHelp(QStringLiteral("QUILL5.HLP"), QStringLiteral("m"));
  EXPECT_FALSE(absent);
  EXPECT_EQ(absent.file, p.ownHelpPage);  // the file it could not open is named
  EXPECT_TRUE(launcher.opened.empty());

  launcher.openSucceeds = false;
  DesktopHelpViewer noBrowser(launcher, places({}));
  const HelpShown refused = noBrowser.showHelp(QStringLiteral("QUILL5.HLP"), QStringLiteral("m"));
  EXPECT_FALSE(refused);
  EXPECT_EQ(refused.file, page);
}

}  // namespace
}  // namespace orbelle::shell
