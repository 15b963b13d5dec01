#include "server/window_access.hpp"

#include <memory>

#include "shell/form1.hpp"

namespace orbelle::server {

QVariant busValue(const QVariant& stored) {
  return stored.isValid() ? stored : QVariant(QString());
}

WindowAccess::WindowAccess(shell::Form1& form, QDBusConnection connection, int callbackTimeoutMs)
    : form_(form),
      connection_(connection),
      callbackTimeoutMs_(callbackTimeoutMs),
      draws_(form, connection),
      notice_(&form) {}

shell::Form1& WindowAccess::window() {
  if (form_.unloaded()) {
    throw BusError(QString::fromLatin1(error::kWindowUnloaded),
                   QStringLiteral("The map window has been unloaded"));
  }
  return form_;
}

void WindowAccess::setCallback(const QVariant& value) {
  BusObjectRef ref;
  if (!busObjectRefOf(value, ref)) {
    window().setCallback(value, nullptr);
    return;
  }
  if (!isValidBusName(ref.service)) {
    throw BusError(QString::fromLatin1(error::kInvalidArgs),
                   QStringLiteral("Callback: \"%1\" is not a bus name").arg(ref.service));
  }
  auto object = std::make_shared<BusCallback>(
      connection_, ref, [this](const QString& text) { notice_.show(text); }, callbackTimeoutMs_);
  window().setCallback(QVariant::fromValue(ref), std::move(object));
}

QVariant WindowAccess::callback() const { return busValue(form_.Callback()); }

void WindowAccess::draw(const QDBusMessage& call) {
  window();
  draws_.draw(call);
}

}  // namespace orbelle::server
