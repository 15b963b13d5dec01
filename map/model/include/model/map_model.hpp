#pragma once

// The map's model: everything the map window shows and the bus reads, without a widget. It owns
// the state (station, radius, surface scale, path line, UTC offset, options, option fields, the
// spot ring, the map's layers), loads and stores the settings, runs the drawing pass and the
// overlay refresh and schedules them (DrawAsync, the sun timer, the deferred repaint), and calls
// the host back. Views observe it through its signals; every way in goes through one named setter
// that applies that way's rule:
//
//   the host's server object   setLatitudeFromHost, setMaxDxMiFromHost, ...  (its property rules)
//   the window object /Form1   setLatHere, setMaxDx, setShowSpots, ...       (fields as they are)
//   the operator               setFieldText + txtLatHere_LostFocus, ...      (the fields' rules)
//
// Everything runs on the GUI thread. The drawing pass and the overlay refresh let pending events
// run, so any public operation may be called from inside them; Drawing() tells which ones must
// stay out of a pass's way, and a pass requested during a pass runs after it.

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "model/form_window.hpp"
#include "model/host_callback.hpp"
#include "model/map_layers.hpp"
#include "model/map_state.hpp"
#include "model/message_boxes.hpp"
#include "model/number_format.hpp"
#include "model/option_fields.hpp"
#include "model/settings_file.hpp"
#include "plane/pointer.hpp"
#include "spots/marker_press.hpp"
#include "spots/slot_layout.hpp"
#include "spots/spot_list.hpp"
#include "sun/local_clock.hpp"

namespace orbelle {
class SunOverlay;
}
namespace orbelle::render {
class DrawingPass;
struct PassOptions;
}  // namespace orbelle::render

namespace orbelle::model {

// What the model uses of its surroundings. `messages` must outlive the model.
struct ModelServices {
  MessageBoxes* messages = nullptr;
  std::string settingsFile = kSettingsFile;
  QString cacheFile = QStringLiteral("MapCache.bmp");
  std::string programFolder;  // holds the folder "mapdata" with the outline files
  LocalClock clock;           // the local clock the sun overlay reads; empty: the system's
  // Hours to add to that clock to get UTC, the UTC offset when the settings hold none; empty:
  // the system's time zone.
  std::function<double()> hoursToUtc;
};

class MapModel : public QObject {
  Q_OBJECT

 public:
  explicit MapModel(ModelServices services, QObject* parent = nullptr);
  ~MapModel() override;
  MapModel(const MapModel&) = delete;
  MapModel& operator=(const MapModel&) = delete;

  // ---- state ----
  const MapState& state() const noexcept { return state_; }
  const OptionFields& fields() const noexcept { return fields_; }
  const spots::SpotList& spots() const noexcept { return spots_; }
  MapLayers& layers() noexcept { return *layers_; }
  const MapLayers& layers() const noexcept { return *layers_; }
  // The scale markers are placed in: the map layer's user scale of the last SetMapScale (a pass
  // or a resize) in logical pixels of the window; nothing before the first one.
  std::optional<spots::PixelScale> markerScale() const;
  // A number as the option fields show it: the operator's general number format.
  QString numberText(double value) const { return numbers_.text(value); }
  // The window's caption, the title of the model's messages.
  QString caption() const;

  // ---- the window and the program's life ----
  // The window the bus's window members reach (null: none, or it has unloaded).
  void setWindow(FormWindow* window) noexcept { window_ = window; }
  FormWindow* window() const noexcept { return window_; }
  // The load steps of the model. The settings are read with the window's current position as the
  // default of "Left" and "Top"; station, UTC offset, radius (through the miles field), options
  // and colours are applied, the cached map of an earlier run is loaded and the spot ring is made.
  // What was read comes back for the window's own steps.
  StoredSettings load(float currentLeftTwips, float currentTopTwips);
  // Starts the sun timer: the window is up.
  void startSunTimer();
  // The unload: timers stop, the settings are written with the window's position; runs once.
  void unload(float leftTwips, float topTwips);
  bool unloaded() const noexcept { return unloaded_; }
  // The program's own unload (a server object going away): asks the window to unload.
  void Unload();
  void setServerActive(bool active) noexcept { serverActive_ = active; }
  bool ServerActive() const noexcept { return serverActive_; }

  // ---- station: the three ways in ----
  // The host's Latitude and Longitude: the field shows the value, which is taken unbounded.
  void setLatitudeFromHost(double value);
  void setLongitudeFromHost(double value);
  // The window object's fields LatHere and LonHere, as they are (the fields keep their text).
  void setLatHere(double value);
  void setLonHere(double value);
  // The operator's fields, after setFieldText: bounded to ±89.9 and ±180 and shown again. False
  // when the field holds no number (fieldRefused is emitted).
  bool txtLatHere_LostFocus();
  bool txtLonHere_LostFocus();

