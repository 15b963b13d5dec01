#pragma once

// Form1: the map program's one window. It shows the map surface Picture1 with the controls
// column at its left (options, help, save picture, cancel draw, clear spots, stop rotor and the
// pointer readout) and the options panel FrameSetup over it; it loads and saves its settings,
// runs the drawing pass and the sun overlay, keeps the map cache, lays itself out in twips, and
// turns presses on the map into rotor requests through the host's Callback.
//
// Everything runs on the GUI thread. The drawing pass and the overlay refresh let pending
// events run while they work, so any public operation may be called from inside them; Drawing
// tells which ones must stay out of a pass's way.

#include <QSizeF>
#include <QVariant>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "raster/color.hpp"
#include "shell/form_state.hpp"
#include "shell/help_viewer.hpp"
#include "shell/host_callback.hpp"
#include "shell/message_boxes.hpp"
#include "shell/save_dialog.hpp"
#include "sun/local_clock.hpp"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace orbelle {
class SunOverlay;
}
namespace orbelle::render {
class DrawingPass;
struct PassOptions;
}  // namespace orbelle::render
namespace orbelle::spots {
class SpotLayer;
}

namespace orbelle::shell {

class MapLayers;
class NumberFormat;
class SurfaceWidget;

// What the window uses of its surroundings. The three interfaces must outlive the window.
struct FormServices {
  MessageBoxes* messages = nullptr;
  HelpViewer* help = nullptr;
  SaveDialog* saveDialog = nullptr;
  std::string settingsFile = "./orbelle.ini";
  QString cacheFile = QStringLiteral("MapCache.bmp");
  std::string programFolder;  // holds the folder "mapdata" with the outline files
  LocalClock clock;           // the local clock the sun overlay reads; empty: the system's
  // The screen's size in twips for keeping a restored position reachable; empty: the primary
  // screen's.
  std::function<QSizeF()> screenSizeTwips;
  QString pictureFolder;  // where the save dialog starts; empty: the user's desktop folder
};

class Form1 : public QWidget {
 public:
  struct Controls {
    QPushButton* cmdSetup = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdSavePict = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdClrSpots = nullptr;
    QPushButton* cmdStopRotor = nullptr;
    QLabel* lblDirDisplay = nullptr;
    QLabel* lblDxDisplay = nullptr;
    QLabel* lblDxKMDisplay = nullptr;
    QFrame* FrameSetup = nullptr;
    QPushButton* CmdSetupOK = nullptr;
    QLineEdit* txtLatHere = nullptr;
    QLineEdit* txtLonHere = nullptr;
    QLineEdit* txtUTCOffset = nullptr;
    QLineEdit* txtMaxDxMi = nullptr;
    QLineEdit* txtMaxDxKm = nullptr;
    QCheckBox* chkAlwaysOnTop = nullptr;
    QCheckBox* chkShowRivers = nullptr;
    QCheckBox* chkShowSun = nullptr;
    QCheckBox* chkShowSpots = nullptr;
    QCheckBox* chkShowSpotBy = nullptr;
    QCheckBox* chkShowConnectingLines = nullptr;
    QPushButton* cmdDraw = nullptr;
    QPushButton* cmdWholeEarth = nullptr;
    SurfaceWidget* Picture1 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* PaintTimer = nullptr;
    QTimer* SunTimer = nullptr;
  };

  explicit Form1(FormServices services, QWidget* parent = nullptr);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  const Controls& controls() const noexcept { return c_; }
  FormState& state() noexcept { return state_; }
  const FormState& state() const noexcept { return state_; }
  MapLayers& layers() noexcept { return *layers_; }
  QString caption() const;

  // ---- lifecycle ----
  // The load steps, run once before the window is first shown.
  void Form_Load();
  // Writes the settings and hides the window; runs once. The unload handler runs afterwards.
  void Form_Unload();
  // The program's own unload (the server object going away): unlike the close box, it unloads
  // whether or not a server object has existed. Inside a pass it cancels the pass and unloads
  // when the pass has returned.
  void Unload();
  bool unloaded() const noexcept { return unloaded_; }
  void setUnloadHandler(std::function<void()> handler) { onUnloaded_ = std::move(handler); }
  // Start-up after the load: the window is shown only once fully drawn (no half-built window
  // flickers up), and the sun timer runs from then on.
  void ShowAfterLoad();
  // Set once a server object has been created in this run: the close box then only hides.
  void setServerActive(bool active) noexcept { serverActive_ = active; }
  bool ServerActive() const noexcept { return serverActive_; }

