#include "widget_application.hpp"

#include <QApplication>
#include <cstdlib>
#include <memory>

namespace velalib {

namespace {

// QApplication keeps references to argc and argv for its whole life.
int g_argc = 1;
char g_programName[] = "velalib";
char *g_argv[] = {g_programName, nullptr};

std::unique_ptr<QApplication> &ownApplication() {
  static std::unique_ptr<QApplication> app;
  return app;
}

bool hasDisplay() {
  // Without a platform named and without a display, Qt would abort the whole host process.
  for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char *value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

}  // namespace

std::string ensureWidgetApplication() {
  if (QCoreApplication *existing = QCoreApplication::instance()) {
    if (qobject_cast<QApplication *>(existing)) return {};
    return "file_sel() cannot show a dialog: the host's Qt application has no widgets";
  }
  if (!hasDisplay()) return "file_sel() cannot show a dialog: no display";
  ownApplication() = std::make_unique<QApplication>(g_argc, g_argv);
  return {};
}

}  // namespace velalib