  // ---- map radius ----
  // The host's MaxDxMi and MaxDxKm: the value is written into the field and the field's rule
  // runs (miles bounded to 100 .. 12437; kilometres unbounded).
  void setMaxDxMiFromHost(std::int16_t miles);
  void setMaxDxKmFromHost(std::int16_t km);
  // The window object's field MaxDx, as it is.
  void setMaxDx(std::int16_t miles);
  // The radius in whole kilometres: MaxDx × 1.60933 rounded down.
  std::int32_t MaxDxKm() const;
  bool txtMaxDxMi_Lostfocus();
  bool txtMaxDxKm_LostFocus();
  // "Whole Earth": 12437 into the miles field and its rule. No pass.
  void cmdWholeEarth_Click();

  // ---- UTC offset ----
  void setUTCOffsetFromHost(std::int16_t hours);  // the field and its rule
  void setUTCOffset(double hours);                // /Form1 fields, as they are
  void setUTCOffsetSeconds(double seconds);
  bool txtUTCOffset_LostFocus();

  // The text of an option field as the operator left it (the validations read it).
  void setFieldText(OptionField field, const QString& text);

  // ---- options ----
  // The check boxes' rules: unchecking "Show spots" unchecks "Show Spot-by" and "Draw connecting
  // lines", unchecking "Show Spot-by" unchecks the lines; each then places the spots again.
  void chkShowSpots_Click(bool checked);
  void chkShowSpotBy_Click(bool checked);
  void chkShowConnectingLines_Click(bool checked);
  void chkAlwaysOnTop_Click(bool checked);
  // "Show calls": the calls beside the spot markers; the spots are placed again.
  void chkShowCalls_Click(bool checked);
  // "Show sun and gray line" and "Draw rivers" (box and /Form1 field alike): nothing else
  // happens until the next refresh or pass.
  void setShowSun(bool on);
  void setShowRivers(bool on);
  // "Shade night": the overlay is drawn again at once, with or without the shading.
  void setShadeNight(bool on);
  // The window object's fields, as they are.
  void setShowSpots(bool on);
  void setShowSpotBy(bool on);
  void setShowConnectingLines(bool on);

  // ---- antenna ----
  // The heading the rotor reports (degrees; NaN or another value that is not finite hides it).
  void setAntennaHeading(double degrees);

  // ---- drawing pass ----
  // The pass; a request during a pass (or the save dialog) is served after it.
  void cmdDraw_Click();
  // The one-shot 1 ms timer whose tick runs the pass.
  void DrawAsync();
  bool drawAsyncPending() const { return timer1_.isActive(); }
  void cmdCancel_Click();
  bool passRunning() const;
  bool CancelDraw() const;
  bool Drawing() const noexcept { return drawing_; }
  // The window object's Drawing: hides the options panel and disables "&Options" and "&Save
  // picture" while true (the views follow drawingChanged).
  void setDrawing(bool drawing);
  // No pass runs or is due, and no refresh or save dialog is open.
  bool settled() const;
  // An overlay refresh is running (it lets events run in its middle).
  bool refreshing() const noexcept { return refreshing_; }
  // "&Save picture": Drawing while the dialog is up; a pass asked for meanwhile runs after it.
  void beginSaveDialog();
  void endSaveDialog();

  // ---- overlay ----
  // The overlay refresh: the cached map back, the sun, the gray line and the path line.
  void SunTimer_Timer();
  int sunTimerInterval() const { return sunTimer_.interval(); }
  // A dot on the overlay; returns its distance from the station in miles.
  double DrawPoint(double LatDeg, double LonDeg, raster::Rgb Color, std::int16_t Width);
  // The path line from the station; LatDeg below −90 removes it.
  void DrawPath(double LatDeg, double LonDeg);
  // The window was repainted: the shown pixels are recomposed (the overlay is lost) and, once the
  // events of the repaint have run, the overlay is drawn again unless the pointer is moving.
  void repaint();
  // "Ok" of the options panel: what was drawn on the surface goes, then the overlay again.
  void redrawOverlay();
  // The pointer moves over the map: repaints keep the overlay until it rests for a second.
  void pointerMoved();
  bool paintTimerActive() const { return paintTimer_.isActive(); }

