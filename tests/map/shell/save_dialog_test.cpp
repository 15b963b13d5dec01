#include "shell/save_dialog.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "form_fixture.hpp"

namespace orbelle::shell {
namespace {

using test::whenDialogShows;

TEST(SaveDialog, OnlyAnotherExtensionDiffers) {
  EXPECT_FALSE(extensionDiffers(QStringLiteral("/tmp/map.bmp"), QStringLiteral("bmp")));
  EXPECT_FALSE(extensionDiffers(QStringLiteral("/tmp/map.BMP"), QStringLiteral("bmp")));
  EXPECT_FALSE(extensionDiffers(QStringLiteral("/tmp/map"), QStringLiteral("bmp")));
  EXPECT_TRUE(extensionDiffers(QStringLiteral("/tmp/map.jpg"), QStringLiteral("bmp")));
  EXPECT_TRUE(extensionDiffers(QStringLiteral("/tmp/map.bmp.png"), QStringLiteral("bmp")));
}

class QtSaveDialogTest : public ::testing::Test {
 protected:
  SaveDialogRequest request() const {
    return {QStringLiteral("Bitmap (*.bmp)|*.bmp"), QStringLiteral("bmp"), dir.path(), true};
  }
  QTemporaryDir dir;
  QtSaveDialog dialog;
};

TEST_F(QtSaveDialogTest, ShowsTheBitmapFilterInTheStartFolder) {
  QStringList filters;
  QString folder;
  QString suffix;
  bool saving = false;
  whenDialogShows([&](QFileDialog& d) {
    filters = d.nameFilters();
    folder = d.directory().absolutePath();
    suffix = d.defaultSuffix();
    saving = d.acceptMode() == QFileDialog::AcceptSave;
    d.reject();
  });
  const SaveDialogResult r = dialog.show(request());
  EXPECT_TRUE(r.fileName.isEmpty());
  EXPECT_FALSE(r.extensionDifferent);
  EXPECT_EQ(filters, QStringList{QStringLiteral("Bitmap (*.bmp)")});
  EXPECT_EQ(folder, QDir(dir.path()).absolutePath());
  EXPECT_EQ(suffix, QStringLiteral("bmp"));
  EXPECT_TRUE(saving);
}

TEST_F(QtSaveDialogTest, NameWithoutExtensionGetsTheDefault) {
  whenDialogShows([&](QFileDialog& d) {
    d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("mymap"));
    QMetaObject::invokeMethod(&d, "accept");
  });
  const SaveDialogResult r = dialog.show(request());
  EXPECT_EQ(r.fileName, dir.filePath(QStringLiteral("mymap.bmp")));
  EXPECT_FALSE(r.extensionDifferent);
}

TEST_F(QtSaveDialogTest, OtherExtensionIsReported) {
  whenDialogShows([&](QFileDialog& d) {
    d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("mymap.jpg"));
    QMetaObject::invokeMethod(&d, "accept");
  });
  const SaveDialogResult r = dialog.show(request());
  EXPECT_EQ(r.fileName, dir.filePath(QStringLiteral("mymap.jpg")));
  EXPECT_TRUE(r.extensionDifferent);
}

}  // namespace
}  // namespace orbelle::shell
