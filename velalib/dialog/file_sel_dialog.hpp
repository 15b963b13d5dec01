// The file dialog of file_sel: Qt's own file dialog (never the desktop's native one) set up
// from a FileDialogPlan, with a read-only "Path:" panel above the standard controls that follows
// the current folder, hidden boxes by option flags, the OK caption, and placement over the
// owner window kept on screen.
#pragma once

#include <QFileDialog>
#include <optional>
#include <string>

#include "file_dialog_plan.hpp"

class QLineEdit;

namespace velalib {

// Object names under which tests and style sheets find the path panel.
inline constexpr const char *kPathPanelName = "velalibPathPanel";
inline constexpr const char *kPathLabelName = "velalibPathLabel";
inline constexpr const char *kPathEditName = "velalibPathEdit";
inline constexpr const char *kPathLabelText = "Path:";

// Where to centre the dialog, in pixels; without an owner it is centred on the screen, and
// without a screen rectangle the primary screen of the display is used.
struct DialogPlacement {
  std::optional<Rect> owner;
  std::optional<Rect> screen;
};

class FileSelDialog : public QFileDialog {
 public:
  FileSelDialog(const FileDialogPlan &plan, const DialogPlacement &placement);

  // The chosen path, after the dialog was accepted.
  QString chosenPath() const;

 protected:
  void accept() override;
  void showEvent(QShowEvent *event) override;

 private:
  void addPathPanel();
  void hideBoxes();
  void showCurrentFolder();
  void placeOverOwner();

  FileDialogPlan plan_;
  DialogPlacement placement_;
  QLineEdit *pathEdit_ = nullptr;
};

// Shows the dialog modally and returns the chosen path in the file system's encoding, or the
// empty text when it was cancelled.
std::string runFileSelDialog(const FileDialogPlan &plan, const DialogPlacement &placement);

}  // namespace velalib
