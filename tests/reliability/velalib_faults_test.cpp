// velalib under abuse through foxhost: file_sel with arguments of 10,000 characters, and
// VER_GETFILEVERSIONINFO on what is not a readable file; no call may leave a handle behind.

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>

#include "dialog_driver.hpp"
#include "host_fixture.hpp"
#include "pe_builder.hpp"

namespace velalib::testing {
namespace {

namespace fs = std::filesystem;

const std::string kLong(10000, 'x');

class FileSelFaults : public VelalibHost {};

// Cut to their buffers (title 79, caption 19, file name 260 characters) and cancelled; then the
// same arguments with a filter list and a folder still choose a file.
TEST_F(FileSelFaults, TenThousandCharacterArgumentsAreCut) {
  QString title, okLabel, fileName;
  whenShown<QFileDialog>([&](QFileDialog &d) {
    title = d.windowTitle();
    okLabel = d.labelText(QFileDialog::Accept);
    if (auto *edit = d.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
      fileName = edit->text();
    }
    d.reject();
  });
  EXPECT_EQ(text("file_sel", {T(kLong), T(kLong), T(kLong), T(kLong), I(0), I(0), T(kLong)}), "");
  EXPECT_EQ(title, QString(79, 'x'));
  EXPECT_EQ(okLabel, QString(19, 'x'));
  EXPECT_EQ(fileName, QString(260, 'x'));

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string folder = fs::canonical(dir.path().toStdString()).string();
  std::ofstream(folder + "/log.adi") << "x";
  whenShown<QFileDialog>([&](QFileDialog &d) {
    auto *edit = d.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(QStringLiteral("log.adi"));
    static_cast<QDialog &>(d).accept();
  });
  EXPECT_EQ(
      text("file_sel", {T(kLong), T("Logs|" + kLong), T(folder), T(kLong), I(1), I(0), T(kLong)}),
      folder + "/log.adi");
}

// Devices, special files, overlong names, a file this user cannot read, a symlink loop.
TEST_F(FileSelFaults, VersionOfWhatIsNotAReadableFileIsEmpty) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string locked = dir.path().toStdString() + "/locked.dll";
  const std::string loop = dir.path().toStdString() + "/loop.dll";
  PeOptions options;
  options.version.tables = {{"040904E4", {{"FileVersion", "1.2.3.4"}}}};
  ASSERT_TRUE(writeFile(locked, buildPe(options).bytes));
  ASSERT_EQ(text("VER_GETFILEVERSIONINFO", {T(locked), I(5)}), "1.2.3.4");
  ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
  ASSERT_EQ(::symlink(loop.c_str(), loop.c_str()), 0);
  const std::string longPath = "/tmp/" + kLong + ".dll";
  for (const std::string path :
       {"/dev/null", "/dev/urandom", "/dev/full", "/proc/self/mem", "/proc/self/status",
        "/proc/self/fd", "/", kLong.c_str(), longPath.c_str(), loop.c_str()}) {
    EXPECT_EQ(text("VER_GETFILEVERSIONINFO", {T(path), I(5)}), "") << path.substr(0, 40);
  }
  // Root reads anything; as another file-system user the file is unreadable.
  const uid_t oldFsuid = static_cast<uid_t>(::setfsuid(::geteuid() == 0 ? 65534 : ::geteuid()));
  const bool unreadable = ::open(locked.c_str(), O_RDONLY | O_CLOEXEC) < 0;
  const std::string result = text("VER_GETFILEVERSIONINFO", {T(locked), I(5)});
  ::setfsuid(oldFsuid);
  EXPECT_TRUE(unreadable);
  EXPECT_EQ(result, "");
}

}  // namespace
}  // namespace velalib::testing
