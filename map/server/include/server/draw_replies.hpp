#pragma once

// Draw over the bus: the call returns when the drawing pass has finished. The reply is delayed
// and kept; the model runs the pass (or, when one runs, one more pass after it) and every kept
// reply goes out when the model says it has settled: no pass runs or is due and no refresh or
// save dialog is open. Nothing waits by polling.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QMetaObject>
#include <vector>

namespace orbelle::model {
class MapModel;
}

namespace orbelle::server {

class DrawReplies {
 public:
  DrawReplies(model::MapModel& model, QDBusConnection connection);
  // Replies still kept get an error: the program is ending.
  ~DrawReplies();
  DrawReplies(const DrawReplies&) = delete;
  DrawReplies& operator=(const DrawReplies&) = delete;

  // Runs the pass for `call` (or has one more run after the current one) and answers the call
  // once it is over.
  void draw(const QDBusMessage& call);

  std::size_t waiting() const noexcept { return waiting_.size(); }

 private:
  void answerIfSettled();

  model::MapModel& model_;
  QDBusConnection connection_;
  std::vector<QDBusMessage> waiting_;
  QMetaObject::Connection settled_;
};

}  // namespace orbelle::server
