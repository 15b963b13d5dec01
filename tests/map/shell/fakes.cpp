#include "fakes.hpp"

namespace orbelle::shell::test {

SaveDialogResult FakeSaveDialog::show(const SaveDialogRequest& request) {
  requests.push_back(request);
  if (whileShown) whileShown();
  if (results.empty()) return {};
  SaveDialogResult result = results.front();
  results.pop_front();
  return result;
}

HelpShown FakeHelp::showHelp(const QString& helpFile, const QString& macro) {
  requests.emplace_back(helpFile, macro);
  return {succeeds, file};
}

bool FakeLauncher::startDetached(const QString& program, const QStringList& arguments) {
  started.push_back(QStringList{program} + arguments);
  return startSucceeds;
}

bool FakeLauncher::openFile(const QString& path) {
  opened.push_back(path);
  return openSucceeds;
}

}  // namespace orbelle::shell::test
