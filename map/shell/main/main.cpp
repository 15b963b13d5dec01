// orbelle: starts the map window and runs until it is unloaded.

#include <QApplication>
#include <QFileInfo>

#include "shell/form1.hpp"
#include "shell/help_viewer.hpp"
#include "shell/message_boxes.hpp"
#include "shell/quit_on_signal.hpp"
#include "shell/save_dialog.hpp"
#include "shell/texts.hpp"

using namespace orbelle::shell;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName(QString::fromUtf8(text::kProgramName));
  // The window may be hidden while the program goes on; it ends when the window unloads.
  QApplication::setQuitOnLastWindowClosed(false);

  QtMessageBoxes messages;
  QtSaveDialog saveDialog;
  DesktopLauncher launcher;
  DesktopHelpViewer help(launcher, DesktopHelpViewer::processPlaces());

  FormServices services;
  services.messages = &messages;
  services.help = &help;
  services.saveDialog = &saveDialog;
  services.programFolder =
      QFileInfo(QCoreApplication::applicationFilePath()).canonicalPath().toStdString();

  Form1 form(services);
  messages.setOwner(&form);
  saveDialog.setOwner(&form);
  form.setUnloadHandler([] { QCoreApplication::quit(); });
  QObject::connect(&app, &QCoreApplication::aboutToQuit, &form, [&form] { form.Form_Unload(); });
  quitOnTerminationSignals(&app);

  form.Form_Load();
  form.ShowAfterLoad();
  return QApplication::exec();
}
