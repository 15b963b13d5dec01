// Loading and unloading the window: the settings read in order and applied, the window kept on
// the screen, the settings written back, and the close rule.

#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>

#include "form1_parts.hpp"
#include "form_settings.hpp"
#include "layout_rules.hpp"
#include "map_layers.hpp"
#include "number_format.hpp"
#include "options_rules.hpp"
#include "render/pass_style.hpp"
#include "shell/texts.hpp"

namespace orbelle::shell {

QSizeF Form1::screenSizeTwips() const {
  if (services_.screenSizeTwips) return services_.screenSizeTwips();
  const QScreen* s = screen();
  if (!s) return {};
  const QSize px = s->geometry().size();
  return {px.width() * tpp_, px.height() * tpp_};
}

void Form1::moveWindowTwips(double left, double top) {
  setPosTwips_ = {left, top};
  setPosPx_ = {pixelsOf(left, tpp_), pixelsOf(top, tpp_)};
  move(setPosPx_);
}

double Form1::windowLeftTwips() const {
  return x() == setPosPx_.x() ? setPosTwips_.x() : x() * tpp_;
}

double Form1::windowTopTwips() const {
  return y() == setPosPx_.y() ? setPosTwips_.y() : y() * tpp_;
}

void Form1::Form_Load() {
  if (loaded_) return;
  loaded_ = true;
  const MessageSink say = [this](const std::string& message) {
    services_.messages->message(QString::fromStdString(message), caption(), MessageIcon::None);
  };
  const SettingsReader ini(services_.settingsFile, say);

  // 1. Station, UTC offset, radius and the sun and river options.
  state_.plane.LatHere = ini.readDouble("LatHere", kDefaultLatHere);
  state_.plane.LonHere = ini.readDouble("LonHere", kDefaultLonHere);
  state_.UTCOffset = ini.readInteger("UTCOffset", kDefaultUTCOffset);
  state_.plane.MaxDx = wholeMiles(ini.readDouble("MaxDx", kDefaultMaxDx));
  state_.ShowSun = ini.readBoolean("ShowSun", kDefaultShowSun);
  state_.ShowRivers = ini.readBoolean("ShowRivers", kDefaultShowRivers);

  // 2. The surface and the window from the stored surface width.
  const std::int16_t pixelWidth = ini.readInteger("Pixelwidth", kDefaultPixelWidth);
  SetPixelSize(static_cast<std::int16_t>(
      pixelSizeForInnerWidth(pixelWidth, tpp_, {minSurfaceTwips_, maxSurfaceTwips_})));

  // 3. Spot options.
  state_.MaxSpots = ini.readInteger("MaxSpots", kDefaultMaxSpots);
  state_.ShowSpots = ini.readBoolean("ShowSpots", kDefaultShowSpots);
  state_.ShowSpotBy = ini.readBoolean("ShowSpotBy", kDefaultShowSpotBy);
  state_.ShowConnectingLines = ini.readBoolean("ShowConnectingLines", kDefaultShowConnectingLines);

  // 4. Position.
  const double top = ini.readSingle("Top", static_cast<float>(windowTopTwips()));
  moveWindowTwips(windowLeftTwips(), top);
  const double left = ini.readSingle("left", static_cast<float>(windowLeftTwips()));
  moveWindowTwips(left, windowTopTwips());

  // 5. Keep the window reachable.
  const QSizeF screenTwips = screenSizeTwips();
  const WindowPosition reachable = keepReachable({windowLeftTwips(), windowTopTwips()},
                                                 screenTwips.width(), screenTwips.height());
  moveWindowTwips(reachable.left, reachable.top);

  // 6. Always on top.
  state_.AlwaysOnTop = ini.readBoolean("AlwaysOnTop", kDefaultAlwaysOnTop);
  SetAlwaysOnTop(state_.AlwaysOnTop);

  // 7. Station and radius fields; the miles validation bounds MaxDx and fills the km field.
  c_.txtLatHere->setText(numbers_->text(state_.plane.LatHere));
  c_.txtLonHere->setText(numbers_->text(state_.plane.LonHere));
  c_.txtMaxDxMi->setText(numbers_->text(state_.plane.MaxDx));
  txtMaxDxMi_Lostfocus();

  // 8. Check boxes; checking one runs its click action.
  c_.chkShowSun->setChecked(state_.ShowSun);
  c_.chkAlwaysOnTop->setChecked(state_.AlwaysOnTop);
  c_.chkShowRivers->setChecked(state_.ShowRivers);

  // 9. UTC offset.
  c_.txtUTCOffset->setText(numbers_->text(state_.UTCOffset));
  state_.UTCOffsetSeconds = state_.UTCOffset * kSecondsPerHour;

  // 10. State other parts own.
  state_.WaterColor = render::kDefaultWaterColor;
  state_.LandColor = render::kDefaultLandColor;
  state_.IceColor = render::kDefaultIceColor;
  state_.PaintDeferred = false;
  overlay_ = std::make_unique<SunOverlay>(services_.clock);  // and with it GrayLinePoint
  state_.plane.PathShown = false;
  state_.MapCached = false;

  // 11. The cached map of an earlier run.
  loadCacheAtStart();

  // 12. Spots.
  ClearSpots();

  // 13. Image1 lies beneath the spot markers and lines: the markers are child widgets of the
  // surface and the lines are painted above its picture, so nothing needs moving here.

  // 14. Spot check boxes and their enabling.
  const bool showSpots = state_.ShowSpots;
  const bool showSpotBy = state_.ShowSpotBy;
  const bool showLines = state_.ShowConnectingLines;
  c_.chkShowSpots->setChecked(showSpots);
  c_.chkShowSpotBy->setChecked(showSpotBy);
  c_.chkShowConnectingLines->setChecked(showLines);
  c_.chkShowConnectingLines->setEnabled(state_.ShowSpots && state_.ShowSpotBy);
  c_.chkShowSpotBy->setEnabled(state_.ShowSpots);
}

void Form1::ShowAfterLoad() {
  setUpdatesEnabled(false);
  c_.SunTimer->start();
  show();
  setUpdatesEnabled(true);
}

void Form1::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  c_.Timer1->stop();
  c_.PaintTimer->stop();
  c_.SunTimer->stop();

