#pragma once

// Ends the event loop in an orderly way (so the window still unloads and writes its settings)
// when the process gets SIGTERM, SIGINT or SIGHUP, as at the end of a desktop session.

class QObject;

namespace orbelle::shell {

// Installs the handlers; the notifier it creates is a child of `parent`.
void quitOnTerminationSignals(QObject* parent);

}  // namespace orbelle::shell
