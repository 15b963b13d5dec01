#include "server/draw_replies.hpp"

#include <QObject>

#include "model/map_model.hpp"
#include "server/bus_values.hpp"

namespace orbelle::server {

DrawReplies::DrawReplies(model::MapModel& model, QDBusConnection connection)
    : model_(model), connection_(std::move(connection)) {
  settled_ = QObject::connect(&model_, &model::MapModel::settledChanged, &model_,
                              [this] { answerIfSettled(); });
}

DrawReplies::~DrawReplies() {
  QObject::disconnect(settled_);
  for (const QDBusMessage& call : waiting_) {
    if (call.isReplyRequired()) {
      connection_.send(call.createErrorReply(QString::fromLatin1(error::kFailed),
                                             QStringLiteral("The map program has ended")));
    }
  }
}

void DrawReplies::draw(const QDBusMessage& call) {
  QDBusMessage kept = call;
  kept.setDelayedReply(true);
  waiting_.push_back(kept);
  model_.cmdDraw_Click();
  answerIfSettled();
}

void DrawReplies::answerIfSettled() {
  if (waiting_.empty() || !model_.settled()) return;
  // Taken out first: a reply is sent at once, and nothing here lets events run.
  std::vector<QDBusMessage> answered;
  answered.swap(waiting_);
  for (const QDBusMessage& call : answered) {
    if (call.isReplyRequired()) connection_.send(call.createReply());
  }
}

}  // namespace orbelle::server
