#pragma once

// The save-file dialog of "&Save picture" behind an interface, so tests can drive the dialog
// loop.

#include <QString>

class QWidget;

namespace orbelle::shell {

struct SaveDialogRequest {
  QString filter;            // "Description|pattern" pairs, as "Bitmap (*.bmp)|*.bmp"
  QString defaultExtension;  // appended to a name typed without extension
  QString initialFolder;
  bool overwritePrompt = true;  // ask before replacing an existing file
};

struct SaveDialogResult {
  QString fileName;                 // empty when the operator cancelled
  bool extensionDifferent = false;  // the chosen name has an extension other than the default
};

class SaveDialog {
 public:
  virtual ~SaveDialog() = default;
  // Shows the dialog once; the process's current directory is left unchanged.
  virtual SaveDialogResult show(const SaveDialogRequest& request) = 0;
};

// The Qt file dialog in save mode, modal to `owner`.
class QtSaveDialog final : public SaveDialog {
 public:
  explicit QtSaveDialog(QWidget* owner = nullptr) : owner_(owner) {}
  void setOwner(QWidget* owner) { owner_ = owner; }
  SaveDialogResult show(const SaveDialogRequest& request) override;

 private:
  QWidget* owner_;
};

// Whether a chosen name's extension differs from the default one (case-blind). A name without
// any extension does not differ: the default is appended to it.
bool extensionDiffers(const QString& fileName, const QString& defaultExtension);

}  // namespace orbelle::shell
