// A server object at /server/N: interface Orbelle._server. Its handlers only forward to the
// window and to the automation's state; the setters write the window's option fields and run
// their validations exactly where the automation interface does. Every handler first looks its
// object up, so that a call queued before a Release answers UnknownObject instead of acting.

#include <QLineEdit>
#include <cmath>
#include <cstdint>

#include "geometry/constants.hpp"
#include "raster/qt/picture_file.hpp"
#include "server/automation.hpp"
#include "server/bus_object.hpp"
#include "server/spot_call.hpp"
#include "shell/form1.hpp"

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
  WindowAccess& w = automation.window();
  const auto state = [&a, number]() -> ServerState& { return a.server(number); };
  const auto key = &BusObject::formKey;

  std::map<QString, Method> methods;
  methods[key("class_initialize", "")] = done([&a, state](const Args&) { a.initialize(state()); });
  methods[key("class_terminate", "")] = done([&w, state](const Args&) {
    state();
    if (!w.form().unloaded()) w.form().Unload();
  });
  methods[key("DrawAsync", "")] = done([&w, state](const Args&) {
    state();
    w.window().DrawAsync();
  });
  methods[key("Draw", "")] = [&w, state](const Args&, const QDBusMessage& call) {
    state();
    w.draw(call);
    return Reply::deferred();
  };
  methods[key("setcallerref", "v")] = done([&a, state](const Args& args) {
    state();
    a.setCallerRef(args.at(0));
  });
  methods[key("SaveImage", "s")] = done([&w, state](const Args& args) {
    state();
    onPicture([&] { w.window().SaveImage(args.at(0).toString()); });
  });
  methods[key("LoadImage", "s")] = done([&w, state](const Args& args) {
    state();
    onPicture([&] { w.window().LoadImage(args.at(0).toString()); });
  });
  methods[key("DrawPath", "dd")] = done([&w, state](const Args& args) {
    state();
    w.window().DrawPath(args.at(0).toDouble(), args.at(1).toDouble());
  });
  methods[key("DrawPath", "d")] = done([&w, state](const Args& args) {
    state();
    w.window().DrawPath(args.at(0).toDouble(), kDrawPathDefaultLon);
  });
  methods[key("DrawPath", "")] = done([&w, state](const Args&) {
    state();
    w.window().DrawPath(kDrawPathDefaultLat, kDrawPathDefaultLon);
  });
  methods[key("AddSpot", kAddSpotSignature)] = done([&w, state](const Args& args) {
    state();
    addSpot(w.window(), args);
  });
  methods[key("Release", "")] = done([&a, number](const Args&) { a.release(number); });

  std::map<QString, BusObject::Getter> get;
  std::map<QString, BusObject::Setter> set;
  get["Form"] = [state] { return busValue(state().Form); };
  set["Form"] = [state](const QVariant& v) { state().Form = v; };
  get["CallbackRef"] = [state] { return busValue(state().CallbackRef); };
  set["CallbackRef"] = [state](const QVariant& v) { state().CallbackRef = v; };
  get["Callback"] = [&w, state] {
    state();
    return w.callback();
  };
  set["Callback"] = [&w, state](const QVariant& v) {
    state();
    w.setCallback(v);
  };
  get["Latitude"] = [&w, state] {
    state();
    return QVariant(w.window().state().plane.LatHere);
  };
  set["Latitude"] = [&w, state](const QVariant& v) {
    state();
    shell::Form1& form = w.window();
    // The field shows the value; LatHere takes it without the field's bounds.
    form.controls().txtLatHere->setText(form.numberText(v.toDouble()));
    form.state().plane.LatHere = v.toDouble();
  };
  get["Longitude"] = [&w, state] {
    state();
    return QVariant(w.window().state().plane.LonHere);
  };
  set["Longitude"] = [&w, state](const QVariant& v) {
    state();
    shell::Form1& form = w.window();
    form.controls().txtLonHere->setText(form.numberText(v.toDouble()));
    form.state().plane.LonHere = v.toDouble();
  };
  get["PixelSize"] = [&w, state] {
    state();
    const double outer = w.window().surfaceOuterWidthPixels();
    return QVariant::fromValue(checkedInt16(outer - kPixelSizeBorderPx, "PixelSize"));
  };
  set["PixelSize"] = [&w, state](const QVariant& v) {
    state();
    w.window().SetPixelSize(int16Of(v));
  };
  get["MaxDxMi"] = [&w, state] {
    state();
    return QVariant::fromValue(w.window().state().plane.MaxDx);
  };
  set["MaxDxMi"] = [&w, state](const QVariant& v) {
    state();
    shell::Form1& form = w.window();
    form.controls().txtMaxDxMi->setText(form.numberText(int16Of(v)));
    form.txtMaxDxMi_Lostfocus();
  };
  get["MaxDxKm"] = [&w, state] {
    state();
    const double km = std::floor(w.window().state().plane.MaxDx * geo::kKmPerMile);
    return QVariant::fromValue(checkedInt16(km, "MaxDxKm"));
  };
  set["MaxDxKm"] = [&w, state](const QVariant& v) {
    state();
    shell::Form1& form = w.window();
    form.controls().txtMaxDxKm->setText(form.numberText(int16Of(v)));
    form.txtMaxDxKm_LostFocus();
  };
  get["UTCOffset"] = [&w, state] {
    state();
    return QVariant::fromValue(checkedInt16(w.window().state().UTCOffset, "UTCOffset"));
  };
  set["UTCOffset"] = [&w, state](const QVariant& v) {
    state();
    shell::Form1& form = w.window();
    form.controls().txtUTCOffset->setText(form.numberText(int16Of(v)));
    form.txtUTCOffset_LostFocus();
  };
  get["Drawing"] = [&w, state] {
    state();
    return QVariant(w.window().Drawing());
  };

  return new BusObject(builtInInterface(QStringLiteral("Orbelle._server")), a.connection(),
                       std::move(methods), std::move(get), std::move(set), &a);
}

}  // namespace orbelle::server
