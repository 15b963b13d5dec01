#include "file_sel_dialog.hpp"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <vector>

namespace velalib {

namespace {

// Qt's name-filter form: "description (pattern pattern ...)".
QStringList qtNameFilters(const std::vector<FileFilter> &filters) {
  QStringList out;
  for (const FileFilter &f : filters) {
    QStringList patterns;
    for (const std::string &p : f.patterns) patterns << QString::fromUtf8(p);
    out << QString::fromUtf8(f.description) + QStringLiteral(" (") + patterns.join(u' ') +
               QStringLiteral(")");
  }
  return out;
}

// Child widgets of Qt's file dialog, by their object names.
constexpr const char *kFileNameBox[] = {"fileNameEdit", "fileNameLabel"};
constexpr const char *kFileTypeBox[] = {"fileTypeCombo", "fileTypeLabel"};
constexpr const char *kFolderBox[] = {"lookInCombo", "lookInLabel"};

}  // namespace

FileSelDialog::FileSelDialog(const FileDialogPlan &plan, const DialogPlacement &placement)
    : plan_(plan), placement_(placement) {
  setOption(QFileDialog::DontUseNativeDialog, true);
  // The type box shows descriptions only, as the operator wrote them.
  setOption(QFileDialog::HideNameFilterDetails, true);
  setAcceptMode(plan_.saveDialog() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  const bool existingOnly = plan_.fileMustExist() && !plan_.createPrompt();
  setFileMode(existingOnly ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (!plan_.saveDialog()) setOption(QFileDialog::DontConfirmOverwrite, true);

  setNameFilters(qtNameFilters(plan_.filters));
  if (!plan_.folder.empty()) setDirectory(QFile::decodeName(plan_.folder.c_str()));
  if (!plan_.fileName.empty()) selectFile(QFile::decodeName(plan_.fileName.c_str()));
  if (!plan_.defaultExtension.empty()) {
    setDefaultSuffix(QString::fromUtf8(plan_.defaultExtension));
  }
  if (!plan_.okCaption.empty()) {
    setLabelText(QFileDialog::Accept, QString::fromUtf8(plan_.okCaption));
  }
  setWindowTitle(QString::fromUtf8(plan_.title));

  addPathPanel();
  hideBoxes();
  showCurrentFolder();
  connect(this, &QFileDialog::directoryEntered, this, [this] { showCurrentFolder(); });
  connect(this, &QFileDialog::currentChanged, this, [this] { showCurrentFolder(); });
  if (auto *model = findChild<QFileSystemModel *>()) {
    connect(model, &QFileSystemModel::rootPathChanged, this, [this] { showCurrentFolder(); });
  }
}

void FileSelDialog::addPathPanel() {
  auto *panel = new QWidget(this);
  panel->setObjectName(kPathPanelName);
  auto *row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  auto *label = new QLabel(QString::fromLatin1(kPathLabelText), panel);
  label->setObjectName(kPathLabelName);
  pathEdit_ = new QLineEdit(panel);
  pathEdit_->setObjectName(kPathEditName);
  pathEdit_->setReadOnly(true);
  pathEdit_->setFrame(true);
  label->setBuddy(pathEdit_);
  row->addWidget(label);
  row->addWidget(pathEdit_, 1);

  // Qt's dialog lays its controls out in a grid: move every item one row down and put the
  // panel in the free top row, across all columns.
  auto *grid = qobject_cast<QGridLayout *>(layout());
  if (!grid) {
    layout()->addWidget(panel);
    return;
  }
  struct Placed {
    QLayoutItem *item;
    int row, column, rowSpan, columnSpan;
  };
  std::vector<Placed> items;
  while (grid->count() > 0) {
    Placed p{};
    grid->getItemPosition(0, &p.row, &p.column, &p.rowSpan, &p.columnSpan);
    p.item = grid->takeAt(0);
    items.push_back(p);
  }
  for (const Placed &p : items) grid->addItem(p.item, p.row + 1, p.column, p.rowSpan, p.columnSpan);
  grid->addWidget(panel, 0, 0, 1, std::max(1, grid->columnCount()));
}

void FileSelDialog::hideBoxes() {
  auto hide = [this](const char *const(&names)[2]) {
    for (const char *name : names) {
      if (auto *w = findChild<QWidget *>(QString::fromLatin1(name))) w->hide();
    }
  };
  if (plan_.hideFileName()) hide(kFileNameBox);
  if (plan_.hideFileType()) hide(kFileTypeBox);
  if (plan_.hideFolder()) hide(kFolderBox);
}

void FileSelDialog::showCurrentFolder() {
  if (pathEdit_) pathEdit_->setText(directory().absolutePath());
}

QString FileSelDialog::chosenPath() const {
  const QStringList files = selectedFiles();
  return files.isEmpty() ? QString() : files.first();
}

void FileSelDialog::accept() {
  const QString path = chosenPath();
  if (!path.isEmpty()) {
    const QFileInfo info(path);
    if (!info.isDir() && !info.exists()) {
      if (plan_.pathMustExist() && !info.absoluteDir().exists()) {
        QMessageBox::warning(this, windowTitle(),
                             tr("%1\nThe folder does not exist.\nCheck the path and try again.")
                                 .arg(QDir::toNativeSeparators(path)));
        return;
      }
      if (plan_.createPrompt() &&
          QMessageBox::question(this, windowTitle(),
                                tr("%1\nThis file does not exist.\nCreate the file?")
                                    .arg(QDir::toNativeSeparators(path))) != QMessageBox::Yes) {
        return;
      }
    }
  }
  QFileDialog::accept();
}

void FileSelDialog::showEvent(QShowEvent *event) {
  QFileDialog::showEvent(event);
  placeOverOwner();
}

void FileSelDialog::placeOverOwner() {
  Rect screen;
  if (placement_.screen && placement_.screen->width > 0 && placement_.screen->height > 0) {
    screen = *placement_.screen;
  } else if (const QScreen *primary = QGuiApplication::primaryScreen()) {
    const QRect g = primary->geometry();
    screen = Rect{g.x(), g.y(), g.width(), g.height()};
  }
  const Rect owner = placement_.owner.value_or(screen);
  const QSize size = frameGeometry().size();
  const Point at = centreDialog(owner, size.width(), size.height(), screen);
  move(at.x, at.y);
}

std::string runFileSelDialog(const FileDialogPlan &plan, const DialogPlacement &placement) {
  FileSelDialog dialog(plan, placement);
  if (dialog.exec() != QDialog::Accepted) return {};
  return QFile::encodeName(dialog.chosenPath()).toStdString();
}

}  // namespace velalib
