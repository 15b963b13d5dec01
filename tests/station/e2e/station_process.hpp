#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The orbelle-station program run by a test, on the test's session bus, with everything it
// writes on standard error kept.

namespace orbelle::station::test {

class StationProcess {
 public:
  StationProcess();
  ~StationProcess();

  // Starts the program with `arguments` and --verbose; it reads no options file of the user's.
  bool start(const QStringList& arguments);
  // Ends it as the operator's Ctrl+C does and runs the event loop until it has ended (the map
  // in this process must answer its Release). Its exit status, or -1 when it did not end.
  int stop(int timeoutMs = 30000);
  bool running() const { return process_.state() != QProcess::NotRunning; }

  // Standard error so far (the event loop must have run for it to arrive).
  const QString& output() const { return output_; }
  int count(const QString& part) const { return output_.count(part); }

 private:
  QProcess process_;
  QTemporaryDir config_;
  QString output_;
};

}  // namespace orbelle::station::test
