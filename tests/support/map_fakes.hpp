#pragma once

// Test backends of the map window's platform services: the model's fakes, the picture save
// dialog and the help viewer record what they were asked and answer from a script.

#include <QString>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "shell/help_viewer.hpp"
#include "shell/save_dialog.hpp"
#include "support/model_fakes.hpp"

namespace orbelle::test {

class FakeSaveDialog final : public shell::SaveDialog {
 public:
  shell::SaveDialogResult show(const shell::SaveDialogRequest& request) override {
    requests.push_back(request);
    if (whileShown) whileShown();
    if (results.empty()) return {};
    shell::SaveDialogResult result = results.front();
    results.pop_front();
    return result;
  }

  std::vector<shell::SaveDialogRequest> requests;
  std::deque<shell::SaveDialogResult> results;  // cancel (empty name) when exhausted
  std::function<void()> whileShown;
};

class FakeHelp final : public shell::HelpViewer {
 public:
  shell::HelpShown showHelp(const QString& helpFile, const QString& macro) override {
    requests.emplace_back(helpFile, macro);
    return {succeeds, file.isEmpty() ? helpFile : file};
  }

  std::vector<std::pair<QString, QString>> requests;
  bool succeeds = true;
  QString file;  // the file it names; the one asked for when empty
};

}  // namespace orbelle::test
