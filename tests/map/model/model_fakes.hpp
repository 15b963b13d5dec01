#pragma once

// Test backends of the model's interfaces: message boxes that record what they were asked and
// answer from a script, and a host callback object that records the calls and can act or answer
// while it is called.

#include <QString>
#include <QVariant>
#include <deque>
#include <functional>
#include <vector>

#include "model/host_callback.hpp"
#include "model/message_boxes.hpp"

namespace orbelle::model::test {

struct ShownMessage {
  QString text;
  QString title;
  MessageIcon icon = MessageIcon::None;
};

class FakeMessages final : public MessageBoxes {
 public:
  void message(const QString& text, const QString& title, MessageIcon icon) override;
  bool askYesNo(const QString& text, const QString& title) override;

  std::vector<ShownMessage> shown;
  std::vector<ShownMessage> questions;
  std::deque<bool> answers;          // Yes/No in order; No when empty
  std::function<void()> whileShown;  // runs while a message is "on screen"
};

struct CallbackCall {
  QString method;
  QVariantList arguments;
};

class FakeCallback final : public HostCallback {
 public:
  void orbellesetrotor(double heading) override;
  void orbellesetrig(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode) override;
  void orbellestoprotor() override;

  std::vector<CallbackCall> calls;
  // Runs inside orbellesetrotor, as what the host does while the map waits; may throw.
  std::function<void()> duringRotor;
  // Runs inside orbellesetrig with the three values the host received by reference.
  std::function<void(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode)> duringRig;
};

}  // namespace orbelle::model::test