  // ---- surface ----
  // The surface's new inner size in pixels: both layers take it (the map layer cleared to white)
  // and the map layer is scaled to the map radius; the spots are placed again. The cached
  // picture shows stretched meanwhile; when it had the surface's size before, the map is drawn
  // again at the new size once the resizing has settled (no new size for kResizeSettleMs).
  // `devicePixelRatio`: device pixels per logical pixel; the layers are made at
  // innerSide × ratio device pixels, PictureWidthPx and the markers stay in logical ones.
  void applyMapScale(int innerSide, double devicePixelRatio = 1.0);
  static constexpr int kResizeSettleMs = 500;

  // ---- pictures ----
  bool hasPicture() const { return layers_->picture() != nullptr; }
  // Image1's picture as a BMP file; throws raster::PictureError (also without a picture).
  void SaveImage(const QString& fileName) const;
  // A picture file into Image1; throws raster::PictureError.
  void LoadImage(const QString& fileName);

  // ---- spots ----
  // A spot and its spotter into slot NextSpot, placed while "Show spots" holds; also during a
  // pass.
  void AddSpot(const spots::SpotArgs& spot);
  void ClearSpots();
  // Places the spots again for the current scale and show options (nothing while Drawing).
  void DrawSpots();
  void testspot();

  // ---- host callback ----
  const QVariant& Callback() const noexcept { return callbackValue_; }
  // The value the host stored, and the object it names (null when it names none).
  void setCallback(const QVariant& value, std::shared_ptr<HostCallback> object);
  HostCallback* callbackObject() const noexcept { return callbackObject_.get(); }
  // A press on spot marker or spotter marker `slot`: the rotor towards it, then the rig to the
  // spot's values; the host's answer is written back into the spot's row unless the spots
  // changed while it answered.
  void pressMarker(int slot, spots::MarkerKind kind, int button);
  // A press on the map at plane position p.
  void pressMap(geo::PlanePosition p, int button);
  void stopRotor();
  // A host call that did not get its answer: the views tell the operator.
  void reportHostFailure(const QString& text) { emit hostNotice(text); }

 signals:
  void stationChanged();
  void radiusChanged();
  // The map layer's scale changed (a pass or a resize): markers and readout follow it.
  void scaleChanged();
  // An option, the UTC offset or an option field's text changed.
  void optionsChanged();
  void fieldRefused(OptionField field);
  void drawingChanged(bool drawing);
  void passStarted();
  void passFinished();
  // Emitted whenever settled() may have become true.
  void settledChanged();
  void layersChanged();
  void spotAdded(int slot);
  void spotsCleared();
  void spotsPlaced();
  void antennaHeadingChanged();
  void hostNotice(const QString& text);
  void unloadRequested();
  void unloadedChanged();

 private:
  class PassAdapter;
  class OverlayAdapter;

  void showMessage(const QString& text, MessageIcon icon) const;
  bool refuse(OptionField field);
  void applyLatHere(double value);
  void applyLonHere(double value);
  void applyMaxDx(std::int16_t miles);
  void takeUTCOffset(double hours);
  void setField(OptionField field, const QString& text);
  void passYield();
  void takeScale(const raster::Surface& mapLayer);
  void takeScaleOf(raster::Surface& mapLayer);
  void writeCache(const raster::Surface& mapLayer);
  void loadCacheAtStart();
  void afterBusy();
  void PaintTimer_Timer();

  ModelServices services_;
  FormWindow* window_ = nullptr;
  MapState state_;
  OptionFields fields_;
  NumberFormat numbers_;
  spots::SpotList spots_;
  std::unique_ptr<MapLayers> layers_;
  std::unique_ptr<render::PassOptions> passOptions_;
  std::unique_ptr<PassAdapter> passWindow_;
  std::unique_ptr<render::DrawingPass> pass_;
  std::unique_ptr<OverlayAdapter> overlayWindow_;
  std::unique_ptr<SunOverlay> overlay_;
  QTimer timer1_;
  QTimer sunTimer_;
  QTimer paintTimer_;
  QTimer resizeSettle_;
  QVariant callbackValue_;
  std::shared_ptr<HostCallback> callbackObject_;

  bool drawing_ = false;
  bool unloaded_ = false;
  bool serverActive_ = false;
  bool refreshing_ = false;
  bool refreshAgain_ = false;
  bool saveHeld_ = false;
  bool drawOwed_ = false;
  bool paintQueued_ = false;
  bool pathOwed_ = false;
  double owedPathLat_ = 0.0;
  double owedPathLon_ = 0.0;
  std::int64_t lastPassShowMs_ = 0;
};

}  // namespace orbelle::model
