#pragma once

// Test backends of the map window's platform services: message boxes, the picture save dialog
// and the help viewer record what they were asked and answer from a script.

#include <QString>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "model/message_boxes.hpp"
#include "shell/help_viewer.hpp"
#include "shell/save_dialog.hpp"

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

class FakeSaveDialog final : public shell::SaveDialog {
 public:
  shell::SaveDialogResult show(const shell::SaveDialogRequest& request) override {
    requests.push_back(request);
    if (results.empty()) return {};
    shell::SaveDialogResult result = results.front();
    results.pop_front();
    return result;
  }

  std::vector<shell::SaveDialogRequest> requests;
  std::deque<shell::SaveDialogResult> results;  // cancel (empty name) when exhausted
};

class FakeHelp final : public shell::HelpViewer {
 public:
  shell::HelpShown showHelp(const QString& helpFile, const QString& macro) override {
    requests.emplace_back(helpFile, macro);
    return {succeeds, helpFile};
  }

  std::vector<std::pair<QString, QString>> requests;
  bool succeeds = true;
};

}  // namespace orbelle::test
