#pragma once

// A short note at the foot of the map window, shown for a few seconds: how the operator learns
// that the host did not answer a rotor or rig request. It takes no input and covers nothing the
// operator needs while it shows.

#include <QString>

class QLabel;
class QTimer;
class QWidget;

namespace orbelle::shell {

class HostNotice {
 public:
  // How long a note stays, in milliseconds.
  static constexpr int kShowMs = 4000;

  // The note is a child of `window` and lives as long as it.
  explicit HostNotice(QWidget* window);

  void show(const QString& text);
  bool showing() const;
  QString text() const;

 private:
  QWidget* window_;
  QLabel* label_;
  QTimer* timer_;
};

}  // namespace orbelle::shell
