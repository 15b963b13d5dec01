#include "form_fixture.hpp"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <sstream>
#include <vector>

#include "render/outline_records.hpp"
#include "sun/local_clock.hpp"

namespace orbelle::shell::test {

void whenDialogShows(std::function<void(QFileDialog&)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(*dialog);
    }
  });
  timer->start();
}

void FormTest::SetUp() {
  ASSERT_TRUE(dir.isValid());
  oldCwd = QDir::currentPath();
  QDir::setCurrent(dir.path());
  QDir(dir.path()).mkdir(QStringLiteral("mapdata"));
}

void FormTest::TearDown() {
  form.reset();
  model.reset();
  processEvents();
  QDir::setCurrent(oldCwd);
}

model::ModelServices FormTest::modelServices() {
  model::ModelServices s;
  s.messages = &messages;
  s.programFolder = dir.path().toStdString();
  s.clock = fixedClock(now);
  s.hoursToUtc = [this] { return hoursToUtc; };
  return s;
}

FormServices FormTest::services() {
  FormServices s;
  s.messages = &messages;
  s.help = &help;
  s.saveDialog = &saveDialog;
  s.screenSizeTwips = [this] { return screenTwips; };
  s.availableScreenArea = [this] { return availableArea; };
  s.devicePixelRatio = [this] { return pixelRatio; };
  s.pictureFolder = dir.path();
  return s;
}

Form1& FormTest::makeForm() {
  form.reset();
  model = std::make_unique<model::MapModel>(modelServices());
  form = std::make_unique<Form1>(*model, services());
  return *form;
}

Form1& FormTest::loadForm() {
  makeForm().Form_Load();
  return *form;
}

Form1& FormTest::showForm() {
  loadForm().show();
  form->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
  processEvents();
  return *form;
}

void FormTest::writeIni(const std::string& text) const {
  std::ofstream(dir.filePath(QStringLiteral("orbelle.ini")).toStdString()) << text;
}

std::string FormTest::iniText() const {
  std::ifstream in(dir.filePath(QStringLiteral("orbelle.ini")).toStdString());
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void FormTest::writeOutlines(int polylines, const std::string& skip) const {
  using render::OutlineRecord;
  std::vector<OutlineRecord> records;
  for (int i = 0; i < polylines; ++i) {
    // A one-degree square at (10 + i/10 degrees north, 20 east), in minutes.
    const auto lat = static_cast<std::int16_t>(600 + 6 * (i % 100));
    const auto lon = static_cast<std::int16_t>(1200 + 120 * (i / 100));
    records.push_back({1001, lat, lon});
    records.push_back({1, static_cast<std::int16_t>(lat + 60), lon});
    records.push_back(
        {1, static_cast<std::int16_t>(lat + 60), static_cast<std::int16_t>(lon + 60)});
    records.push_back({1, lat, static_cast<std::int16_t>(lon + 60)});
    records.push_back({1, lat, lon});
  }
  records.push_back({0, 0, 0});
  const std::vector<std::byte> bytes = render::encodeOutlineRecords(records);
  for (const char* name :
       {"state.pnt", "country.pnt", "coast.velapnt", "island.pnt", "lake.pnt", "river.pnt"}) {
    if (skip == name) continue;
    std::ofstream out(
        dir.filePath(QStringLiteral("mapdata/") + QString::fromLatin1(name)).toStdString(),
        std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
}

void FormTest::typeAndLeave(QLineEdit* field, const QString& text, QWidget* next) {
  field->setFocus(Qt::TabFocusReason);
  field->selectAll();
  QTest::keyClicks(field, text);
  next->setFocus(Qt::TabFocusReason);
  processEvents();
}

void FormTest::processEvents() {
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
}

bool FormTest::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
  return QTest::qWaitFor(condition, timeoutMs);
}

}  // namespace orbelle::shell::test
