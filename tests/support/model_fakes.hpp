#pragma once

// Test backends of the map model's interfaces: message boxes that record what they were asked
// and answer from a script, and a host callback object that records the calls and can act or
// answer while it is called.

#include <QString>
#include <QVariant>
#include <deque>
#include <functional>
#include <vector>

#include "model/host_callback.hpp"
#include "model/message_boxes.hpp"

namespace orbelle::test {

struct ShownMessage {
  QString text;
  QString title;
  model::MessageIcon icon = model::MessageIcon::None;
};

class FakeMessages final : public model::MessageBoxes {
 public:
  void message(const QString& text, const QString& title, model::MessageIcon icon) override {
    shown.push_back({text, title, icon});
    if (whileShown) whileShown();
  }
  bool askYesNo(const QString& text, const QString& title) override {
    questions.push_back({text, title});
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  }

  std::vector<ShownMessage> shown;
  std::vector<ShownMessage> questions;
  std::deque<bool> answers;          // Yes/No in order; No when empty
  std::function<void()> whileShown;  // runs while a message is "on screen"
};

struct CallbackCall {
  QString method;
  QVariantList arguments;
};

class FakeCallback final : public model::HostCallback {
 public:
  void orbellesetrotor(double heading) override {
    calls.push_back({QStringLiteral("orbellesetrotor"), {heading}});
    if (duringRotor) duringRotor();
  }
  void orbellesetrig(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode) override {
    calls.push_back({QStringLiteral("orbellesetrig"), {SpotFreq, SpotFreqTX, Mode}});
    if (duringRig) duringRig(SpotFreq, SpotFreqTX, Mode);
  }
  void orbellestoprotor() override { calls.push_back({QStringLiteral("orbellestoprotor"), {}}); }

  std::vector<CallbackCall> calls;
  // Runs inside orbellesetrotor, as what the host does while the map waits; may throw.
  std::function<void()> duringRotor;
  // Runs inside orbellesetrig with the three values the host received by reference.
  std::function<void(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode)> duringRig;
};

}  // namespace orbelle::test