  // ---- Drawing ----
  bool Drawing() const noexcept { return drawing_; }
  // True hides the options panel, disables "&Options" and "&Save picture" and shows the busy
  // pointer; false enables both buttons again and restores the pointer.
  void setDrawing(bool drawing);

  // ---- host callback ----
  const QVariant& Callback() const noexcept { return callbackValue_; }
  // The value the host stored, and the object it names (null when it names none).
  void setCallback(const QVariant& value, std::shared_ptr<HostCallback> object);
  HostCallback* callbackObject() const noexcept { return callbackObject_.get(); }

  // ---- drawing and overlay ----
  // The drawing pass; a request during a pass (or the save dialog) is served after it.
  void cmdDraw_Click();
  // Starts the one-shot 1 ms timer whose tick runs the pass.
  void DrawAsync();
  bool passRunning() const;
  bool CancelDraw() const;
  // The overlay refresh: the cached map back, the sun, the gray line and the path line.
  void SunTimer_Timer();
  // A dot on the overlay at (LatDeg, LonDeg); returns its distance from the station in miles.
  double DrawPoint(double LatDeg, double LonDeg, raster::Rgb Color, std::int16_t Width);
  // The path line from the station to (LatDeg, LonDeg); LatDeg below −90 removes it.
  void DrawPath(double LatDeg, double LonDeg);

  // ---- option fields: validations run when a field loses the focus ----
  // Each returns false when the field does not hold a number; the operator is then told so and
  // the focus goes back to the field.
  bool txtLatHere_LostFocus();
  bool txtLonHere_LostFocus();
  bool txtUTCOffset_LostFocus();
  bool txtMaxDxMi_Lostfocus();
  bool txtMaxDxKm_LostFocus();
  void SetAlwaysOnTop(bool on);
  // A number as the fields show it: the operator's general number format.
  QString numberText(double value) const;

  // ---- layout ----
  // A surface of about Pixels pixels square, and the window around it. Refused while Drawing,
  // like every other resize then.
  void SetPixelSize(std::int16_t Pixels);
  double twipsPerPixel() const noexcept { return tpp_; }
  double windowLeftTwips() const;
  double windowTopTwips() const;
  double windowWidthTwips() const;
  double windowHeightTwips() const;
  // The host's window members: position and size in twips. A new width or height runs the
  // resize rule, so the window keeps its square surface.
  void setWindowLeftTwips(double left) { moveWindowTwips(left, windowTopTwips()); }
  void setWindowTopTwips(double top) { moveWindowTwips(windowLeftTwips(), top); }
  void setWindowWidthTwips(double width) { setWindowSizeTwips(width, windowHeightTwips()); }
  void setWindowHeightTwips(double height) { setWindowSizeTwips(windowWidthTwips(), height); }
  // Outer width (= height) of the square surface, border included.
  double surfaceWidthTwips() const noexcept { return surfaceTwips_; }
  double surfaceOuterWidthPixels() const { return surfaceTwips_ / tpp_; }

  // ---- pictures ----
  // Saves Image1's picture as a BMP file; throws raster::PictureError (also when Image1 holds
  // no picture).
  void SaveImage(const QString& fileName) const;
  // Loads a picture file into Image1; throws raster::PictureError.
  void LoadImage(const QString& fileName);

