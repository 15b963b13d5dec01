// orbelle: the map program. Started by the session bus (or by hand with "EXE=T"), it makes the
// map's model and its window, loads them, serves the model on the bus as Orbelle.server and runs
// until the window has unloaded and no server object remains. This is the one place that knows
// every layer.

#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <memory>
#include <string>

#include "model/map_model.hpp"
#include "program_folder.hpp"
#include "server/automation.hpp"
#include "server/logged_message_boxes.hpp"
#include "server/startup.hpp"
#include "shell/form1.hpp"
#include "shell/help_viewer.hpp"
#include "shell/qt_message_boxes.hpp"
#include "shell/save_dialog.hpp"
#include "shell/texts.hpp"
#include "shutdown/termination_signals.hpp"

using namespace orbelle;

namespace {

void complain(const QString& text) {
  std::fprintf(stderr, "orbelle: %s\n", text.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const server::StartMode mode =
      server::startModeOf(arguments, qEnvironmentVariable("DBUS_STARTER_BUS_TYPE"));

  // Without a display Qt would abort: it is offered the off-screen platform last instead, and
  // the program decides what that means.
  const bool chosen = server::platformChosen(arguments, qEnvironmentVariable("QT_QPA_PLATFORM"));
  if (!chosen) {
    qputenv("QT_QPA_PLATFORM",
            server::platformsToTry(qEnvironmentVariable("WAYLAND_DISPLAY")).toLocal8Bit());
  }
  QApplication app(argc, argv);
  if (!chosen) qunsetenv("QT_QPA_PLATFORM");  // programs the map starts choose their own
  switch (server::displayOutcome(mode, chosen, QGuiApplication::platformName())) {
    case server::DisplayOutcome::Window:
      break;
    case server::DisplayOutcome::OffscreenForBus:
      complain(QString::fromUtf8(server::kOffscreenForBus));
      break;
    case server::DisplayOutcome::NoDisplay:
      complain(QString::fromUtf8(server::kNoDisplay));
      return 1;
  }
  const QString title = QString::fromUtf8(shell::text::kProgramName);
  QCoreApplication::setApplicationName(title);
  // The window may be hidden while the program goes on; the program decides when it ends.
  QApplication::setQuitOnLastWindowClosed(false);

  shell::QtMessageBoxes shownMessages;
  const QString messageLog = qEnvironmentVariable(server::kMessageLogVariable);
  server::LoggedMessageBoxes loggedMessages(messageLog);
  model::MessageBoxes& messages = messageLog.isEmpty()
                                      ? static_cast<model::MessageBoxes&>(shownMessages)
                                      : static_cast<model::MessageBoxes&>(loggedMessages);

  if (mode == server::StartMode::Refused) {
    messages.message(QString::fromUtf8(server::kOnlyAsServer), title, model::MessageIcon::Error);
    return 1;
  }
  if (mode == server::StartMode::BusActivated) {
    // The bus starts the program in its own folder: settings and cache go to the user's data.
    QString error;
    const QString folder =
        server::busWorkingFolder(qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath());
    if (!server::enterWorkingFolder(folder, &error)) {
      complain(error);
      return 1;
    }
  }

  // The outline files and the help page: beside the program in the build tree, under
  // share/orbelle once installed.
  const std::string dataFolder = app::dataFolder(
      QFileInfo(QCoreApplication::applicationFilePath()).canonicalPath().toStdString());
  shell::QtSaveDialog saveDialog;
  shell::DesktopLauncher launcher;
  shell::DesktopHelpViewer help(
      launcher, shell::DesktopHelpViewer::processPlaces(QString::fromStdString(dataFolder)));
  shell::FormServices formServices;
  formServices.messages = &messages;
  formServices.help = &help;
  formServices.saveDialog = &saveDialog;
  model::ModelServices services;
  services.messages = &messages;
  services.programFolder = dataFolder;

  model::MapModel model(services);
  shell::Form1 form(model, formServices);
  shownMessages.setOwner(&form);
  saveDialog.setOwner(&form);

  // Objects and name are registered before the event loop runs, so that the call that made the
  // bus start the program finds them.
  std::unique_ptr<server::Automation> automation;
  // Started by the bus, the map serves the bus that started it.
  const QDBusConnection bus =
      mode == server::StartMode::BusActivated
          ? QDBusConnection::connectToBus(QDBusConnection::ActivationBus, QStringLiteral("starter"))
          : QDBusConnection::sessionBus();
  if (bus.isConnected()) {
    server::Automation::Options options;
    options.endWithBus = mode == server::StartMode::BusActivated;
    automation =
        std::make_unique<server::Automation>(model, bus, options, [] { QCoreApplication::quit(); });
    QString error;
    if (!automation->registerObjects(&error) || !automation->registerService(&error)) {
      complain(error);
      if (mode == server::StartMode::BusActivated) return 1;
      automation.reset();  // by hand: the window runs without the bus
    }
  } else {
    complain(QStringLiteral("no session bus: %1").arg(bus.lastError().message()));
    if (mode == server::StartMode::BusActivated) return 1;
  }
  if (!automation) {
    QObject::connect(&model, &model::MapModel::unloadedChanged, &app,
                     [] { QCoreApplication::quit(); });
  }

  QObject::connect(&app, &QCoreApplication::aboutToQuit, &form, [&form] { form.Form_Unload(); });
  onTerminationSignals(&app, [] { QCoreApplication::quit(); });

  form.Form_Load();
  form.ShowAfterLoad();
  const int status = QApplication::exec();
  automation.reset();
  return status;
}
