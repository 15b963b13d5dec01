// file_sel through foxhost, on Qt's offscreen platform: the dialog is inspected and answered
// from inside its own event loop.
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "dialog_driver.hpp"
#include "host_fixture.hpp"

namespace velalib::testing {
namespace {

namespace fs = std::filesystem;

// What the operator sees of the dialog.
struct Seen {
  QString title;
  QStringList filters;
  QStringList typeBoxItems;
  QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
  QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
  bool confirmOverwrite = false;
  bool nativeDialog = true;
  QString okLabel;
  QString defaultSuffix;
  QString pathLabel;
  QString pathText;
  bool pathReadOnly = false;
  bool pathAboveStandardControls = false;
  QString directory;
  QString fileNameText;
  bool fileNameShown = false, fileNameLabelShown = false;
  bool fileTypeShown = false, fileTypeLabelShown = false;
  bool folderShown = false, folderLabelShown = false;
  QRect frame;
};

bool shown(QFileDialog &d, const char *name) {
  auto *w = d.findChild<QWidget *>(QLatin1String(name));
  return w && w->isVisible();
}

Seen inspect(QFileDialog &d) {
  Seen s;
  s.title = d.windowTitle();
  s.filters = d.nameFilters();
  if (auto *types = d.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))) {
    for (int i = 0; i < types->count(); ++i) s.typeBoxItems << types->itemText(i);
  }
  s.acceptMode = d.acceptMode();
  s.fileMode = d.fileMode();
  s.confirmOverwrite = !d.testOption(QFileDialog::DontConfirmOverwrite);
  s.nativeDialog = !d.testOption(QFileDialog::DontUseNativeDialog);
  s.okLabel = d.labelText(QFileDialog::Accept);
  s.defaultSuffix = d.defaultSuffix();
  auto *label = d.findChild<QLabel *>(QStringLiteral("velalibPathLabel"));
  auto *path = d.findChild<QLineEdit *>(QStringLiteral("velalibPathEdit"));
  if (label) s.pathLabel = label->text();
  if (path) {
    s.pathText = path->text();
    s.pathReadOnly = path->isReadOnly();
    auto *look = d.findChild<QWidget *>(QStringLiteral("lookInCombo"));
    auto *list = d.findChild<QWidget *>(QStringLiteral("splitter"));
    const int panelBottom = path->mapTo(&d, QPoint(0, path->height())).y();
    s.pathAboveStandardControls = look && list && panelBottom <= look->mapTo(&d, QPoint()).y() &&
                                  panelBottom <= list->mapTo(&d, QPoint()).y();
  }
  s.directory = d.directory().absolutePath();
  if (auto *name = d.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
    s.fileNameText = name->text();
  }
  s.fileNameShown = shown(d, "fileNameEdit");
  s.fileNameLabelShown = shown(d, "fileNameLabel");
  s.fileTypeShown = shown(d, "fileTypeCombo");
  s.fileTypeLabelShown = shown(d, "fileTypeLabel");
  s.folderShown = shown(d, "lookInCombo");
  s.folderLabelShown = shown(d, "lookInLabel");
  s.frame = d.frameGeometry();
  return s;
}

void typeFileName(QFileDialog &d, const QString &name) {
  auto *edit = d.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(edit, nullptr);
  edit->setText(name);
}

void accept(QFileDialog &d) { static_cast<QDialog &>(d).accept(); }

class FileSel : public VelalibHost {
 protected:
  void SetUp() override {
    VelalibHost::SetUp();
    ASSERT_TRUE(dir_.isValid());
    folder_ = fs::canonical(dir_.path().toStdString()).string();
    for (const char *name : {"log.adi", "notes.txt"}) std::ofstream(folder_ + "/" + name) << "x";
    fs::create_directory(folder_ + "/sub");
  }

  // Calls file_sel and answers its dialog with `act`; returns the call's text.
  std::string run(const std::vector<Value> &args, std::function<void(QFileDialog &)> act) {
    whenShown<QFileDialog>(std::move(act));
    return text("file_sel", args);
  }

  // Calls file_sel, records what the dialog shows and cancels it.
  Seen look(const std::vector<Value> &args) {
    Seen seen;
    EXPECT_EQ(run(args,
                  [&](QFileDialog &d) {
                    seen = inspect(d);
                    d.reject();
                  }),
              "");
    return seen;
  }

  QTemporaryDir dir_;
  std::string folder_;
};

