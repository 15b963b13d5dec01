// The model's construction, its load and unload, and the host's callback object.

#include "model/map_model.hpp"

#include "model/options_rules.hpp"
#include "model_adapters.hpp"
#include "render/drawing_pass.hpp"
#include "render/pass_options.hpp"

namespace orbelle::model {
namespace {

// The window's title when there is no window: the program's name.
constexpr const char* kProgramName = "orbelle";

// Intervals of the model's timers, milliseconds: DrawAsync's one-shot timer, and the sun timer
// (65532, not 60000).
constexpr int kTimer1Interval = 1;
constexpr int kSunTimerInterval = 65532;

}  // namespace

MapModel::MapModel(ModelServices services, QObject* parent)
    : QObject(parent),
      services_(std::move(services)),
      layers_(std::make_unique<MapLayers>(1, 1)),
      passOptions_(std::make_unique<render::PassOptions>()),
      passWindow_(std::make_unique<PassAdapter>(*this)),
      pass_(std::make_unique<render::DrawingPass>(*passWindow_, state_.plane, *passOptions_,
                                                  services_.programFolder)),
      overlayWindow_(std::make_unique<OverlayAdapter>(*this)) {
  if (!services_.clock) services_.clock = systemLocalNow;
  if (!services_.hoursToUtc) services_.hoursToUtc = systemHoursToUtc;
  timer1_.setSingleShot(true);
  timer1_.setInterval(kTimer1Interval);
  sunTimer_.setInterval(kSunTimerInterval);
  paintTimer_.setSingleShot(true);
  resizeSettle_.setSingleShot(true);
  resizeSettle_.setInterval(kResizeSettleMs);
  connect(&resizeSettle_, &QTimer::timeout, this, [this] {
    const raster::Surface* picture = layers_->picture();
    if (picture && (picture->width() != layers_->width() || picture->height() != layers_->height())) {
      DrawAsync();
    }
  });
  connect(&timer1_, &QTimer::timeout, this, [this] { cmdDraw_Click(); });
  connect(&sunTimer_, &QTimer::timeout, this, [this] { SunTimer_Timer(); });
  connect(&paintTimer_, &QTimer::timeout, this, [this] { PaintTimer_Timer(); });
  // Every station and scale change puts the markers where the map shows their places.
  connect(this, &MapModel::stationChanged, this, [this] {
    spots_.reproject(state_.plane.LatHere, state_.plane.LonHere);
    DrawSpots();
  });
  connect(this, &MapModel::scaleChanged, this, &MapModel::DrawSpots);
  connect(this, &MapModel::passFinished, this, &MapModel::DrawSpots);
}

MapModel::~MapModel() = default;

QString MapModel::caption() const {
  return window_ ? window_->caption() : QString::fromLatin1(kProgramName);
}

void MapModel::showMessage(const QString& text, MessageIcon icon) const {
  if (services_.messages) services_.messages->message(text, caption(), icon);
}

std::optional<spots::PixelScale> MapModel::markerScale() const {
  // MilesPerPixel is set by the first SetMapScale; before it the layer has its pixel scale.
  if (!(state_.plane.MilesPerPixel > 0.0)) return std::nullopt;
  spots::PixelScale scale = spots::scaleOf(layers_->mapLayer());
  const double ratio = layers_->devicePixelRatio();
  scale.unitWidth *= ratio;
  scale.unitHeight *= ratio;
  scale.width = layers_->logicalWidth();
  scale.height = layers_->logicalHeight();
  return scale;
}

StoredSettings MapModel::load(float currentLeftTwips, float currentTopTwips) {
  const MessageSink say = [this](const std::string& text) {
    showMessage(QString::fromStdString(text), MessageIcon::None);
  };
  StoredSettings defaults;
  defaults.Left = currentLeftTwips;
  defaults.Top = currentTopTwips;
  defaults.UTCOffset = services_.hoursToUtc();
  const StoredSettings s = readSettings(services_.settingsFile, defaults, say);

  state_.plane.LatHere = s.LatHere;
  state_.plane.LonHere = s.LonHere;
  state_.UTCOffset = s.UTCOffset;
  state_.UTCOffsetFromSystem = !s.UTCOffsetStored;
  state_.plane.MaxDx = wholeMiles(s.MaxDx);
  state_.ShowSun = s.ShowSun;
  state_.ShowRivers = s.ShowRivers;
  state_.MaxSpots = s.MaxSpots;
  state_.ShowSpots = s.ShowSpots;
  state_.ShowSpotBy = s.ShowSpotBy;
  state_.ShowConnectingLines = s.ShowConnectingLines;
  state_.AlwaysOnTop = s.AlwaysOnTop;
  state_.ShadeNight = s.ShadeNight;
  state_.ShowCalls = s.ShowCalls;

  // The station and radius fields; the miles rule bounds MaxDx and fills the kilometre field.
  fields_.txtLatHere = numbers_.text(state_.plane.LatHere);
  fields_.txtLonHere = numbers_.text(state_.plane.LonHere);
  fields_.txtMaxDxMi = numbers_.text(state_.plane.MaxDx);
  txtMaxDxMi_Lostfocus();
  fields_.txtUTCOffset = numbers_.text(state_.UTCOffset);
  state_.UTCOffsetSeconds = state_.UTCOffset * kSecondsPerHour;

  state_.WaterColor = render::kDefaultWaterColor;
  state_.LandColor = render::kDefaultLandColor;
  state_.IceColor = render::kDefaultIceColor;
  state_.PaintDeferred = false;
  overlay_ = std::make_unique<SunOverlay>(services_.clock);  // and with it GrayLinePoint
  state_.plane.PathShown = false;
  state_.MapCached = false;
  loadCacheAtStart();
  ClearSpots();
  emit stationChanged();
  emit radiusChanged();
  emit optionsChanged();
  return s;
}

void MapModel::startSunTimer() { sunTimer_.start(); }

void MapModel::unload(float leftTwips, float topTwips) {
  if (unloaded_) return;
  unloaded_ = true;
  timer1_.stop();
  paintTimer_.stop();
  resizeSettle_.stop();
  sunTimer_.stop();

  StoredSettings v;
  v.LatHere = state_.plane.LatHere;
  v.LonHere = state_.plane.LonHere;
  v.UTCOffset = state_.UTCOffset;
  v.UTCOffsetStored = !state_.UTCOffsetFromSystem;
  v.MaxDx = state_.plane.MaxDx;
  v.ShowSun = state_.ShowSun;
  v.ShowRivers = state_.ShowRivers;
  v.MaxSpots = state_.MaxSpots;
  v.ShowSpots = state_.ShowSpots;
  v.ShowSpotBy = state_.ShowSpotBy;
  v.ShowConnectingLines = state_.ShowConnectingLines;
  v.Left = leftTwips;
  v.Top = topTwips;
  v.PixelWidth = state_.plane.PictureWidthPx;
  v.AlwaysOnTop = state_.AlwaysOnTop;
  v.ShadeNight = state_.ShadeNight;
  v.ShowCalls = state_.ShowCalls;
  // A failed write is ignored: the window goes away whatever the disk says.
  writeSettings(services_.settingsFile, v, {});
  emit unloadedChanged();
}

void MapModel::Unload() {
  if (!unloaded_) emit unloadRequested();
}

void MapModel::setCallback(const QVariant& value, std::shared_ptr<HostCallback> object) {
  callbackValue_ = value;
  callbackObject_ = std::move(object);
}

}  // namespace orbelle::model
