// Writes to a full disk keep the old files and leave nothing; the window reports, keeps its map
// and works on.

#include "full_disk.hpp"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QSizeF>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "crash_writers.hpp"
#include "ini/ini_store.hpp"
#include "model/settings_file.hpp"
#include "raster/qt/picture_file.hpp"
#include "shell/form1.hpp"
#include "sun/local_clock.hpp"
#include "support/map_fakes.hpp"
#include "support/outline_files.hpp"

namespace orbelle::reliability {
namespace {

namespace fs = std::filesystem;

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The names in a folder, but for the filler that makes it full.
std::set<std::string> entries(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name != ".filler") names.insert(name);
  }
  return names;
}

std::int64_t differing(const raster::Surface& a, const raster::Surface& b) {
  std::int64_t n = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  }
  return n;
}

// The window on a folder that can be made full, with outline files of a few closed squares
// north-east of the default station.
class FullDiskWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.valid());
    ASSERT_TRUE(program.isValid());
    std::printf("The disk is made full by %s.\n", folder.how());
    writeOutlines();
    std::ofstream(folder.file("orbelle.ini"))
        << "[Settings]\nLatHere= 33.9\nLonHere=-84.179\nPixelWidth= 300\nShowSun=Yes\n";
    model::ModelServices m;
    m.messages = &messages;
    m.settingsFile = folder.file("orbelle.ini");
    m.cacheFile = QString::fromStdString(folder.file("MapCache.bmp"));
    m.programFolder = program.path().toStdString();
    m.clock = fixedClock(makeDateTime(2024, 3, 20, 12, 0, 0));
    model = std::make_unique<model::MapModel>(m);
    shell::FormServices s;
    s.messages = &messages;
    s.help = &help;
    s.saveDialog = &saveDialog;
    s.screenSizeTwips = [] { return QSizeF(15360.0, 11520.0); };
    s.pictureFolder = program.path();
    form = std::make_unique<shell::Form1>(*model, s);
    form->Form_Load();
    form->show();
  }
  void TearDown() override {
    form.reset();
    model.reset();
  }

  void writeOutlines() const {
    const QString mapdata = program.path() + QStringLiteral("/mapdata");
    fs::create_directory(mapdata.toStdString());
    test::writeOutlineFiles(mapdata, 8);
  }

  void expectUsable() const {
    EXPECT_FALSE(model->Drawing());
    EXPECT_FALSE(model->passRunning());
    EXPECT_TRUE(form->controls().cmdDraw->isEnabled());
    EXPECT_TRUE(form->controls().cmdSetup->isEnabled());
    EXPECT_TRUE(form->controls().cmdSavePict->isEnabled());
  }

  FullFolder folder;
  QTemporaryDir program;
  test::FakeMessages messages;
  test::FakeSaveDialog saveDialog;
  test::FakeHelp help;
  std::unique_ptr<model::MapModel> model;
  std::unique_ptr<shell::Form1> form;
};

TEST_F(FullDiskWindowTest, KeepsTheOldFilesAndStaysUsable) {
  const std::string cache = folder.file("MapCache.bmp");
  const std::string ini = folder.file("orbelle.ini");
  const std::string oldIni = fileBytes(ini);
  form->controls().cmdDraw->click();
  ASSERT_TRUE(messages.shown.empty());
  const std::string oldCache = fileBytes(cache);
  ASSERT_FALSE(oldCache.empty());
  const raster::Surface oldMap = raster::readBmp(QString::fromStdString(cache));

  // A map of another station and radius, drawn while the disk is full.
  ASSERT_TRUE(folder.fill());
  model->setLatHere(-33.9);
  model->setLonHere(151.2);
  model->setMaxDx(3000);
  form->controls().cmdDraw->click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_TRUE(messages.shown[0].text.startsWith("The map could not be cached"))
      << messages.shown[0].text.toStdString();
  EXPECT_EQ(fileBytes(cache), oldCache);
  EXPECT_EQ(entries(folder.path()), (std::set<std::string>{"MapCache.bmp", "orbelle.ini"}));
  expectUsable();

  // The window shows the new map from memory, also after the overlay refreshes (one ends the
  // pass), which must not bring back the old map from the stale cache file (a regression).
  const raster::Surface* newMap = model->layers().picture();
  ASSERT_NE(newMap, nullptr);
  ASSERT_GT(differing(*newMap, oldMap), 1000) << "the old map came back from the cache file";
  EXPECT_FALSE(model->state().MapCached);
  model->SunTimer_Timer();
  const raster::Surface& shown = model->layers().shown();
  EXPECT_LT(differing(shown, *newMap), differing(shown, oldMap) / 4);

  // Saving a picture to the full disk is reported and leaves nothing.
  saveDialog.results = {{QString::fromStdString(folder.file("saved.bmp")), false}};
  form->controls().cmdSavePict->click();
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_TRUE(messages.shown[1].text.startsWith("The picture could not be saved"));
  EXPECT_EQ(entries(folder.path()), (std::set<std::string>{"MapCache.bmp", "orbelle.ini"}));
  expectUsable();

  // Space again: the next pass caches the map.
  folder.release();
  form->controls().cmdDraw->click();
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_NE(fileBytes(cache), oldCache);
  EXPECT_TRUE(model->state().MapCached);
  EXPECT_EQ(differing(raster::readBmp(QString::fromStdString(cache)), *model->layers().picture()),
            0);
  expectUsable();

  // Unloading on a full disk keeps the old settings file, as does a single entry's write.
  ASSERT_TRUE(folder.fill());
  form->Form_Unload();
  EXPECT_FALSE(PUT_INI(ini, model::kSettingsSection, "LatHere", Variant(-41.5), {}));
  EXPECT_EQ(fileBytes(ini), oldIni);
  EXPECT_EQ(entries(folder.path()), (std::set<std::string>{"MapCache.bmp", "orbelle.ini"}));
  folder.release();
}

}  // namespace
}  // namespace orbelle::reliability
