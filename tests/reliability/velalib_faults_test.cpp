// velalib under abuse, through foxhost: file_sel with arguments of 10,000 characters, and
// VER_GETFILEVERSIONINFO on things that are not readable files. The fixture checks after every
// test that no handle was left behind or locked.

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

TEST_F(FileSelFaults, TenThousandCharacterArgumentsAreCutAndCancelled) {
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
}

TEST_F(FileSelFaults, LongArgumentsStillChooseAFile) {
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
  const std::string chosen =
      text("file_sel", {T(kLong), T("Logs|" + kLong), T(folder), T(kLong), I(1), I(0), T(kLong)});
  EXPECT_EQ(chosen, folder + "/log.adi");
}

class VersionFaults : public VelalibHost {
 protected:
  std::string version(const std::string &path) {
    return text("VER_GETFILEVERSIONINFO", {T(path), I(5)});
  }
};

TEST_F(VersionFaults, DevicesAndSpecialFilesGiveEmptyText) {
  for (const char *path : {"/dev/null", "/dev/urandom", "/dev/full", "/proc/self/mem",
                           "/proc/self/status", "/proc/self/fd", "/"}) {
    EXPECT_EQ(version(path), "") << path;
  }
  EXPECT_EQ(version(kLong), "");
  EXPECT_EQ(version("/tmp/" + kLong + ".dll"), "");
}

TEST_F(VersionFaults, UnreadableFileAndSymlinkLoopGiveEmptyText) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string folder = dir.path().toStdString();
  PeOptions options;
  options.version.tables = {{"040904E4", {{"FileVersion", "1.2.3.4"}}}};
  const std::string path = folder + "/locked.dll";
  {
    const std::vector<uint8_t> bytes = buildPe(options).bytes;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  ASSERT_EQ(version(path), "1.2.3.4");
  ASSERT_EQ(::chmod(path.c_str(), 0), 0);
  // Root reads anything; as another file-system user the file is unreadable.
  const uid_t oldFsuid = static_cast<uid_t>(::setfsuid(::geteuid() == 0 ? 65534 : ::geteuid()));
  const bool unreadable = ::open(path.c_str(), O_RDONLY | O_CLOEXEC) < 0;
  const std::string result = version(path);
  ::setfsuid(oldFsuid);
  EXPECT_TRUE(unreadable);
  EXPECT_EQ(result, "");

  const std::string loop = folder + "/loop.dll";
  ASSERT_EQ(::symlink(loop.c_str(), loop.c_str()), 0);
  EXPECT_EQ(version(loop), "");
}

}  // namespace
}  // namespace velalib::testing