  UnloadValues v;
  v.LatHere = state_.plane.LatHere;
  v.LonHere = state_.plane.LonHere;
  v.UTCOffset = state_.UTCOffset;
  v.MaxDx = state_.plane.MaxDx;
  v.ShowSun = state_.ShowSun;
  v.ShowRivers = state_.ShowRivers;
  v.MaxSpots = state_.MaxSpots;
  v.ShowSpots = state_.ShowSpots;
  v.ShowSpotBy = state_.ShowSpotBy;
  v.ShowConnectingLines = state_.ShowConnectingLines;
  v.Left = static_cast<float>(windowLeftTwips());
  v.Top = static_cast<float>(windowTopTwips());
  v.PixelWidth = state_.plane.PictureWidthPx;
  v.AlwaysOnTop = state_.AlwaysOnTop;
  // A failed write is ignored: the window goes away whatever the disk says.
  writeSettings(services_.settingsFile, v, {});
  hide();
  if (onUnloaded_) onUnloaded_();
}

void Form1::Unload() {
  programUnload_ = true;
  close();
}

void Form1::closeEvent(QCloseEvent* event) {
  if (unloaded_) {
    event->accept();
    return;
  }
  // A close request from the operator's close box or the desktop only hides a window that a
  // server object has claimed in this run; the host can show it again.
  if (serverActive_ && !programUnload_) {
    event->ignore();
    hide();
    return;
  }
  // Unloading from inside a pass or a refresh would pull the window from under them: cancel
  // the pass and unload once it has returned.
  if (passRunning() || refreshing_) {
    closeOwed_ = true;
    if (passRunning()) cmdCancel_Click();
    event->ignore();
    return;
  }
  Form_Unload();
  event->accept();
}

}  // namespace orbelle::shell
