#include "fakes.hpp"

namespace orbelle::shell::test {

void FakeMessages::message(const QString& text, const QString& title, MessageIcon icon) {
  shown.push_back({text, title, icon});
  if (whileShown) whileShown();
}

bool FakeMessages::askYesNo(const QString& text, const QString& title) {
  questions.push_back({text, title, MessageIcon::None});
  if (answers.empty()) return false;
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

SaveDialogResult FakeSaveDialog::show(const SaveDialogRequest& request) {
  requests.push_back(request);
  if (whileShown) whileShown();
  if (results.empty()) return {};
  SaveDialogResult result = results.front();
  results.pop_front();
  return result;
}

bool FakeHelp::showHelp(const QString& helpFile, const QString& macro) {
  requests.emplace_back(helpFile, macro);
  return succeeds;
}

bool FakeLauncher::startDetached(const QString& program, const QStringList& arguments) {
  started.push_back(QStringList{program} + arguments);
  return startSucceeds;
}

bool FakeLauncher::openFile(const QString& path) {
  opened.push_back(path);
  return openSucceeds;
}

void FakeCallback::orbellesetrotor(double heading) {
  calls.push_back({QStringLiteral("orbellesetrotor"), {heading}});
}

void FakeCallback::orbellesetrig(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode) {
  calls.push_back({QStringLiteral("orbellesetrig"), {SpotFreq, SpotFreqTX, Mode}});
}

void FakeCallback::orbellestoprotor() { calls.push_back({QStringLiteral("orbellestoprotor"), {}}); }

}  // namespace orbelle::shell::test
