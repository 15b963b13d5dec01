#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "shell/save_dialog.hpp"

namespace orbelle::shell {
namespace {

// "Description|pattern|Description|pattern" as Qt name filters "Description (pattern)"; a
// description that already names its pattern in brackets is kept as it is.
QStringList nameFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString& pattern = parts[i + 1];
    if (description.contains(QLatin1Char('(')) && description.contains(pattern)) {
      filters << description;
    } else {
      filters << QStringLiteral("%1 (%2)").arg(description, pattern);
    }
  }
  if (parts.size() % 2 == 1 && !parts.back().isEmpty()) filters << parts.back();
  return filters;
}

}  // namespace

bool extensionDiffers(const QString& fileName, const QString& defaultExtension) {
  const QString suffix = QFileInfo(fileName).suffix();
  if (suffix.isEmpty()) return false;
  return suffix.compare(defaultExtension, Qt::CaseInsensitive) != 0;
}

SaveDialogResult QtSaveDialog::show(const SaveDialogRequest& request) {
  QFileDialog dialog(owner_);
  // Qt's own dialog on every desktop: the default extension and the overwrite prompt then behave
  // the same everywhere.
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(nameFilters(request.filter));
  dialog.setDefaultSuffix(request.defaultExtension);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
  if (!request.initialFolder.isEmpty()) dialog.setDirectory(request.initialFolder);
  SaveDialogResult result;
  if (dialog.exec() != QDialog::Accepted) return result;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return result;
  result.fileName = files.front();
  result.extensionDifferent = extensionDiffers(result.fileName, request.defaultExtension);
  return result;
}

}  // namespace orbelle::shell