TEST_F(FileSel, WithoutArgumentsAnOpenDialogOverTheMainWindow) {
  host_.setWindowRect(host_.mainWindow(), {100, 60, 900, 700});
  const Seen s = look({});
  EXPECT_FALSE(s.nativeDialog);
  EXPECT_EQ(s.title, "");
  EXPECT_EQ(s.filters, QStringList{"*.* (*)"});
  EXPECT_EQ(s.typeBoxItems, QStringList{"*.*"});
  EXPECT_EQ(s.acceptMode, QFileDialog::AcceptOpen);
  EXPECT_EQ(s.fileMode, QFileDialog::AnyFile);
  EXPECT_EQ(s.pathLabel, "Path:");
  EXPECT_TRUE(s.pathReadOnly);
  EXPECT_TRUE(s.pathAboveStandardControls);
  EXPECT_EQ(s.pathText, s.directory);
  EXPECT_TRUE(s.fileNameShown && s.fileTypeShown && s.folderShown);
  EXPECT_EQ(s.defaultSuffix, "");
  // Centred over the main window; halving truncates toward zero.
  EXPECT_EQ(s.frame.x(), 100 + (900 - s.frame.width()) / 2);
  EXPECT_EQ(s.frame.y(), 60 + (700 - s.frame.height()) / 2);
}

TEST_F(FileSel, FiltersAndTitle) {
  Seen s = look({T("Open log"), T("*.adi")});
  EXPECT_EQ(s.title, "Open log");
  EXPECT_EQ(s.filters, QStringList{"*.adi (*.adi)"});
  EXPECT_EQ(s.typeBoxItems, QStringList{"*.adi"});

  s = look({T(std::string(100, 'T')), T("Logs|*.adi|Text|*.txt;*.log")});
  EXPECT_EQ(s.title.size(), 79);
  EXPECT_EQ(s.filters, (QStringList{"Logs (*.adi)", "Text (*.txt *.log)"}));
  EXPECT_EQ(s.typeBoxItems, (QStringList{"Logs", "Text"}));
}

