#include "server/draw_replies.hpp"

#include "server/bus_values.hpp"
#include "shell/form1.hpp"

namespace orbelle::server {
namespace {

// How often kept replies check whether the pass is over, milliseconds. The check runs only
// while replies are kept, and inside a pass only at its event yields.
constexpr int kPollMs = 10;

}  // namespace

DrawReplies::DrawReplies(shell::Form1& form, QDBusConnection connection)
    : form_(form), connection_(std::move(connection)) {
  poll_.setInterval(kPollMs);
  QObject::connect(&poll_, &QTimer::timeout, [this] { answerIfIdle(); });
}

DrawReplies::~DrawReplies() {
  for (const QDBusMessage& call : waiting_) {
    if (call.isReplyRequired()) {
      connection_.send(call.createErrorReply(QString::fromLatin1(error::kFailed),
                                             QStringLiteral("The map program has ended")));
    }
  }
}

bool DrawReplies::idle() const {
  return !form_.passRunning() && !form_.Drawing() && !form_.controls().Timer1->isActive();
}

void DrawReplies::draw(const QDBusMessage& call) {
  waiting_.push_back(call);
  form_.cmdDraw_Click();
  answerIfIdle();
}

void DrawReplies::answerIfIdle() {
  if (!idle()) {
    if (!poll_.isActive()) poll_.start();
    return;
  }
  poll_.stop();
  // Taken out first: a reply is sent at once, and nothing here lets events run.
  std::vector<QDBusMessage> answered;
  answered.swap(waiting_);
  for (const QDBusMessage& call : answered) {
    if (call.isReplyRequired()) connection_.send(call.createReply());
  }
}

}  // namespace orbelle::server
