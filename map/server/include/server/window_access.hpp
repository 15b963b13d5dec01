#pragma once

// The map window as the bus objects reach it: the window itself while it is loaded (an error
// reply once it has unloaded), its Callback as the host sets and reads it, Draw with its reply
// after the pass, and the note that tells the operator when the host did not answer.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariant>

#include "server/bus_callback.hpp"
#include "server/draw_replies.hpp"
#include "server/host_notice.hpp"

namespace orbelle::shell {
class Form1;
}

namespace orbelle::server {

class WindowAccess {
 public:
  WindowAccess(shell::Form1& form, QDBusConnection connection,
               int callbackTimeoutMs = kCallbackTimeoutMs);

  // The window; throws BusError (WindowUnloaded) once it has unloaded.
  shell::Form1& window();
  shell::Form1& form() noexcept { return form_; }

  // The window's Callback. A (bus name, object path) struct names the host's object, which the
  // window then calls; any other value is stored as it came and means no object. Throws
  // BusError (InvalidArgs) for a struct whose bus name is malformed.
  void setCallback(const QVariant& value);
  // What was stored; nothing stored reads as an empty text.
  QVariant callback() const;

  // Draw: the reply goes out once the pass has finished.
  void draw(const QDBusMessage& call);

  HostNotice& notice() noexcept { return notice_; }

 private:
  shell::Form1& form_;
  QDBusConnection connection_;
  int callbackTimeoutMs_;
  DrawReplies draws_;
  HostNotice notice_;
};

// A value for the bus: nothing stored (an invalid QVariant) becomes an empty text.
QVariant busValue(const QVariant& stored);

}  // namespace orbelle::server
