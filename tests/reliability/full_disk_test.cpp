// Writes to a full disk keep the old files and leave nothing; the window reports, keeps its map
// and works on.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QPushButton>
#include <QSizeF>
#include <QString>
#include <QTemporaryDir>
#include <set>
#include <string>

#include "ini/ini_store.hpp"
#include "model/settings_file.hpp"
#include "raster/qt/picture_file.hpp"
#include "reliability.hpp"
#include "shell/form1.hpp"
#include "sun/local_clock.hpp"
#include "support/map_fakes.hpp"
#include "support/outline_files.hpp"

namespace orbelle::reliability {

namespace {

namespace fs = std::filesystem;

std::int64_t differing(const raster::Surface& a, const raster::Surface& b) {
  std::int64_t n = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  }
  return n;
}

// The window on a folder that can be made full, with outline files of a few closed squares
// north-east of the default station. Full is a file-size limit of 0 bytes on this process: no
// file can grow, and writes fail (with EFBIG) as they would on a full disk, without root.
class FullDiskWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid() && program.isValid());
    fs::create_directory(program.filePath("mapdata").toStdString());
    test::writeOutlineFiles(program.filePath("mapdata"), 8);
    std::ofstream(path("orbelle.ini"))
        << "[Settings]\nLatHere= 33.9\nLonHere=-84.179\nPixelWidth= 300\nShowSun=Yes\n";
    model::ModelServices m;
    m.messages = &messages;
    m.settingsFile = path("orbelle.ini");
    m.cacheFile = QString::fromStdString(path("MapCache.bmp"));
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
    release();
  }

  std::string path(const std::string& name = {}) const {
    return folder.path().toStdString() + (name.empty() ? "" : "/" + name);
  }
  // From now on no file can grow; true when that holds.
  bool fill() {
    if (::getrlimit(RLIMIT_FSIZE, &oldLimit) != 0) return false;
    const rlimit none{0, oldLimit.rlim_max};
    return full = ::setrlimit(RLIMIT_FSIZE, &none) == 0;
  }
  void release() {
    if (full) ::setrlimit(RLIMIT_FSIZE, &oldLimit);
    full = false;
  }
  // The old files are there byte for byte, and nothing else.
  void expectOnly(const std::string& cache, const std::string& ini) const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(path())) names.insert(entry.path().filename());
    EXPECT_EQ(names, (std::set<std::string>{"MapCache.bmp", "orbelle.ini"}));
    EXPECT_EQ(fileBytes(path("MapCache.bmp")), cache);
    EXPECT_EQ(fileBytes(path("orbelle.ini")), ini);
  }
  void expectUsable() const {
    EXPECT_FALSE(model->Drawing() || model->passRunning());
    for (QPushButton* button :
         {form->controls().cmdDraw, form->controls().cmdSetup, form->controls().cmdSavePict}) {
      EXPECT_TRUE(button->isEnabled()) << button->text().toStdString();
    }
  }

  QTemporaryDir folder, program;
  bool full = false;
  rlimit oldLimit{};
  test::FakeMessages messages;
  test::FakeSaveDialog saveDialog;
  test::FakeHelp help;
  std::unique_ptr<model::MapModel> model;
  std::unique_ptr<shell::Form1> form;
};

TEST_F(FullDiskWindowTest, KeepsTheOldFilesAndStaysUsable) {
  const std::string oldIni = fileBytes(path("orbelle.ini"));
  form->controls().cmdDraw->click();
  ASSERT_TRUE(messages.shown.empty());
  const std::string oldCache = fileBytes(path("MapCache.bmp"));
  ASSERT_FALSE(oldCache.empty());
  const raster::Surface oldMap = raster::readBmp(QString::fromStdString(path("MapCache.bmp")));

  // A map of another station and radius, drawn while the disk is full.
  ASSERT_TRUE(fill());
  model->setLatHere(-33.9);
  model->setLonHere(151.2);
  model->setMaxDx(3000);
  form->controls().cmdDraw->click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_TRUE(messages.shown[0].text.startsWith("The map could not be cached"))
      << messages.shown[0].text.toStdString();
  expectOnly(oldCache, oldIni);
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
  saveDialog.results = {{QString::fromStdString(path("saved.bmp")), false}};
  form->controls().cmdSavePict->click();
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_TRUE(messages.shown[1].text.startsWith("The picture could not be saved"));
  expectOnly(oldCache, oldIni);
  expectUsable();

  // Unloading on a full disk keeps the old settings file, as does a single entry's write.
  form->Form_Unload();
  EXPECT_FALSE(
      PUT_INI(path("orbelle.ini"), model::kSettingsSection, "LatHere", Variant(-41.5), {}));
  expectOnly(oldCache, oldIni);
}

}  // namespace
}  // namespace orbelle::reliability
