#include "shell/save_dialog.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

namespace orbelle::shell {
namespace {

// The dialog as asked for; names come back with the default or the reported other extension.
TEST(SaveDialog, TypedNamesComeBackWithTheirExtension) {
  QTemporaryDir dir;
  QtSaveDialog dialog;
  const std::tuple<const char*, const char*, bool> cases[] = {{"mymap", "mymap.bmp", false},
                                                              {"mymap.BMP", "mymap.BMP", false},
                                                              {"map.bmp.png", "map.bmp.png", true},
                                                              {nullptr, nullptr, false}};
  for (const auto& [typed, file, different] : cases) {
    // Acts on the dialog once it is up (it runs its own event loop).
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [&, timer, typed = typed] {
      auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!d) return;
      timer->stop();
      timer->deleteLater();
      EXPECT_EQ(d->nameFilters(), QStringList{QStringLiteral("Bitmap (*.bmp)")});
      EXPECT_EQ(d->directory().absolutePath(), QDir(dir.path()).absolutePath());
      EXPECT_EQ(d->defaultSuffix(), QStringLiteral("bmp"));
      EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
      if (!typed) return d->reject();
      d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromLatin1(typed));
      QMetaObject::invokeMethod(d, "accept");
    });
    timer->start(10);
    const SaveDialogResult r = dialog.show(
        {QStringLiteral("Bitmap (*.bmp)|*.bmp"), QStringLiteral("bmp"), dir.path(), true});
    EXPECT_EQ(r.fileName, file ? dir.filePath(QString::fromLatin1(file)) : QString());
    EXPECT_EQ(r.extensionDifferent, different);
  }
}

}  // namespace
}  // namespace orbelle::shell