// How the options and extra flags set the dialog's mode and which boxes it hides, each box
// with its label.
TEST_F(FileSel, ModesAndHiddenBoxesFollowOptionsAndExtraFlags) {
  using D = QFileDialog;
  const struct {
    const char *name;
    int32_t options, extra;
    D::AcceptMode acceptMode;
    D::FileMode fileMode;
    bool confirmOverwrite, fileName, fileType, folder;
  } cases[] = {
      {"Open", 0, 0, D::AcceptOpen, D::AnyFile, false, true, true, true},
      {"MustExist", 1, 0, D::AcceptOpen, D::ExistingFile, false, true, true, true},
      {"CreatePrompt", 2, 0, D::AcceptOpen, D::AnyFile, false, true, true, true},
      {"SaveWithOverwritePrompt", 4, 0, D::AcceptSave, D::AnyFile, true, true, true, true},
      {"SaveByExtraFlag", 0, 2, D::AcceptSave, D::AnyFile, true, true, true, true},
      {"MustExistByExtraFlag", 0, 0x1000, D::AcceptOpen, D::ExistingFile, false, true, true, true},
      {"HideFileName", 0x80, 0, D::AcceptOpen, D::AnyFile, false, false, true, true},
      {"HideFileType", 0x100, 0, D::AcceptOpen, D::AnyFile, false, true, false, true},
      {"HideFolder", 0x200, 0, D::AcceptOpen, D::AnyFile, false, true, true, false},
      {"HideAll", 0x380, 0, D::AcceptOpen, D::AnyFile, false, false, false, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    const Seen s = look({T(""), T(""), T(folder_), T(""), I(c.options), I(c.extra)});
    EXPECT_EQ(s.acceptMode, c.acceptMode);
    EXPECT_EQ(s.fileMode, c.fileMode);
    EXPECT_EQ(s.confirmOverwrite, c.confirmOverwrite);
    EXPECT_EQ(s.fileNameShown, c.fileName);
    EXPECT_EQ(s.fileNameLabelShown, c.fileName);
    EXPECT_EQ(s.fileTypeShown, c.fileType);
    EXPECT_EQ(s.fileTypeLabelShown, c.fileType);
    EXPECT_EQ(s.folderShown, c.folder);
    EXPECT_EQ(s.folderLabelShown, c.folder);
  }
}

TEST_F(FileSel, InitialFolderFileNameCaptionAndDefaultExtension) {
  const Seen s = look(
      {T("Pick"), T("*.adi"), T(folder_), T("notes.txt"), I(8), I(0), T("Use this file, please")});
  EXPECT_EQ(s.directory.toStdString(), folder_);
  EXPECT_EQ(s.pathText.toStdString(), folder_);
  EXPECT_EQ(s.fileNameText, "notes.txt");
  EXPECT_EQ(s.okLabel, "Use this file, plea");  // the caption holds 19 characters
  EXPECT_EQ(s.defaultSuffix, "x");
}

TEST_F(FileSel, PathPanelFollowsTheFolder) {
  QStringList shownPaths;
  const std::string result = run({T(""), T(""), T(folder_)}, [&](QFileDialog &d) {
    auto *path = d.findChild<QLineEdit *>(QStringLiteral("velalibPathEdit"));
    ASSERT_NE(path, nullptr);
    shownPaths << path->text();
    // The operator types a folder name and presses the OK button: the dialog goes there.
    typeFileName(d, QStringLiteral("sub"));
    accept(d);
    shownPaths << path->text();
    d.setDirectory(QString::fromStdString(folder_));
    shownPaths << path->text();
    d.reject();
  });
  EXPECT_EQ(result, "");
  const QString folder = QString::fromStdString(folder_);
  EXPECT_EQ(shownPaths, (QStringList{folder, folder + "/sub", folder}));
}

TEST_F(FileSel, AcceptedFileComesBackWithItsPath) {
  EXPECT_EQ(run({T(""), T(""), T(folder_)},
                [](QFileDialog &d) {
                  typeFileName(d, QStringLiteral("log.adi"));
                  accept(d);
                }),
            folder_ + "/log.adi");
  // The initial file name alone is accepted as it stands.
  EXPECT_EQ(run({T(""), T(""), T(folder_), T("notes.txt")}, [](QFileDialog &d) { accept(d); }),
            folder_ + "/notes.txt");
}

TEST_F(FileSel, DefaultExtensionIsAddedToATypedName) {
  EXPECT_EQ(run({T(""), T(""), T(folder_), T(""), I(4 | 8)},
                [](QFileDialog &d) {
                  typeFileName(d, QStringLiteral("newlog"));
                  accept(d);
                }),
            folder_ + "/newlog.x");
}

// A name the options question or refuse: the first answer keeps the dialog open, the second
// (or a cancel) ends it.
TEST_F(FileSel, PromptsAndRefusalsKeepTheDialogOpen) {
  const struct {
    const char *name;
    int32_t options;
    std::string typed;
    const char *firstAnswer, *secondAnswer;  // no second answer: the dialog is cancelled
    const char *question;                    // a part of the first message box's text
    std::string result;
  } cases[] = {
      {"CreatePrompt", 2, "fresh.adi", "No", "Yes", "fresh.adi", "/fresh.adi"},
      {"FileMustExist", 1, "nothere.adi", "OK", nullptr, "", ""},
      {"PathMustExist", 0, "/no/such/file.adi", "OK", nullptr, "does not exist", ""},
      {"OverwritePrompt", 4, "log.adi", "No", "Yes", "log.adi", "/log.adi"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    QString question;
    bool stillOpen = false;
    const std::string typed = c.typed[0] == '/' ? folder_ + c.typed : c.typed;
    const std::string result =
        run({T(""), T(""), T(folder_), T(""), I(c.options)}, [&](QFileDialog &d) {
          typeFileName(d, QString::fromStdString(typed));
          answerMessageBox(c.firstAnswer, &question);
          accept(d);
          stillOpen = d.isVisible();
          if (!c.secondAnswer) return d.reject();
          answerMessageBox(c.secondAnswer);
          accept(d);
        });
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(question.contains(c.question)) << question.toStdString();
    EXPECT_EQ(result, c.result.empty() ? "" : folder_ + c.result);
  }
}

TEST_F(FileSel, PlacementOverAnOwnerKeptOnScreen) {
  const foxhost::WindowRect screen = host_.windowRect(0);
  const uint32_t form = host_.createObject("form");
  const int32_t window = host_.objectWindow(form, false);
  // An owner in the bottom right corner: the dialog ends at the screen's edges.
  host_.setWindowRect(window, {screen.width - 50, screen.height - 40, 300, 200});
  Seen s =
      look({T(""), T(""), T(folder_), T(""), I(0), I(0), T(""), I(host_.systemWindow(window))});
  EXPECT_EQ(s.frame.right() + 1, screen.left + screen.width);
  EXPECT_EQ(s.frame.bottom() + 1, screen.top + screen.height);

  // An owner off the top left: coordinates become 0.
  host_.setWindowRect(window, {-400, -300, 100, 100});
  s = look({T(""), T(""), T(folder_), T(""), I(0), I(0), T(""), I(host_.systemWindow(window))});
  EXPECT_EQ(s.frame.topLeft(), QPoint(0, 0));

  // Owner 0: centred on the screen.
  s = look({T(""), T(""), T(folder_), T(""), I(0), I(0), T(""), I(0)});
  EXPECT_EQ(s.frame.x(), screen.left + (screen.width - s.frame.width()) / 2);
  EXPECT_EQ(s.frame.y(), screen.top + (screen.height - s.frame.height()) / 2);
}

}  // namespace
}  // namespace velalib::testing

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's dialog keeps its state in the user's configuration; keep the tests out of it.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
