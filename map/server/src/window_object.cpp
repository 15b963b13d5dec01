// The map window at /Form1 (interface Orbelle.Form1) and the factory at / (Orbelle.Factory).
// The window's fields are written as they are, through the model's setters for the window
// object (without the option fields' validations); its operations are the model's, and its
// standard members the window's own.

#include <cstdint>

#include "model/map_model.hpp"
#include "raster/color.hpp"
#include "server/automation.hpp"
#include "server/bus_object.hpp"
#include "server/spot_call.hpp"

namespace orbelle::server {
namespace {

using Args = QVariantList;
using Method = BusObject::Method;
using Getter = BusObject::Getter;
using Setter = BusObject::Setter;
using model::MapModel;

Method done(std::function<void(MapModel&, const Args&)> action, ModelAccess& m) {
  return [action = std::move(action), &m](const Args& args, const QDBusMessage&) {
    action(m.model(), args);
    return Reply{};
  };
}

// A field of the model as a read-write property of type T: read from the model's state, written
// through the model's setter for the window object.
template <typename T>
void field(std::map<QString, Getter>& get, std::map<QString, Setter>& set, const QString& name,
           ModelAccess& m, T (*read)(const MapModel&), void (MapModel::*write)(T)) {
  get[name] = [&m, read] { return QVariant::fromValue(read(m.model())); };
  set[name] = [&m, write](const QVariant& v) { (m.model().*write)(v.value<T>()); };
}

}  // namespace

BusObject* makeWindowObject(Automation& automation) {
  ModelAccess& m = automation.access();
  const auto key = &BusObject::formKey;

  std::map<QString, Method> methods;
  methods[key("cmdDraw_Click", "")] = [&m](const Args&, const QDBusMessage& call) {
    m.draw(call);
    return Reply::deferred();
  };
  methods[key("ClearSpots", "")] = done([](MapModel& f, const Args&) { f.ClearSpots(); }, m);
  methods[key("SunTimer_Timer", "")] =
      done([](MapModel& f, const Args&) { f.SunTimer_Timer(); }, m);
  methods[key("txtMaxDxKm_LostFocus", "")] =
      done([](MapModel& f, const Args&) { f.txtMaxDxKm_LostFocus(); }, m);
  methods[key("txtMaxDxMi_Lostfocus", "")] =
      done([](MapModel& f, const Args&) { f.txtMaxDxMi_Lostfocus(); }, m);
  methods[key("txtUTCOffset_LostFocus", "")] =
      done([](MapModel& f, const Args&) { f.txtUTCOffset_LostFocus(); }, m);
  methods[key("SetPixelSize", "n")] = [&m](const Args& a, const QDBusMessage&) {
    m.window().SetPixelSize(a.at(0).value<std::int16_t>());
    return Reply{};
  };
  methods[key("DrawPoint", "ddin")] = [&m](const Args& a, const QDBusMessage&) {
    const double miles = m.model().DrawPoint(a.at(0).toDouble(), a.at(1).toDouble(),
                                             static_cast<raster::Rgb>(a.at(2).toInt()),
                                             a.at(3).value<std::int16_t>());
    return Reply{{miles}};
  };
  methods[key("DrawPath", "dd")] = done(
      [](MapModel& f, const Args& a) { f.DrawPath(a.at(0).toDouble(), a.at(1).toDouble()); }, m);
  methods[key("AddSpot", kAddSpotSignature)] =
      done([](MapModel& f, const Args& a) { f.AddSpot(spotArgsOf(a)); }, m);
  methods[key("DrawSpots", "")] = done([](MapModel& f, const Args&) { f.DrawSpots(); }, m);
  methods[key("testspot", "")] = done([](MapModel& f, const Args&) { f.testspot(); }, m);

  std::map<QString, Getter> get;
  std::map<QString, Setter> set;
  field<std::int16_t>(
      get, set, "MaxDx", m, [](const MapModel& f) { return f.state().plane.MaxDx; },
      &MapModel::setMaxDx);
  field<double>(
      get, set, "LatHere", m, [](const MapModel& f) { return f.state().plane.LatHere; },
      &MapModel::setLatHere);
  field<double>(
      get, set, "LonHere", m, [](const MapModel& f) { return f.state().plane.LonHere; },
      &MapModel::setLonHere);
  field<bool>(
      get, set, "ShowSun", m, [](const MapModel& f) { return f.state().ShowSun; },
      &MapModel::setShowSun);
  field<bool>(
      get, set, "ShowRivers", m, [](const MapModel& f) { return f.state().ShowRivers; },
      &MapModel::setShowRivers);
  field<double>(
      get, set, "UTCOffset", m, [](const MapModel& f) { return f.state().UTCOffset; },
      &MapModel::setUTCOffset);
  field<double>(
      get, set, "UTCOffsetSeconds", m, [](const MapModel& f) { return f.state().UTCOffsetSeconds; },
      &MapModel::setUTCOffsetSeconds);
  field<bool>(
      get, set, "ShowSpots", m, [](const MapModel& f) { return f.state().ShowSpots; },
      &MapModel::setShowSpots);
  field<bool>(
      get, set, "ShowSpotBy", m, [](const MapModel& f) { return f.state().ShowSpotBy; },
      &MapModel::setShowSpotBy);
  field<bool>(
      get, set, "ShowConnectingLines", m,
      [](const MapModel& f) { return f.state().ShowConnectingLines; },
      &MapModel::setShowConnectingLines);
  field<bool>(
      get, set, "Drawing", m, [](const MapModel& f) { return f.Drawing(); }, &MapModel::setDrawing);

  get["Callback"] = [&m] { return m.callback(); };
  set["Callback"] = [&m](const QVariant& v) { m.setCallback(v); };
  get["Visible"] = [&m] { return QVariant(m.window().shown()); };
  set["Visible"] = [&m](const QVariant& v) { m.window().setShown(v.toBool()); };
  get["Left"] = [&m] { return QVariant(m.window().leftTwips()); };
  set["Left"] = [&m](const QVariant& v) { m.window().setLeftTwips(v.toDouble()); };
  get["Top"] = [&m] { return QVariant(m.window().topTwips()); };
  set["Top"] = [&m](const QVariant& v) { m.window().setTopTwips(v.toDouble()); };
  get["Width"] = [&m] { return QVariant(m.window().widthTwips()); };
  set["Width"] = [&m](const QVariant& v) { m.window().setWidthTwips(v.toDouble()); };
  get["Height"] = [&m] { return QVariant(m.window().heightTwips()); };
  set["Height"] = [&m](const QVariant& v) { m.window().setHeightTwips(v.toDouble()); };
  get["Caption"] = [&m] { return QVariant(m.window().caption()); };
  set["Caption"] = [&m](const QVariant& v) { m.window().setCaption(v.toString()); };

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
