#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <functional>

namespace orbelle::station::test {

// Runs the event loop until `condition` holds or `timeoutMs` has passed; whether it held.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 10000) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  return true;
}

// Runs the event loop for `ms` milliseconds.
inline void pump(int ms) {
  const QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
}

}  // namespace orbelle::station::test
