#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <csignal>

// orbelle-station run by a test with --verbose, its standard error kept, no user options file.

namespace orbelle::station::test {

class StationProcess {
 public:
  StationProcess() {
    QObject::connect(&process_, &QProcess::readyReadStandardError,
                     [this] { output_ += QString::fromUtf8(process_.readAllStandardError()); });
  }
  ~StationProcess() {
    if (running()) process_.kill();
    process_.waitForFinished(5000);
  }

  bool start(const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config_.path());
    process_.setProcessEnvironment(environment);
    process_.start(QStringLiteral(ORBELLE_STATION_PROGRAM), QStringList{"--verbose"} + arguments);
    return process_.waitForStarted(30000);
  }
  // Ends it as Ctrl+C does, running the event loop (the map must answer); exit status or -1.
  int stop(int timeoutMs = 30000) {
    if (running()) {
      QSignalSpy finished(&process_, &QProcess::finished);
      ::kill(static_cast<pid_t>(process_.processId()), SIGTERM);
      if (!finished.wait(timeoutMs)) return -1;
    }
    output_ += QString::fromUtf8(process_.readAllStandardError());
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }
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
