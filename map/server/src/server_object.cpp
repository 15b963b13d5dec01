// A server object at /server/N: interface Orbelle._server. Its handlers convert the bus's values
// and call the model's setters for the host (each applies the rule of its property); every
// handler first looks its object up, so that a call queued before a Release answers
// UnknownObject instead of acting.

#include <cstdint>

#include "model/map_model.hpp"
#include "raster/qt/picture_file.hpp"
#include "server/automation.hpp"
#include "server/bus_object.hpp"
#include "server/spot_call.hpp"

namespace orbelle::server {
namespace {

// DrawPath's values when the host leaves them out: a latitude below −90 removes the path.
constexpr double kDrawPathDefaultLat = -99.0;
constexpr double kDrawPathDefaultLon = 0.0;
// PixelSize reads the surface's outer width less this many pixels.
constexpr double kPixelSizeBorderPx = 3.0;

using Args = QVariantList;
using Method = BusObject::Method;

std::int16_t int16Of(const QVariant& v) { return v.value<std::int16_t>(); }

Method done(std::function<void(const Args&)> action) {
  return [action = std::move(action)](const Args& args, const QDBusMessage&) {
    action(args);
    return Reply{};
  };
}

template <typename Action>
void onPicture(Action action) {
  try {
    action();
  } catch (const raster::PictureError& e) {
    throw BusError(QString::fromLatin1(error::kPictureFile), QString::fromStdString(e.what()));
  }
}

}  // namespace

BusObject* makeServerObject(Automation& automation, int number) {
  Automation& a = automation;
  ModelAccess& m = automation.access();
  const auto state = [&a, number]() -> ServerState& { return a.server(number); };
  const auto key = &BusObject::formKey;

  std::map<QString, Method> methods;
  methods[key("class_initialize", "")] = done([&a, state](const Args&) { a.initialize(state()); });
  methods[key("class_terminate", "")] = done([&m, state](const Args&) {
    state();
    m.modelEvenUnloaded().Unload();
  });
  methods[key("DrawAsync", "")] = done([&m, state](const Args&) {
    state();
    m.model().DrawAsync();
  });
  methods[key("Draw", "")] = [&m, state](const Args&, const QDBusMessage& call) {
    state();
    m.draw(call);
    return Reply::deferred();
  };
  methods[key("setcallerref", "v")] = done([&a, state](const Args& args) {
    state();
    a.setCallerRef(args.at(0));
  });
  methods[key("SaveImage", "s")] = done([&m, state](const Args& args) {
    state();
    onPicture([&] { m.model().SaveImage(args.at(0).toString()); });
  });
  methods[key("LoadImage", "s")] = done([&m, state](const Args& args) {
    state();
    onPicture([&] { m.model().LoadImage(args.at(0).toString()); });
  });
  methods[key("DrawPath", "dd")] = done([&m, state](const Args& args) {
    state();
    m.model().DrawPath(args.at(0).toDouble(), args.at(1).toDouble());
  });
  methods[key("DrawPath", "d")] = done([&m, state](const Args& args) {
    state();
    m.model().DrawPath(args.at(0).toDouble(), kDrawPathDefaultLon);
  });
  methods[key("DrawPath", "")] = done([&m, state](const Args&) {
    state();
    m.model().DrawPath(kDrawPathDefaultLat, kDrawPathDefaultLon);
  });
  methods[key("AddSpot", kAddSpotSignature)] = done([&m, state](const Args& args) {
    state();
    m.model().AddSpot(spotArgsOf(args));
  });
  methods[key("Release", "")] = done([&a, number](const Args&) { a.release(number); });

  std::map<QString, BusObject::Getter> get;
  std::map<QString, BusObject::Setter> set;
  get["Form"] = [state] { return busValue(state().Form); };
  set["Form"] = [state](const QVariant& v) { state().Form = v; };
  get["CallbackRef"] = [state] { return busValue(state().CallbackRef); };
  set["CallbackRef"] = [state](const QVariant& v) { state().CallbackRef = v; };
  get["Callback"] = [&m, state] {
    state();
    return m.callback();
  };
  set["Callback"] = [&m, state](const QVariant& v) {
    state();
    m.setCallback(v);
  };
  get["Latitude"] = [&m, state] {
    state();
    return QVariant(m.model().state().plane.LatHere);
  };
  set["Latitude"] = [&m, state](const QVariant& v) {
    state();
    m.model().setLatitudeFromHost(v.toDouble());
  };
  get["Longitude"] = [&m, state] {
    state();
    return QVariant(m.model().state().plane.LonHere);
  };
  set["Longitude"] = [&m, state](const QVariant& v) {
    state();
    m.model().setLongitudeFromHost(v.toDouble());
  };
  get["PixelSize"] = [&m, state] {
    state();
    const double outer = m.window().surfaceOuterWidthPixels();
    return QVariant::fromValue(checkedInt16(outer - kPixelSizeBorderPx, "PixelSize"));
  };
  set["PixelSize"] = [&m, state](const QVariant& v) {
    state();
    m.window().SetPixelSize(int16Of(v));
  };
  get["MaxDxMi"] = [&m, state] {
    state();
    return QVariant::fromValue(m.model().state().plane.MaxDx);
  };
  set["MaxDxMi"] = [&m, state](const QVariant& v) {
    state();
    m.model().setMaxDxMiFromHost(int16Of(v));
  };
  get["MaxDxKm"] = [&m, state] {
    state();
    return QVariant::fromValue(checkedInt16(m.model().MaxDxKm(), "MaxDxKm"));
  };
  set["MaxDxKm"] = [&m, state](const QVariant& v) {
    state();
    m.model().setMaxDxKmFromHost(int16Of(v));
  };
  get["UTCOffset"] = [&m, state] {
    state();
    return QVariant::fromValue(checkedInt16(m.model().state().UTCOffset, "UTCOffset"));
  };
  set["UTCOffset"] = [&m, state](const QVariant& v) {
    state();
    m.model().setUTCOffsetFromHost(int16Of(v));
  };
  get["Drawing"] = [&m, state] {
    state();
    return QVariant(m.model().Drawing());
  };
  get["AntennaHeading"] = [&m, state] {
    state();
    return QVariant(m.model().state().AntennaHeading);
  };
  set["AntennaHeading"] = [&m, state](const QVariant& v) {
    state();
    m.model().setAntennaHeading(v.toDouble());
  };

  return new BusObject(builtInInterface(QStringLiteral("Orbelle._server")), a.connection(),
                       std::move(methods), std::move(get), std::move(set), &a);
}

}  // namespace orbelle::server
