// The map window at /Form1 (interface Orbelle.Form1) and the factory at / (Orbelle.Factory).
// The window's fields are written as they are, without the option fields' validations; its
// operations are the window's own.

#include <cstdint>

#include "raster/color.hpp"
#include "server/automation.hpp"
#include "server/bus_object.hpp"
#include "server/spot_call.hpp"
#include "shell/form1.hpp"

namespace orbelle::server {
namespace {

using Args = QVariantList;
using Method = BusObject::Method;
using Getter = BusObject::Getter;
using Setter = BusObject::Setter;

Method done(std::function<void(shell::Form1&, const Args&)> action, WindowAccess& w) {
  return [action = std::move(action), &w](const Args& args, const QDBusMessage&) {
    action(w.window(), args);
    return Reply{};
  };
}

// A field of the window's state as a read-write property of type T.
template <typename T>
void field(std::map<QString, Getter>& get, std::map<QString, Setter>& set, const QString& name,
           WindowAccess& w, T& (*select)(shell::Form1&)) {
  get[name] = [&w, select] { return QVariant::fromValue(select(w.window())); };
  set[name] = [&w, select](const QVariant& v) { select(w.window()) = v.value<T>(); };
}

}  // namespace

BusObject* makeWindowObject(Automation& automation) {
  WindowAccess& w = automation.window();
  const auto key = &BusObject::formKey;

  std::map<QString, Method> methods;
  methods[key("cmdDraw_Click", "")] = [&w](const Args&, const QDBusMessage& call) {
    w.draw(call);
    return Reply::deferred();
  };
  methods[key("ClearSpots", "")] = done([](shell::Form1& f, const Args&) { f.ClearSpots(); }, w);
  methods[key("SunTimer_Timer", "")] =
      done([](shell::Form1& f, const Args&) { f.SunTimer_Timer(); }, w);
  methods[key("txtMaxDxKm_LostFocus", "")] =
      done([](shell::Form1& f, const Args&) { f.txtMaxDxKm_LostFocus(); }, w);
  methods[key("txtMaxDxMi_Lostfocus", "")] =
      done([](shell::Form1& f, const Args&) { f.txtMaxDxMi_Lostfocus(); }, w);
  methods[key("txtUTCOffset_LostFocus", "")] =
      done([](shell::Form1& f, const Args&) { f.txtUTCOffset_LostFocus(); }, w);
  methods[key("SetPixelSize", "n")] = done(
      [](shell::Form1& f, const Args& a) { f.SetPixelSize(a.at(0).value<std::int16_t>()); }, w);
  methods[key("DrawPoint", "ddin")] = [&w](const Args& a, const QDBusMessage&) {
    const double miles = w.window().DrawPoint(a.at(0).toDouble(), a.at(1).toDouble(),
                                              static_cast<raster::Rgb>(a.at(2).toInt()),
                                              a.at(3).value<std::int16_t>());
    return Reply{{miles}};
  };
  methods[key("DrawPath", "dd")] = done(
      [](shell::Form1& f, const Args& a) { f.DrawPath(a.at(0).toDouble(), a.at(1).toDouble()); },
      w);
  methods[key("AddSpot", kAddSpotSignature)] =
      done([](shell::Form1& f, const Args& a) { addSpot(f, a); }, w);
  methods[key("DrawSpots", "")] = done([](shell::Form1& f, const Args&) { f.DrawSpots(); }, w);
  methods[key("testspot", "")] = done([](shell::Form1& f, const Args&) { f.testspot(); }, w);

  std::map<QString, Getter> get;
  std::map<QString, Setter> set;
  field<std::int16_t>(get, set, "MaxDx", w,
                      [](shell::Form1& f) -> std::int16_t& { return f.state().plane.MaxDx; });
  field<double>(get, set, "LatHere", w,
                [](shell::Form1& f) -> double& { return f.state().plane.LatHere; });
  field<double>(get, set, "LonHere", w,
                [](shell::Form1& f) -> double& { return f.state().plane.LonHere; });
  field<bool>(get, set, "ShowSun", w, [](shell::Form1& f) -> bool& { return f.state().ShowSun; });
  field<bool>(get, set, "ShowRivers", w,
              [](shell::Form1& f) -> bool& { return f.state().ShowRivers; });
  field<double>(get, set, "UTCOffset", w,
                [](shell::Form1& f) -> double& { return f.state().UTCOffset; });
  field<double>(get, set, "UTCOffsetSeconds", w,
                [](shell::Form1& f) -> double& { return f.state().UTCOffsetSeconds; });
  field<bool>(get, set, "ShowSpots", w,
              [](shell::Form1& f) -> bool& { return f.state().ShowSpots; });
  field<bool>(get, set, "ShowSpotBy", w,
              [](shell::Form1& f) -> bool& { return f.state().ShowSpotBy; });
  field<bool>(get, set, "ShowConnectingLines", w,
              [](shell::Form1& f) -> bool& { return f.state().ShowConnectingLines; });

  get["Callback"] = [&w] { return w.callback(); };
  set["Callback"] = [&w](const QVariant& v) { w.setCallback(v); };
  get["Drawing"] = [&w] { return QVariant(w.window().Drawing()); };
  set["Drawing"] = [&w](const QVariant& v) { w.window().setDrawing(v.toBool()); };
  get["Visible"] = [&w] { return QVariant(w.window().isVisible()); };
  set["Visible"] = [&w](const QVariant& v) { w.window().setVisible(v.toBool()); };
  get["Left"] = [&w] { return QVariant(w.window().windowLeftTwips()); };
  set["Left"] = [&w](const QVariant& v) { w.window().setWindowLeftTwips(v.toDouble()); };
  get["Top"] = [&w] { return QVariant(w.window().windowTopTwips()); };
  set["Top"] = [&w](const QVariant& v) { w.window().setWindowTopTwips(v.toDouble()); };
  get["Width"] = [&w] { return QVariant(w.window().windowWidthTwips()); };
  set["Width"] = [&w](const QVariant& v) { w.window().setWindowWidthTwips(v.toDouble()); };
  get["Height"] = [&w] { return QVariant(w.window().windowHeightTwips()); };
  set["Height"] = [&w](const QVariant& v) { w.window().setWindowHeightTwips(v.toDouble()); };
  get["Caption"] = [&w] { return QVariant(w.window().caption()); };
  set["Caption"] = [&w](const QVariant& v) { w.window().setWindowTitle(v.toString()); };

  return new BusObject(builtInInterface(QStringLiteral("Orbelle.Form1")), automation.connection(),
                       std::move(methods), std::move(get), std::move(set), &automation);
}

BusObject* makeFactoryObject(Automation& automation) {
  Automation& a = automation;
  const auto key = &BusObject::formKey;
  std::map<QString, Method> methods;
  methods[key("Create", "")] = [&a](const Args&, const QDBusMessage& call) {
    return Reply{{QVariant::fromValue(a.create(call.service()))}};
  };
  methods[key("CreateDetached", "")] = [&a](const Args&, const QDBusMessage&) {
    return Reply{{QVariant::fromValue(a.create(QString()))}};
  };
  return new BusObject(builtInInterface(QStringLiteral("Orbelle.Factory")), a.connection(),
                       std::move(methods), {}, {}, &a);
}

}  // namespace orbelle::server
