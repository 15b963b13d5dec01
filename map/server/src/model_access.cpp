#include "server/model_access.hpp"

#include <memory>

#include "model/map_model.hpp"

namespace orbelle::server {
namespace {

BusError unloadedError() {
  return BusError(QString::fromLatin1(error::kWindowUnloaded),
                  QStringLiteral("The map window has been unloaded"));
}

}  // namespace

QVariant busValue(const QVariant& stored) {
  return stored.isValid() ? stored : QVariant(QString());
}

ModelAccess::ModelAccess(model::MapModel& model, QDBusConnection connection, int callbackTimeoutMs)
    : model_(model),
      connection_(connection),
      callbackTimeoutMs_(callbackTimeoutMs),
      draws_(model, connection) {}

model::MapModel& ModelAccess::model() {
  if (model_.unloaded()) throw unloadedError();
  return model_;
}

model::FormWindow& ModelAccess::window() {
  model::FormWindow* window = model().window();
  if (!window) throw unloadedError();
  return *window;
}

void ModelAccess::setCallback(const QVariant& value) {
  BusObjectRef ref;
  if (!busObjectRefOf(value, ref)) {
    model().setCallback(value, nullptr);
    return;
  }
  if (!isValidBusName(ref.service)) {
    throw BusError(QString::fromLatin1(error::kInvalidArgs),
                   QStringLiteral("Callback: \"%1\" is not a bus name").arg(ref.service));
  }
  model::MapModel& m = model();
  auto object = std::make_shared<BusCallback>(
      connection_, ref, [&m](const QString& text) { m.reportHostFailure(text); },
      callbackTimeoutMs_);
  m.setCallback(QVariant::fromValue(ref), std::move(object));
}

QVariant ModelAccess::callback() const { return busValue(model_.Callback()); }

void ModelAccess::draw(const QDBusMessage& call) {
  model();
  draws_.draw(call);
}

}  // namespace orbelle::server
