#pragma once

// Waiting in tests: events run (timers, sockets, bus replies) until a condition holds or the
// deadline passes. Deadlines are generous; nothing here depends on how fast the machine is.

#include <QSignalSpy>
#include <QTest>
#include <functional>

namespace orbelle::test {

// A deadline no healthy run comes near, even an unoptimised coverage build beside other builds.
inline constexpr int kDeadlineMs = 30000;

// True when `condition` held before `deadlineMs` passed.
inline bool waitUntil(const std::function<bool()>& condition, int deadlineMs = kDeadlineMs) {
  return QTest::qWaitFor(condition, deadlineMs);
}

// True when `spy` has seen at least `count` signals before `deadlineMs` passed.
inline bool waitForSignals(QSignalSpy& spy, int count = 1, int deadlineMs = kDeadlineMs) {
  return waitUntil([&] { return spy.count() >= count; }, deadlineMs);
}

}  // namespace orbelle::test
