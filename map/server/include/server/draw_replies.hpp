#pragma once

// Draw over the bus: the call returns when the drawing pass has finished. A Draw that arrives
// while a pass runs (it is delivered from inside the pass's event yields) cannot wait there, so
// it asks the window for one more pass after the current one, and its reply is kept until no
// pass runs or is due; then every kept reply goes out. The window's own guard is what keeps a
// second pass from starting inside the first.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QTimer>
#include <vector>

namespace orbelle::shell {
class Form1;
}

namespace orbelle::server {

class DrawReplies {
 public:
  DrawReplies(shell::Form1& form, QDBusConnection connection);
  // Replies still kept get an error: the program is ending.
  ~DrawReplies();
  DrawReplies(const DrawReplies&) = delete;
  DrawReplies& operator=(const DrawReplies&) = delete;

  // Runs the pass for `call` (or has one more run after the current one) and answers the call
  // once it is over.
  void draw(const QDBusMessage& call);

  std::size_t waiting() const noexcept { return waiting_.size(); }

 private:
  // No pass runs, none is due from Timer1 and the save dialog is closed.
  bool idle() const;
  void answerIfIdle();

  shell::Form1& form_;
  QDBusConnection connection_;
  std::vector<QDBusMessage> waiting_;
  QTimer poll_;
};

}  // namespace orbelle::server
