// file_sel through foxhost, on Qt's offscreen platform: the dialog is inspected and answered
// from inside its own event loop.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "dialog_driver.hpp"
#include "host_fixture.hpp"

namespace velalib::testing {
namespace {

namespace fs = std::filesystem;

template <class W = QWidget>
W *child(QFileDialog &d, const char *name) {
  return d.findChild<W *>(QLatin1String(name));
}

// A box and its label are both shown or both hidden; true when shown.
bool shownWithLabel(QFileDialog &d, const char *box, const char *label) {
  const bool shown = child(d, box) && child(d, box)->isVisible();
  EXPECT_EQ(child(d, label) && child(d, label)->isVisible(), shown) << box;
  return shown;
}

QStringList typeBoxItems(QFileDialog &d) {
  QStringList items;
  auto *types = child<QComboBox>(d, "fileTypeCombo");
  for (int i = 0; types && i < types->count(); ++i) items << types->itemText(i);
  return items;
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

  // Calls file_sel, checks the dialog it shows with `check`, and cancels it.
  void look(const std::vector<Value> &args, std::function<void(QFileDialog &)> check) {
    EXPECT_EQ(run(args,
                  [&](QFileDialog &d) {
                    check(d);
                    d.reject();
                  }),
              "");
  }

  QTemporaryDir dir_;
  std::string folder_;
};

TEST_F(FileSel, WithoutArgumentsAnOpenDialogOverTheMainWindow) {
  host_.setWindowRect(host_.mainWindow(), {100, 60, 900, 700});
  look({}, [](QFileDialog &d) {
    EXPECT_TRUE(d.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(d.windowTitle(), "");
    EXPECT_EQ(d.nameFilters(), QStringList{"*.* (*)"});
    EXPECT_EQ(typeBoxItems(d), QStringList{"*.*"});
    EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(d.fileMode(), QFileDialog::AnyFile);
    EXPECT_EQ(d.defaultSuffix(), "");
    // The read-only path panel above the standard controls, showing the folder.
    auto *label = child<QLabel>(d, "velalibPathLabel");
    auto *path = child<QLineEdit>(d, "velalibPathEdit");
    ASSERT_TRUE(label && path);
    EXPECT_EQ(label->text(), "Path:");
    EXPECT_TRUE(path->isReadOnly());
    EXPECT_EQ(path->text(), d.directory().absolutePath());
    const int panelBottom = path->mapTo(&d, QPoint(0, path->height())).y();
    for (const char *below : {"lookInCombo", "splitter"}) {
      ASSERT_NE(child(d, below), nullptr) << below;
      EXPECT_LE(panelBottom, child(d, below)->mapTo(&d, QPoint()).y()) << below;
    }
    // Centred over the main window; halving truncates toward zero.
    EXPECT_EQ(d.frameGeometry().x(), 100 + (900 - d.frameGeometry().width()) / 2);
    EXPECT_EQ(d.frameGeometry().y(), 60 + (700 - d.frameGeometry().height()) / 2);
  });
}

TEST_F(FileSel, FiltersAndTitle) {
  look({T("Open log"), T("*.adi")}, [](QFileDialog &d) {
    EXPECT_EQ(d.windowTitle(), "Open log");
    EXPECT_EQ(d.nameFilters(), QStringList{"*.adi (*.adi)"});
    EXPECT_EQ(typeBoxItems(d), QStringList{"*.adi"});
  });
  look({T(std::string(100, 'T')), T("Logs|*.adi|Text|*.txt;*.log")}, [](QFileDialog &d) {
    EXPECT_EQ(d.windowTitle().size(), 79);
    EXPECT_EQ(d.nameFilters(), (QStringList{"Logs (*.adi)", "Text (*.txt *.log)"}));
    EXPECT_EQ(typeBoxItems(d), (QStringList{"Logs", "Text"}));
  });
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
    look({T(""), T(""), T(folder_), T(""), I(c.options), I(c.extra)}, [&](QFileDialog &d) {
      EXPECT_EQ(d.acceptMode(), c.acceptMode);
      EXPECT_EQ(d.fileMode(), c.fileMode);
      EXPECT_EQ(!d.testOption(QFileDialog::DontConfirmOverwrite), c.confirmOverwrite);
      EXPECT_EQ(shownWithLabel(d, "fileNameEdit", "fileNameLabel"), c.fileName);
      EXPECT_EQ(shownWithLabel(d, "fileTypeCombo", "fileTypeLabel"), c.fileType);
      EXPECT_EQ(shownWithLabel(d, "lookInCombo", "lookInLabel"), c.folder);
    });
  }
}

TEST_F(FileSel, InitialFolderFileNameCaptionAndDefaultExtension) {
  look({T("Pick"), T("*.adi"), T(folder_), T("notes.txt"), I(8), I(0), T("Use this file, please")},
       [&](QFileDialog &d) {
         EXPECT_EQ(d.directory().absolutePath().toStdString(), folder_);
         EXPECT_EQ(child<QLineEdit>(d, "velalibPathEdit")->text().toStdString(), folder_);
         EXPECT_EQ(child<QLineEdit>(d, "fileNameEdit")->text(), "notes.txt");
         EXPECT_EQ(d.labelText(QFileDialog::Accept), "Use this file, plea");  // 19 characters
         EXPECT_EQ(d.defaultSuffix(), "x");
       });
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
  const int32_t window = host_.objectWindow(host_.createObject("form"), false);
  const auto withOwner = [&](int32_t owner) {
    return std::vector<Value>{T(""), T(""), T(folder_), T(""), I(0), I(0), T(""), I(owner)};
  };
  // An owner in the bottom right corner: the dialog ends at the screen's edges.
  host_.setWindowRect(window, {screen.width - 50, screen.height - 40, 300, 200});
  look(withOwner(host_.systemWindow(window)), [&](QFileDialog &d) {
    EXPECT_EQ(d.frameGeometry().right() + 1, screen.left + screen.width);
    EXPECT_EQ(d.frameGeometry().bottom() + 1, screen.top + screen.height);
  });
  // An owner off the top left: coordinates become 0.
  host_.setWindowRect(window, {-400, -300, 100, 100});
  look(withOwner(host_.systemWindow(window)),
       [](QFileDialog &d) { EXPECT_EQ(d.frameGeometry().topLeft(), QPoint(0, 0)); });
  // Owner 0: centred on the screen.
  look(withOwner(0), [&](QFileDialog &d) {
    EXPECT_EQ(d.frameGeometry().x(), screen.left + (screen.width - d.frameGeometry().width()) / 2);
    EXPECT_EQ(d.frameGeometry().y(), screen.top + (screen.height - d.frameGeometry().height()) / 2);
  });
}

}  // namespace
}  // namespace velalib::testing
