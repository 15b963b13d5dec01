#pragma once

// Form1: the map program's window, a view of the map's model. It shows the map surface Picture1
// with the controls column at its left (options, help, save picture, cancel draw, clear spots,
// stop rotor and the pointer readout) and the options panel FrameSetup over it; it lays itself
// out in twips, forwards the operator's input to the model, and follows the model's signals:
// fields, check boxes, the Drawing state, the map's pixels and the spot markers.
//
// Everything runs on the GUI thread.

#include <QPointF>
#include <QRect>
#include <QSizeF>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "model/form_window.hpp"
#include "model/map_model.hpp"
#include "model/option_fields.hpp"
#include "shell/help_viewer.hpp"
#include "shell/save_dialog.hpp"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orbelle::shell {

class HostNotice;
class SpotLayer;
class SurfaceWidget;

// What the window uses of its surroundings. The three interfaces must outlive the window.
struct FormServices {
  model::MessageBoxes* messages = nullptr;
  HelpViewer* help = nullptr;
  SaveDialog* saveDialog = nullptr;
  // The screen's size in twips for keeping a restored position reachable; empty: the primary
  // screen's.
  std::function<QSizeF()> screenSizeTwips;
  // The screen area a window may take, in pixels (the desktop's panels left out); empty: the
  // window's screen's.
  std::function<QRect()> availableScreenArea;
  QString pictureFolder;  // where the save dialog starts; empty: the user's pictures folder
  // Device pixels per logical pixel of the window; empty: the window's own.
  std::function<double()> devicePixelRatio;
};

class Form1 : public QWidget, public model::FormWindow {
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
    QLabel* lblLocatorDisplay = nullptr;  // the pointer's locator
    QLabel* lblStationLocator = nullptr;  // the map centre's
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
    QCheckBox* chkShadeNight = nullptr;
    QCheckBox* chkShowSpots = nullptr;
    QCheckBox* chkShowSpotBy = nullptr;
    QCheckBox* chkShowCalls = nullptr;
    QCheckBox* chkShowConnectingLines = nullptr;
    QPushButton* cmdDraw = nullptr;
    QPushButton* cmdWholeEarth = nullptr;
    SurfaceWidget* Picture1 = nullptr;
    // Over the middle of the surface while the map is being drawn and none is shown yet.
    QLabel* lblDrawingNote = nullptr;
  };

  // `model` must outlive the window; the window registers itself as the model's window.
  Form1(model::MapModel& model, FormServices services, QWidget* parent = nullptr);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  const Controls& controls() const noexcept { return c_; }
  model::MapModel& model() noexcept { return model_; }
  const model::MapModel& model() const noexcept { return model_; }
  SpotLayer& spotLayer() noexcept { return *spots_; }
  HostNotice& notice() noexcept { return *notice_; }

  // ---- lifecycle ----
  // The load steps, run once before the window is first shown.
  void Form_Load();
  // The unload: the model writes the settings, the window hides; runs once.
  void Form_Unload();
  // The program's own unload (the model asks for it when a server object goes away): unlike the
  // close box, it unloads whether or not a server object has existed. Inside a pass it cancels
  // the pass and unloads when the pass has returned.
  void Unload();
  bool unloaded() const noexcept { return model_.unloaded(); }
  // Start-up after the load: the window is shown only once fully drawn (no half-built window
  // flickers up), and the sun timer runs from then on. Without a cached map of an earlier run
  // the map is drawn at once, with the stored settings.
  void ShowAfterLoad();
  void SetAlwaysOnTop(bool on);

  // ---- the window's members (model::FormWindow) ----
  QString caption() const override { return windowTitle(); }
  void setCaption(const QString& caption) override { setWindowTitle(caption); }
  bool shown() const override { return isVisible(); }
  void setShown(bool shown) override { setVisible(shown); }
  double leftTwips() const override;
  double topTwips() const override;
  double widthTwips() const override;
  double heightTwips() const override;
  void setLeftTwips(double left) override { moveWindowTwips(left, topTwips()); }
  void setTopTwips(double top) override { moveWindowTwips(leftTwips(), top); }
  void setWidthTwips(double width) override { setWindowSizeTwips(width, heightTwips()); }
  void setHeightTwips(double height) override { setWindowSizeTwips(widthTwips(), height); }
  // A surface of about Pixels pixels square, and the window around it. Refused while Drawing,
  // like every other resize then.
  void SetPixelSize(std::int16_t Pixels) override;
  double surfaceOuterWidthPixels() const override { return surfaceTwips_ / tpp_; }

  double twipsPerPixel() const noexcept { return tpp_; }
  // Window size in twips after the last completed resize (restored while Drawing).
  std::int32_t SavedWidth() const noexcept { return savedWidth_; }
  std::int32_t SavedHeight() const noexcept { return savedHeight_; }
  // Outer width (= height) of the square surface, border included.
  double surfaceWidthTwips() const noexcept { return surfaceTwips_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // controls (form1_controls.cpp)
  void buildControls();
  void buildColumn();
  void buildOptionsPanel();
  void connectControls();
  void placeOptionsPanel();
  void setDefaultButton(QPushButton* button);

  // following the model (form1_view.cpp)
  void observeModel();
  void showFields();
  void showOptions();
  void showDrawing(bool drawing);
  void showDrawingNote();
  QLineEdit* fieldEdit(model::OptionField field) const;

  // load and unload (form1_load.cpp)
  QSizeF screenSizeTwips() const;
  void moveWindowTwips(double left, double top);

  // options (form1_options.cpp)
  void cmdSetup_Click();
  void CmdSetupOK_Click();
  void cmdHelp_Click();
  void cmdClrSpots_Click();
  void cmdSavePict_Click();
  void refuseNumber(QLineEdit* field);
  void showRefusal();
  bool validateField(QLineEdit* field);
  bool panelActionBlocked() const { return refusedField_ != nullptr; }

  // layout (form1_layout.cpp)
  void Form_Resize();
  void resizeSteps();
  void setWindowSizeTwips(double width, double height);
  void placeSurface(double outerTwips);
  void updateLimits();
  QSize frameExtra() const;
  QRect availableArea() const;
  void fitOnScreen();

  // pointer (form1_pointer.cpp)
  void Image1_MouseMove(int px, int py);
  void Image1_MouseLeave();
  void showStationLocator();
  void Image1_MouseDown(int button, int px, int py);

  model::MapModel& model_;
  FormServices services_;
  Controls c_;
  std::unique_ptr<SpotLayer> spots_;
  std::unique_ptr<HostNotice> notice_;
  QPushButton* defaultButton_ = nullptr;
  // The field texts last taken from the model: a field is rewritten only when the model's text
  // changes, so the operator's typing in another field stays.
  model::OptionFields shownFields_;

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
  std::int32_t savedWidth_ = 0;
  std::int32_t savedHeight_ = 0;

  bool loaded_ = false;
  bool inResize_ = false;
  bool resizeAgain_ = false;
  int resizeEvents_ = 0;
  bool closeOwed_ = false;
  bool programUnload_ = false;
  bool validating_ = false;
  QLineEdit* refusedField_ = nullptr;
};

}  // namespace orbelle::shell
