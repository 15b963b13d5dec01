#include "map_in_process.hpp"

#include <QApplication>
#include <QDBusConnection>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <fstream>

#include "render/outline_records.hpp"
#include "server/bus_values.hpp"
#include "shell/surface_widget.hpp"
#include "spots/spot_list.hpp"

namespace orbelle::station::test {
namespace {

class NoMessages final : public model::MessageBoxes {
 public:
  void message(const QString& text, const QString&, model::MessageIcon) override {
    ADD_FAILURE() << "the map showed a message: " << text.toStdString();
  }
  bool askYesNo(const QString&, const QString&) override { return false; }
};

class NoSaveDialog final : public shell::SaveDialog {
 public:
  shell::SaveDialogResult show(const shell::SaveDialogRequest&) override { return {}; }
};

class NoHelp final : public shell::HelpViewer {
 public:
  shell::HelpShown showHelp(const QString&, const QString&) override { return {}; }
};

// Outline files of a few small squares: a drawing pass over them takes moments.
void writeOutlines(const QString& folder) {
  using render::OutlineRecord;
  std::vector<OutlineRecord> records;
  for (int i = 0; i < 10; ++i) {
    const auto lat = static_cast<std::int16_t>(600 + 60 * i);  // minutes of arc
    const auto lon = static_cast<std::int16_t>(1200);
    records.push_back({1001, lat, lon});
    records.push_back({1, static_cast<std::int16_t>(lat + 30), lon});
    records.push_back(
        {1, static_cast<std::int16_t>(lat + 30), static_cast<std::int16_t>(lon + 30)});
    records.push_back({1, lat, lon});
  }
  records.push_back({0, 0, 0});
  const std::vector<std::byte> bytes = render::encodeOutlineRecords(records);
  for (const char* name :
       {"state.pnt", "country.pnt", "coast.velapnt", "island.pnt", "lake.pnt", "river.pnt"}) {
    std::ofstream out((folder + QLatin1Char('/') + QLatin1String(name)).toStdString(),
                      std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
}

}  // namespace

void MapInProcess::SetUp() {
  ASSERT_TRUE(dir.isValid());
  oldCwd = QDir::currentPath();
  // The window keeps its settings and cache in the working folder.
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("mapdata"))));
  writeOutlines(path(QStringLiteral("mapdata")));
  openMap();
}

void MapInProcess::openMap() {
  messages = std::make_unique<NoMessages>();
  saveDialog = std::make_unique<NoSaveDialog>();
  help = std::make_unique<NoHelp>();
  model::ModelServices modelServices;
  modelServices.messages = messages.get();
  modelServices.programFolder = dir.path().toStdString();
  model = std::make_unique<model::MapModel>(modelServices);
  shell::FormServices services;
  services.messages = messages.get();
  services.help = help.get();
  services.saveDialog = saveDialog.get();
  services.screenSizeTwips = [] { return QSizeF(15360.0, 11520.0); };
  form = std::make_unique<shell::Form1>(*model, services);

  const QDBusConnection bus = QDBusConnection::sessionBus();
  ASSERT_TRUE(bus.isConnected()) << "run under dbus-run-session";
  automation = std::make_unique<server::Automation>(*model, bus, server::Automation::Options{},
                                                    [this] { ended = true; });
  QString error;
  ASSERT_TRUE(automation->registerObjects(&error)) << error.toStdString();
  ASSERT_TRUE(automation->registerService(&error)) << error.toStdString();
  form->Form_Load();
  form->ShowAfterLoad();
}

void MapInProcess::closeMap() {
  automation.reset();
  form.reset();
  model.reset();
}

void MapInProcess::TearDown() {
  closeMap();
  QDir::setCurrent(oldCwd);
}

int MapInProcess::imageSide() const { return form->controls().Picture1->imageRect().width(); }

void MapInProcess::pointerAt(int px, int py) {
  shell::SurfaceWidget* surface = form->controls().Picture1;
  const QPointF pos = surface->imageRect().topLeft() + QPointF(px, py);
  QMouseEvent event(QEvent::MouseMove, pos, surface->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                    Qt::NoModifier);
  QApplication::sendEvent(surface, &event);
}

void MapInProcess::pressAt(int px, int py, Qt::MouseButton button) {
  shell::SurfaceWidget* surface = form->controls().Picture1;
  const QPointF pos = surface->imageRect().topLeft() + QPointF(px, py);
  QMouseEvent event(QEvent::MouseButtonPress, pos, surface->mapToGlobal(pos), button, button,
                    Qt::NoModifier);
  QApplication::sendEvent(surface, &event);
}

int MapInProcess::readoutHeading(int px, int py) {
  pointerAt(px, py);
  return form->controls().lblDirDisplay->text().chopped(1).toInt();  // "123°"
}

std::vector<std::string> MapInProcess::shownSpots() const {
  std::vector<std::string> out;
  const spots::SpotList& list = model->spots();
  for (int i = 1; i <= list.MaxSpots(); ++i) {
    const std::string& text = list.slot(i).markers.spotText;
    if (list.slot(i).filled) out.push_back(text.substr(0, text.find(')') + 1));
  }
  return out;
}

QWidget* MapInProcess::marker(const QString& text) const {
  for (QWidget* child : form->controls().Picture1->findChildren<QWidget*>()) {
    if (child->isVisible() && child->toolTip() == text) return child;
  }
  return nullptr;
}

void MapInProcess::press(QWidget* widget) {
  const QPointF pos(widget->width() / 2.0, widget->height() / 2.0);
  QMouseEvent event(QEvent::MouseButtonPress, pos, widget->mapToGlobal(pos), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

MapInProcess::CallbackTarget MapInProcess::callbackTarget() const {
  const QVariant value = model->Callback();
  if (value.metaType() != QMetaType::fromType<server::BusObjectRef>()) return {};
  const auto ref = value.value<server::BusObjectRef>();
  return {ref.service, ref.path.path()};
}

}  // namespace orbelle::station::test