  // ---- spots ----
  // A spot and its spotter, placed while "Show spots" holds; works during a pass too.
  void AddSpot(double LatDeg, double LonDeg, std::int32_t Color, double SpotFreq,
               const QString& Mode, const QString& SpotCall, const QString& SpotTime,
               const QString& SpotBy, const QString& SpotComment, const QString& SpotLoc,
               double SpotByLat, double SpotByLon, double SpotByColor, const QString& SpotByLoc,
               double SpotFreqTX);
  void ClearSpots();
  // Places the spots again for the current scale and show options (nothing while Drawing).
  void DrawSpots();
  // The two sample spots.
  void testspot();
  spots::SpotLayer& spotLayer() noexcept { return *spots_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class PassAdapter;
  class OverlayAdapter;
  class SpotAdapter;

  // controls (form1_controls.cpp)
  void buildControls();
  void buildColumn();
  void buildOptionsPanel();
  void connectControls();
  void placeOptionsPanel();
  void setDefaultButton(QPushButton* button);

  // load and unload (form1_load.cpp)
  QSizeF screenSizeTwips() const;
  void moveWindowTwips(double left, double top);

  // options (form1_options.cpp)
  void cmdSetup_Click();
  void CmdSetupOK_Click();
  void cmdWholeEarth_Click();
  void cmdHelp_Click();
  void cmdClrSpots_Click();
  void chkAlwaysOnTop_Click(bool checked);
  void chkShowRivers_Click(bool checked);
  void chkShowSun_Click(bool checked);
  void chkShowSpots_Click(bool checked);
  void chkShowSpotBy_Click(bool checked);
  void chkShowConnectingLines_Click(bool checked);
  bool refuseNumber(QLineEdit* field);
  void showRefusal();
  bool validateField(QLineEdit* field);
  bool panelActionBlocked() const { return refusedField_ != nullptr; }

  // drawing (form1_drawing.cpp)
  void Timer1_Timer();
  void cmdCancel_Click();
  void passYield();
  void afterBusy();

  // cache and export (form1_cache.cpp)
  void loadCacheAtStart();
  void writeCache(const raster::Surface& mapLayer);
  void cmdSavePict_Click();
  void PaintTimer_Timer();
  void Form_Paint();
  void repaintSurface();

  // layout (form1_layout.cpp)
  void Form_Resize();
  void resizeSteps();
  void setWindowSizeTwips(double width, double height);
  void placeSurface(double outerTwips);
  void applyMapScale();
  void updateLimits();

  // pointer (form1_pointer.cpp)
  void Image1_MouseMove(int px, int py);
  void Image1_MouseDown(int button, int px, int py);
  void cmdStopRotor_Click();

  FormServices services_;
  Controls c_;
  FormState state_;
  std::unique_ptr<NumberFormat> numbers_;
  std::unique_ptr<MapLayers> layers_;
  std::unique_ptr<render::PassOptions> passOptions_;
  std::unique_ptr<PassAdapter> passWindow_;
  std::unique_ptr<render::DrawingPass> pass_;
  std::unique_ptr<OverlayAdapter> overlayWindow_;
  std::unique_ptr<SunOverlay> overlay_;
  std::unique_ptr<SpotAdapter> spotWindow_;
  std::unique_ptr<spots::SpotLayer> spots_;
  QPushButton* defaultButton_ = nullptr;
  std::function<void()> onUnloaded_;

  QVariant callbackValue_;
  std::shared_ptr<HostCallback> callbackObject_;

  double tpp_ = 15.0;
  double surfaceTwips_ = 0.0;
  // Window size and position as the program last set them in twips, valid while the window
  // keeps the pixel values they were applied as (so 6620 twips stay 6620, not 6615).
  QSizeF setSizeTwips_;
  QSize setSizePx_;
  QPointF setPosTwips_;
  QPoint setPosPx_;
  double minSurfaceTwips_ = 0.0;
  double maxSurfaceTwips_ = 0.0;

  bool drawing_ = false;
  bool unloaded_ = false;
  bool serverActive_ = false;
  bool loaded_ = false;
  bool inResize_ = false;
  bool resizeAgain_ = false;
  int resizeEvents_ = 0;
  bool formPaintQueued_ = false;
  bool refreshing_ = false;
  bool refreshAgain_ = false;
  bool saveHeld_ = false;
  bool drawOwed_ = false;
  bool closeOwed_ = false;
  bool programUnload_ = false;
  bool validating_ = false;
  QLineEdit* refusedField_ = nullptr;
  bool pathOwed_ = false;
  double owedPathLat_ = 0.0;
  double owedPathLon_ = 0.0;
  std::int64_t lastPassShowMs_ = 0;
};

}  // namespace orbelle::shell
