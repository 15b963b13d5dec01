#include "e2e/station_process.hpp"

#include <QProcessEnvironment>
#include <QSignalSpy>
#include <csignal>

namespace orbelle::station::test {

StationProcess::StationProcess() {
  QObject::connect(&process_, &QProcess::readyReadStandardError,
                   [this] { output_ += QString::fromUtf8(process_.readAllStandardError()); });
}

StationProcess::~StationProcess() {
  if (running()) {
    process_.kill();
    process_.waitForFinished(5000);
  }
}

bool StationProcess::start(const QStringList& arguments) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config_.path());
  process_.setProcessEnvironment(environment);
  process_.setProgram(QStringLiteral(ORBELLE_STATION_PROGRAM));
  process_.setArguments(QStringList{QStringLiteral("--verbose")} + arguments);
  process_.start();
  return process_.waitForStarted(30000);
}

int StationProcess::stop(int timeoutMs) {
  if (running()) {
    QSignalSpy finished(&process_, &QProcess::finished);
    ::kill(static_cast<pid_t>(process_.processId()), SIGTERM);
    if (!finished.wait(timeoutMs)) return -1;
  }
  output_ += QString::fromUtf8(process_.readAllStandardError());
  return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

}  // namespace orbelle::station::test
