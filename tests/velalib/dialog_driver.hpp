// Drives modal dialogs from inside their own event loop: a watcher polls for a shown dialog of
// the wanted kind and runs an action on it. A dialog still missing after the deadline fails the
// test and whatever modal dialog is open is rejected, so a broken test never hangs.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <memory>

namespace velalib::testing {

template <class T>
void whenShown(std::function<void(T &)> action, int deadlineMs = 10000) {
  auto *timer = new QTimer(qApp);
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, action, deadlineMs] {
    QWidget *modal = QApplication::activeModalWidget();
    if (T *dialog = qobject_cast<T *>(modal); dialog && dialog->isVisible()) {
      timer->stop();
      timer->deleteLater();
      action(*dialog);
      return;
    }
    if (clock->elapsed() > deadlineMs) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no " << T::staticMetaObject.className() << " was shown in time";
      if (auto *dialog = qobject_cast<QDialog *>(modal)) dialog->reject();
    }
  });
  timer->start();
}

// Presses the button with this text (without "&") on the next message box; its text is kept
// in `text` when given.
void answerMessageBox(const char *button, QString *text = nullptr);

}  // namespace velalib::testing
