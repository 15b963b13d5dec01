#pragma once

// The map's model as the bus objects reach it: the model itself while the window is loaded (an
// error reply once it has unloaded), the window's own members, the window's Callback as the
// host sets and reads it, and Draw with its reply after the pass.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariant>

#include "server/bus_callback.hpp"
#include "server/draw_replies.hpp"

namespace orbelle::model {
class FormWindow;
class MapModel;
}  // namespace orbelle::model

namespace orbelle::server {

class ModelAccess {
 public:
  ModelAccess(model::MapModel& model, QDBusConnection connection,
              int callbackTimeoutMs = kCallbackTimeoutMs);

  // The model; throws BusError (WindowUnloaded) once the window has unloaded.
  model::MapModel& model();
  model::MapModel& modelEvenUnloaded() noexcept { return model_; }
  // The window's members; throws BusError (WindowUnloaded) once it has unloaded.
  model::FormWindow& window();

  // The window's Callback. A (bus name, object path) struct names the host's object, which the
  // map then calls; any other value is stored as it came and means no object. Throws BusError
  // (InvalidArgs) for a struct whose bus name is malformed.
  void setCallback(const QVariant& value);
  // What was stored; nothing stored reads as an empty text.
  QVariant callback() const;

  // Draw: the reply goes out once the pass has finished.
  void draw(const QDBusMessage& call);

 private:
  model::MapModel& model_;
  QDBusConnection connection_;
  int callbackTimeoutMs_;
  DrawReplies draws_;
};

// A value for the bus: nothing stored (an invalid QVariant) becomes an empty text.
QVariant busValue(const QVariant& stored);

}  // namespace orbelle::server
