// Runs an action on the next shown dialog of a kind, from inside that dialog's event loop; at
// the deadline a missing dialog fails the test and any open modal dialog is rejected.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <functional>

namespace velalib::testing {

template <class T>
class ShownWatch : public QObject {
 public:
  ShownWatch(std::function<void(T &)> action, int deadlineMs)
      : QObject(qApp), action_(std::move(action)) {
    qApp->installEventFilter(this);
    QTimer::singleShot(deadlineMs, this, [this] {
      ADD_FAILURE() << "no " << T::staticMetaObject.className() << " was shown in time";
      if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
        dialog->reject();
      }
      deleteLater();
    });
  }

  bool eventFilter(QObject *object, QEvent *event) override {
    T *dialog = event->type() == QEvent::Show ? qobject_cast<T *>(object) : nullptr;
    if (dialog && !done_) {
      done_ = true;
      qApp->removeEventFilter(this);
      QTimer::singleShot(0, dialog, [this, dialog] {
        action_(*dialog);
        deleteLater();
      });
    }
    return false;
  }

 private:
  std::function<void(T &)> action_;
  bool done_ = false;
};

template <class T>
void whenShown(std::function<void(T &)> action, int deadlineMs = 10000) {
  new ShownWatch<T>(std::move(action), deadlineMs);
}

// Presses the button with this text (without "&") on the next message box; keeps its text.
inline void answerMessageBox(const char *button, QString *text = nullptr) {
  whenShown<QMessageBox>([button, text](QMessageBox &box) {
    if (text) *text = box.text();
    for (QAbstractButton *b : box.buttons()) {
      if (b->text().remove(u'&').compare(QLatin1String(button), Qt::CaseInsensitive) == 0) {
        return b->click();
      }
    }
    ADD_FAILURE() << "message box has no button " << button;
    box.reject();
  });
}

}  // namespace velalib::testing
