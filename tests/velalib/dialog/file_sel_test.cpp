// file_sel through foxhost, offscreen: the dialog is checked and answered from its event loop.
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "dialog_driver.hpp"
#include "host_fixture.hpp"

namespace velalib::testing {
namespace {

template <class W = QWidget>
W *child(QFileDialog &d, const char *name) {
  return d.findChild<W *>(QLatin1String(name));
}

void typeAndAccept(QFileDialog &d, const std::string &name) {
  auto *edit = child<QLineEdit>(d, "fileNameEdit");
  ASSERT_NE(edit, nullptr);
  if (!name.empty()) edit->setText(QString::fromStdString(name));
  static_cast<QDialog &>(d).accept();
}

class FileSel : public VelalibHost {
 protected:
  void SetUp() override {
    VelalibHost::SetUp();
    ASSERT_TRUE(dir_.isValid());
    folder_ = std::filesystem::canonical(dir_.path().toStdString()).string();
    for (const char *name : {"log.adi", "notes.txt"}) std::ofstream(folder_ + "/" + name) << "x";
    std::filesystem::create_directory(folder_ + "/sub");
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

// The dialog's texts, mode and hidden boxes on one line; runs of 10+ of a character as "x*79".
QString describe(QFileDialog &d) {
  QStringList types, hidden;
  for (int i = 0; i < child<QComboBox>(d, "fileTypeCombo")->count(); ++i) {
    types << child<QComboBox>(d, "fileTypeCombo")->itemText(i);
  }
  const std::pair<const char *, const char *> boxes[] = {{"fileNameEdit", "fileNameLabel"},
                                                         {"fileTypeCombo", "fileTypeLabel"},
                                                         {"lookInCombo", "lookInLabel"}};
  for (const auto &[box, label] : boxes) {
    const bool shown = child(d, box) && child(d, box)->isVisible();
    EXPECT_EQ(child(d, label) && child(d, label)->isVisible(), shown) << box;
    if (!shown) hidden << box;
  }
  QString mode = d.acceptMode() == QFileDialog::AcceptSave ? "save" : "open";
  if (d.fileMode() == QFileDialog::ExistingFile) mode += " existing";
  if (!d.testOption(QFileDialog::DontConfirmOverwrite)) mode += " confirm";
  QString text = QStringList{d.windowTitle(),
                             d.nameFilters().join(','),
                             types.join(','),
                             child<QLineEdit>(d, "fileNameEdit")->text(),
                             d.labelText(QFileDialog::Accept),
                             d.defaultSuffix(),
                             mode,
                             hidden.join(',')}
                     .join(" | ");
  static const QRegularExpression run(QStringLiteral("(.)\\1{9,}"));
  for (QRegularExpressionMatch m = run.match(text); m.hasMatch(); m = run.match(text)) {
    text.replace(m.capturedStart(), m.capturedLength(),
                 m.captured(1) + "*" + QString::number(m.capturedLength()));
  }
  return text;
}

// Texts cut to 79, 126, 260 and 19 characters; filter lists; mode and boxes from the options.
TEST_F(FileSel, TextsModesAndHiddenBoxes) {
  const std::string x(10000, 'x'), plain = " | *.* (*) | *.* |  | &Open |  | ";
  const auto opts = [&](int32_t options, int32_t extra) {
    return std::vector<Value>{T(""), T(""), T(folder_), T(""), I(options), I(extra)};
  };
  const std::pair<std::vector<Value>, std::string> cases[] = {
      {{}, plain + "open | "},
      {{T("Open log"), T("*.adi")}, "Open log | *.adi (*.adi) | *.adi |  | &Open |  | open | "},
      // Patterns trimmed, empty ones skipped, a description without patterns dropped, and the
      // list ends at an empty description.
      {{T(std::string(100, 'T')), T("Logs|*.adi|Text| *.txt ; ;*.log|Odd|||Gone|*.x")},
       "T*79 | Logs (*.adi),Text (*.txt *.log) | Logs,Text |  | &Open |  | open | "},
      {{T("Pick"), T("*.adi"), T(folder_), T("notes.txt"), I(8), I(0), T("Use this file, please")},
       "Pick | *.adi (*.adi) | *.adi | notes.txt | Use this file, plea | x | open | "},
      {{T(x), T(x), T(x), T(x), I(0), I(0), T(x)},
       "x*79 | x*126 (x*126) | x*126 | x*260 | x*19 |  | open | "},
      {opts(1, 0), plain + "open existing | "},
      {opts(4, 0), " | *.* (*) | *.* |  | &Save |  | save confirm | "},
      {opts(0, 2), " | *.* (*) | *.* |  | &Save |  | save confirm | "},
      {opts(0x80, 0), plain + "open | fileNameEdit"},
      {opts(0x100, 0), plain + "open | fileTypeCombo"},
      {opts(0x200, 0), plain + "open | lookInCombo"},
  };
  for (const auto &[args, described] : cases) {
    look(args, [&](QFileDialog &d) { EXPECT_EQ(describe(d).toStdString(), described); });
  }
}

// The read-only path panel sits above the controls and follows the folder, also a typed one.
TEST_F(FileSel, PathPanelFollowsTheFolder) {
  QStringList shownPaths;
  look({T(""), T(""), T(folder_)}, [&](QFileDialog &d) {
    EXPECT_TRUE(d.testOption(QFileDialog::DontUseNativeDialog));
    auto *path = child<QLineEdit>(d, "velalibPathEdit");
    ASSERT_TRUE(path && path->isReadOnly());
    EXPECT_EQ(child<QLabel>(d, "velalibPathLabel")->text(), "Path:");
    const int panelBottom = path->mapTo(&d, QPoint(0, path->height())).y();
    for (const char *below : {"lookInCombo", "splitter"}) {
      EXPECT_LE(panelBottom, child(d, below)->mapTo(&d, QPoint()).y()) << below;
    }
    shownPaths << path->text();
    typeAndAccept(d, "sub");
    shownPaths << path->text();
    d.setDirectory(QString::fromStdString(folder_));
    shownPaths << path->text();
  });
  const QString folder = QString::fromStdString(folder_);
  EXPECT_EQ(shownPaths, (QStringList{folder, folder + "/sub", folder}));
}

// Chosen names come back whole; a questioned or refused name keeps the dialog open once.
TEST_F(FileSel, ChosenFilesPromptsAndRefusals) {
  const std::string x(10000, 'x');
  const struct {
    int32_t options;
    std::string filter, initial, typed;
    const char *firstAnswer, *secondAnswer;  // no answer: no box; no second: cancelled
    const char *question;                    // a part of the first message box's text
    std::string result;
  } cases[] = {
      {0, "", "", "log.adi", nullptr, nullptr, "", "/log.adi"},
      {0, "", "notes.txt", "", nullptr, nullptr, "", "/notes.txt"},
      {4 | 8, "", "", "newlog", nullptr, nullptr, "", "/newlog.x"},
      {1, "Logs|" + x, x, "log.adi", nullptr, nullptr, "", "/log.adi"},
      {2, "", "", "fresh.adi", "No", "Yes", "fresh.adi", "/fresh.adi"},
      {1, "", "", "nothere.adi", "OK", nullptr, "", ""},
      {0, "", "", "/no/such/file.adi", "OK", nullptr, "does not exist", ""},
      {4, "", "", "log.adi", "No", "Yes", "log.adi", "/log.adi"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.typed);
    QString question;
    bool stillOpen = false;
    const std::string typed = c.typed[0] == '/' ? folder_ + c.typed : c.typed;
    const std::string result =
        run({T(x), T(c.filter), T(folder_), T(c.initial), I(c.options), I(0), T(x)},
            [&](QFileDialog &d) {
              if (c.firstAnswer) answerMessageBox(c.firstAnswer, &question);
              typeAndAccept(d, typed);
              if (!c.firstAnswer) return;
              stillOpen = d.isVisible();
              if (!c.secondAnswer) return d.reject();
              answerMessageBox(c.secondAnswer);
              typeAndAccept(d, "");
            });
    EXPECT_EQ(stillOpen, c.firstAnswer != nullptr);
    EXPECT_TRUE(question.contains(c.question)) << question.toStdString();
    EXPECT_EQ(result, c.result.empty() ? "" : folder_ + c.result);
  }
}

// Centred over the owner (none: the main window; 0: the screen), kept on the screen at both ends.
TEST_F(FileSel, PlacementOverAnOwnerKeptOnScreen) {
  const foxhost::WindowRect screen = host_.windowRect(0);
  const int32_t corner = host_.objectWindow(host_.createObject("form"), false);
  const int32_t origin = host_.objectWindow(host_.createObject("form"), false);
  host_.setWindowRect(corner, {screen.width - 50, screen.height - 40, 300, 200});
  host_.setWindowRect(origin, {-100, -80, 300, 200});
  host_.setWindowRect(host_.mainWindow(), {100, 60, 900, 700});
  const struct {
    int32_t owner;  // -1: no owner argument
    foxhost::WindowRect over;
    int clamp;  // to the screen's start (-1) or end (1)
  } cases[] = {
      {-1, {100, 60, 900, 700}, 0},
      {host_.systemWindow(corner), screen, 1},
      {host_.systemWindow(origin), screen, -1},
      {0, screen, 0},
  };
  for (const auto &c : cases) {
    std::vector<Value> args{T(""), T(""), T(folder_), T(""), I(0), I(0), T(""), I(c.owner)};
    if (c.owner < 0) args.clear();
    look(args, [&](QFileDialog &d) {
      const QRect f = d.frameGeometry();
      const int x =
          c.clamp ? (c.clamp > 0) * (c.over.width - f.width()) : (c.over.width - f.width()) / 2;
      const int y =
          c.clamp ? (c.clamp > 0) * (c.over.height - f.height()) : (c.over.height - f.height()) / 2;
      EXPECT_EQ(f.topLeft(), QPoint(c.over.left + x, c.over.top + y)) << c.owner;
    });
  }
}

}  // namespace
}  // namespace velalib::testing
