#include "model_fakes.hpp"

namespace orbelle::model::test {

void FakeMessages::message(const QString& text, const QString& title, MessageIcon icon) {
  shown.push_back({text, title, icon});
  if (whileShown) whileShown();
}

bool FakeMessages::askYesNo(const QString& text, const QString& title) {
  questions.push_back({text, title, MessageIcon::None});
  if (answers.empty()) return false;
  const bool yes = answers.front();
  answers.pop_front();
  return yes;
}

void FakeCallback::orbellesetrotor(double heading) {
  calls.push_back({QStringLiteral("orbellesetrotor"), {heading}});
  if (duringRotor) duringRotor();
}

void FakeCallback::orbellesetrig(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode) {
  calls.push_back({QStringLiteral("orbellesetrig"), {SpotFreq, SpotFreqTX, Mode}});
  if (duringRig) duringRig(SpotFreq, SpotFreqTX, Mode);
}

void FakeCallback::orbellestoprotor() { calls.push_back({QStringLiteral("orbellestoprotor"), {}}); }

}  // namespace orbelle::model::test
