#include "shell/save_dialog.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

namespace orbelle::shell {
namespace {

// Runs `act` on the next file dialog once it is up (it runs its own event loop).
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

TEST(SaveDialog, OnlyAnotherExtensionDiffers) {
  for (const char* same : {"/tmp/map.bmp", "/tmp/map.BMP", "/tmp/map"}) {
    EXPECT_FALSE(extensionDiffers(QString::fromLatin1(same), QStringLiteral("bmp"))) << same;
  }
  for (const char* other : {"/tmp/map.jpg", "/tmp/map.bmp.png"}) {
    EXPECT_TRUE(extensionDiffers(QString::fromLatin1(other), QStringLiteral("bmp"))) << other;
  }
}

class QtSaveDialogTest : public ::testing::Test {
 protected:
  SaveDialogRequest request() const {
    return {QStringLiteral("Bitmap (*.bmp)|*.bmp"), QStringLiteral("bmp"), dir.path(), true};
  }
  QTemporaryDir dir;
  QtSaveDialog dialog;
};

// The dialog saves with the bitmap filter in the start folder; a name without extension gets the
// default one, another extension is reported, a cancel gives no name.
TEST_F(QtSaveDialogTest, TypedNamesComeBackWithTheirExtension) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"mymap", "mymap.bmp", false}, {"mymap.jpg", "mymap.jpg", true}, {nullptr, nullptr, false}};
  for (const auto& [typed, file, different] : cases) {
    whenDialogShows([this, typed = typed](QFileDialog& d) {
      EXPECT_EQ(d.nameFilters(), QStringList{QStringLiteral("Bitmap (*.bmp)")});
      EXPECT_EQ(d.directory().absolutePath(), QDir(dir.path()).absolutePath());
      EXPECT_EQ(d.defaultSuffix(), QStringLiteral("bmp"));
      EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
      if (!typed) return d.reject();
      d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromLatin1(typed));
      QMetaObject::invokeMethod(&d, "accept");
    });
    const SaveDialogResult r = dialog.show(request());
    EXPECT_EQ(r.fileName, file ? dir.filePath(QString::fromLatin1(file)) : QString());
    EXPECT_EQ(r.extensionDifferent, different);
  }
}

}  // namespace
}  // namespace orbelle::shell
