// The window's controls: the controls column at the left, the map surface, the options panel
// over the surface, and the timers; their captions, tool tips and connections.

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "antenna_line.hpp"
#include "caption_button.hpp"
#include "layout_rules.hpp"
#include "shell/form1.hpp"
#include "shell/host_notice.hpp"
#include "shell/surface_widget.hpp"
#include "shell/texts.hpp"
#include "spot_layer.hpp"

namespace orbelle::shell {
namespace {

// Margin of the controls column inside the strip left of the surface, twips.
constexpr double kColumnMarginTwips = 60.0;
constexpr int kColumnSpacing = 4;       // pixels between the column's controls
constexpr int kStopRotorIconSize = 16;  // pixels

QString tr8(const char* text) { return QString::fromUtf8(text); }

// A readout value: plain bold text on the window's background, so that it does not look like a
// field the operator could type into.
QLabel* displayLabel(QWidget* parent, const char* name, const char* tip) {
  auto* label = new QLabel(parent);
  label->setObjectName(tr8(name));
  label->setToolTip(tr8(tip));
  label->setAlignment(Qt::AlignCenter);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  label->setMinimumHeight(label->fontMetrics().height() + 2);
  return label;
}

QLineEdit* field(QWidget* parent, const char* name, const char* tip) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(tr8(name));
  edit->setToolTip(tr8(tip));
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-0000.000000")));
  return edit;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const char* caption) {
  auto* box = new QCheckBox(tr8(caption), parent);
  box->setObjectName(tr8(name));
  box->setChecked(false);
  return box;
}

QPushButton* panelButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(tr8(caption), parent);
  button->setObjectName(tr8(name));
  return button;
}

}  // namespace

Form1::Form1(model::MapModel& model, FormServices services, QWidget* parent)
    : QWidget(parent), model_(model), services_(std::move(services)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(tr8(text::kProgramName));
  // The logging program normally has the focus: hover texts of markers and buttons must show
  // while this window is inactive too (Qt shows them only in the active window by default).
  setAttribute(Qt::WA_AlwaysShowToolTips);
  tpp_ = shell::twipsPerPixel(screen() ? screen()->logicalDotsPerInchX() : 96.0);
  surfaceTwips_ = kInitialSurfaceWidthTwips;

  buildControls();
  spots_ = std::make_unique<SpotLayer>(model_, c_.Picture1);
  c_.Picture1->addPainterAbove([this](QPainter& painter) { spots_->paintLines(painter); });
  c_.Picture1->addPainterAbove([this](QPainter& painter) {
    paintAntennaLine(painter, model_, c_.Picture1->imageRect().topLeft());
  });
  notice_ = std::make_unique<HostNotice>(this);
  connectControls();
  observeModel();
  updateLimits();

  // Initial placement, before the load sizes the window: the surface of the design and the
  // window the resize rule gives for it, centred on the screen.
  c_.Picture1->setGeometry(pixelsOf(kSurfaceLeftTwips, tpp_), pixelsOf(kSurfaceTopTwips, tpp_),
                           pixelsOf(kInitialSurfaceWidthTwips, tpp_),
                           pixelsOf(kInitialSurfaceHeightTwips, tpp_));
  const ResizeOutcome initial =
      resizeRule(kSurfaceLeftTwips + kInitialSurfaceWidthTwips + kSurfaceRightMarginTwips,
                 {minSurfaceTwips_, maxSurfaceTwips_});
  resize(pixelsOf(initial.windowWidthTwips, tpp_), pixelsOf(initial.windowHeightTwips, tpp_));
  if (const QScreen* s = screen()) {
    const QRect area = s->availableGeometry();
    move(area.center() - rect().center());
  }
  model_.setWindow(this);
}

Form1::~Form1() {
  model_.setWindow(nullptr);
  QObject::disconnect(&model_, nullptr, this, nullptr);
  // The surface widget and the spot markers refer to the model's layers and to the spot layer:
  // they go first, while everything they use is still there.
  spots_.reset();
  delete c_.Picture1;
  c_.Picture1 = nullptr;
}

void Form1::buildControls() {
  c_.Picture1 = new SurfaceWidget(model_.layers(), this);
  c_.Picture1->setObjectName(QStringLiteral("Picture1"));
  c_.lblDrawingNote = new QLabel(tr8(text::kDrawingMapNote), c_.Picture1);
  c_.lblDrawingNote->setObjectName(QStringLiteral("lblDrawingNote"));
  c_.lblDrawingNote->setAttribute(Qt::WA_TransparentForMouseEvents);
  c_.lblDrawingNote->setStyleSheet(QStringLiteral(
      "QLabel { background: white; color: black; border: 1px solid gray; padding: 6px; }"));
  c_.lblDrawingNote->hide();
  buildColumn();
  buildOptionsPanel();
}

void Form1::buildColumn() {
  auto* column = new QWidget(this);
  column->setObjectName(QStringLiteral("controlsColumn"));
  QFont small = column->font();
  if (small.pointSizeF() > 0) small.setPointSizeF(std::max(7.0, small.pointSizeF() - 1.0));
  column->setFont(small);

  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(kColumnSpacing);
  auto button = [&](const char* name, const char* caption, const char* tip) {
    auto* b = new WrappingButton(tr8(caption), column);
    b->setObjectName(tr8(name));
    if (tip) b->setToolTip(tr8(tip));
    layout->addWidget(b);
    return b;
  };
  c_.cmdSetup = button("cmdSetup", text::kOptionsCaption, nullptr);
  c_.cmdHelp = button("cmdHelp", text::kHelpCaption, nullptr);
  c_.cmdSavePict = button("cmdSavePict", text::kSavePictureCaption, text::kSavePictureTip);
  c_.cmdCancel = button("cmdCancel", text::kCancelDrawCaption, text::kCancelDrawTip);
  c_.cmdCancel->setEnabled(false);
  c_.cmdClrSpots = button("cmdClrSpots", text::kClearSpotsCaption, nullptr);

  c_.cmdStopRotor = new QPushButton(column);
  c_.cmdStopRotor->setObjectName(QStringLiteral("cmdStopRotor"));
  c_.cmdStopRotor->setToolTip(tr8(text::kStopRotorTip));
  c_.cmdStopRotor->setIcon(stopRotorIcon(kStopRotorIconSize));
  c_.cmdStopRotor->setIconSize(QSize(kStopRotorIconSize, kStopRotorIconSize));
  layout->addWidget(c_.cmdStopRotor);

  layout->addSpacing(2 * kColumnSpacing);
  auto plain = [&](const char* caption) {
    auto* label = new QLabel(tr8(caption), column);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
  };
  plain(text::kDirectionLabel);
  c_.lblDirDisplay = displayLabel(column, "lblDirDisplay", text::kDirectionTip);
  layout->addWidget(c_.lblDirDisplay);
  plain(text::kDxLabel);
  c_.lblDxDisplay = displayLabel(column, "lblDxDisplay", text::kDxMilesTip);
  layout->addWidget(c_.lblDxDisplay);
  c_.lblDxKMDisplay = displayLabel(column, "lblDxKMDisplay", text::kDxKmTip);
  layout->addWidget(c_.lblDxKMDisplay);
  plain(text::kLocatorLabel);
  c_.lblLocatorDisplay = displayLabel(column, "lblLocatorDisplay", text::kLocatorTip);
  layout->addWidget(c_.lblLocatorDisplay);
  layout->addSpacing(2 * kColumnSpacing);
  plain(text::kStationLabel);
  c_.lblStationLocator = displayLabel(column, "lblStationLocator", text::kStationLocatorTip);
  layout->addWidget(c_.lblStationLocator);

  const int margin = pixelsOf(kColumnMarginTwips, tpp_);
  const int width = pixelsOf(kSurfaceLeftTwips - 2.0 * kColumnMarginTwips, tpp_);
  column->setFixedWidth(width);
  column->adjustSize();
  column->setGeometry(margin, pixelsOf(kSurfaceTopTwips, tpp_), width,
                      layout->totalHeightForWidth(width));
}

void Form1::buildOptionsPanel() {
  auto* frame = new QFrame(this);
  c_.FrameSetup = frame;
  frame->setObjectName(QStringLiteral("FrameSetup"));
  frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
  frame->setLineWidth(2);
  frame->setAutoFillBackground(true);

  auto* layout = new QVBoxLayout(frame);
  layout->setSpacing(6);
  auto row = [&]() {
    auto* h = new QHBoxLayout();
    h->setSpacing(6);
    layout->addLayout(h);
    return h;
  };
  auto label = [&](const char* caption) { return new QLabel(tr8(caption), frame); };

  QFont bold = frame->font();
  bold.setBold(true);
  QLabel* center = label(text::kMapCenterLabel);
  center->setFont(bold);
  layout->addWidget(center);
  QHBoxLayout* latLon = row();
  c_.txtLatHere = field(frame, "txtLatHere", text::kLatTip);
  c_.txtLonHere = field(frame, "txtLonHere", text::kLonTip);
  latLon->addWidget(label(text::kLatLabel));
  latLon->addWidget(c_.txtLatHere);
  latLon->addSpacing(8);
  latLon->addWidget(label(text::kLonLabel));
  latLon->addWidget(c_.txtLonHere);
  latLon->addStretch();

  QHBoxLayout* utc = row();
  c_.txtUTCOffset = field(frame, "txtUTCOffset", text::kUtcOffsetTip);
  utc->addWidget(label(text::kUtcOffsetLabel));
  utc->addWidget(c_.txtUTCOffset);
  utc->addStretch();

  QLabel* radius = label(text::kMapRadiusLabel);
  radius->setFont(bold);
  layout->addWidget(radius);
  QHBoxLayout* miKm = row();
  c_.txtMaxDxMi = field(frame, "txtMaxDxMi", text::kMaxDxMiTip);
  c_.txtMaxDxKm = field(frame, "txtMaxDxKm", text::kMaxDxKmTip);
  miKm->addWidget(c_.txtMaxDxMi);
  miKm->addWidget(label(text::kMilesLabel));
  miKm->addSpacing(8);
  miKm->addWidget(c_.txtMaxDxKm);
  miKm->addWidget(label(text::kKmLabel));
  miKm->addStretch();

  layout->addSpacing(4);
  c_.chkAlwaysOnTop = checkBox(frame, "chkAlwaysOnTop", text::kAlwaysOnTopCaption);
  c_.chkShowRivers = checkBox(frame, "chkShowRivers", text::kDrawRiversCaption);
  c_.chkShowSun = checkBox(frame, "chkShowSun", text::kShowSunCaption);
  c_.chkShadeNight = checkBox(frame, "chkShadeNight", text::kShadeNightCaption);
  c_.chkShowSpots = checkBox(frame, "chkShowSpots", text::kShowSpotsCaption);
  c_.chkShowSpotBy = checkBox(frame, "chkShowSpotBy", text::kShowSpotByCaption);
  c_.chkShowCalls = checkBox(frame, "chkShowCalls", text::kShowCallsCaption);
  c_.chkShowConnectingLines =
      checkBox(frame, "chkShowConnectingLines", text::kConnectingLinesCaption);
  c_.chkShowConnectingLines->setToolTip(tr8(text::kConnectingLinesTip));
  for (QCheckBox* box : {c_.chkAlwaysOnTop, c_.chkShowRivers, c_.chkShowSun, c_.chkShadeNight,
                         c_.chkShowSpots, c_.chkShowCalls, c_.chkShowSpotBy,
                         c_.chkShowConnectingLines}) {
    layout->addWidget(box);
  }

  layout->addSpacing(4);
  QHBoxLayout* buttons = row();
  c_.cmdDraw = panelButton(frame, "cmdDraw", text::kDrawCaption);
  c_.cmdWholeEarth = panelButton(frame, "cmdWholeEarth", text::kWholeEarthCaption);
  c_.CmdSetupOK = panelButton(frame, "CmdSetupOK", text::kOkCaption);
  buttons->addWidget(c_.cmdDraw);
  buttons->addWidget(c_.cmdWholeEarth);
  buttons->addWidget(c_.CmdSetupOK);

  frame->adjustSize();
  frame->hide();
  setDefaultButton(c_.cmdDraw);
}

void Form1::placeOptionsPanel() {
  // Over the surface's top-left corner, above the map and the spot markers.
  const QPoint corner = c_.Picture1->geometry().topLeft() + QPoint(8, 8);
  c_.FrameSetup->adjustSize();
  c_.FrameSetup->move(corner);
  c_.FrameSetup->raise();
}

void Form1::setDefaultButton(QPushButton* button) {
  for (QPushButton* b : {c_.cmdDraw, c_.CmdSetupOK}) b->setDefault(b == button);
  defaultButton_ = button;
}

void Form1::connectControls() {
  connect(c_.cmdSetup, &QPushButton::clicked, this, [this] { cmdSetup_Click(); });
  connect(c_.CmdSetupOK, &QPushButton::clicked, this, [this] { CmdSetupOK_Click(); });
  connect(c_.cmdHelp, &QPushButton::clicked, this, [this] { cmdHelp_Click(); });
  connect(c_.cmdSavePict, &QPushButton::clicked, this, [this] { cmdSavePict_Click(); });
  connect(c_.cmdCancel, &QPushButton::clicked, this, [this] {
    c_.cmdCancel->setEnabled(false);
    model_.cmdCancel_Click();
  });
  connect(c_.cmdClrSpots, &QPushButton::clicked, this, [this] { cmdClrSpots_Click(); });
  connect(c_.cmdStopRotor, &QPushButton::clicked, this, [this] { model_.stopRotor(); });
  connect(c_.cmdDraw, &QPushButton::clicked, this, [this] {
    if (!panelActionBlocked()) model_.cmdDraw_Click();
  });
  connect(c_.cmdWholeEarth, &QPushButton::clicked, this, [this] {
    if (!panelActionBlocked()) model_.cmdWholeEarth_Click();
  });

  // The operator's clicks go to the model's rules; the boxes then show what the model holds.
  connect(c_.chkAlwaysOnTop, &QCheckBox::clicked, this,
          [this](bool on) { model_.chkAlwaysOnTop_Click(on); });
  connect(c_.chkShowRivers, &QCheckBox::clicked, this,
          [this](bool on) { model_.setShowRivers(on); });
  connect(c_.chkShowSun, &QCheckBox::clicked, this, [this](bool on) { model_.setShowSun(on); });
  connect(c_.chkShadeNight, &QCheckBox::clicked, this,
          [this](bool on) { model_.setShadeNight(on); });
  connect(c_.chkShowSpots, &QCheckBox::clicked, this,
          [this](bool on) { model_.chkShowSpots_Click(on); });
  connect(c_.chkShowCalls, &QCheckBox::clicked, this,
          [this](bool on) { model_.chkShowCalls_Click(on); });
  connect(c_.chkShowSpotBy, &QCheckBox::clicked, this,
          [this](bool on) { model_.chkShowSpotBy_Click(on); });
  connect(c_.chkShowConnectingLines, &QCheckBox::clicked, this,
          [this](bool on) { model_.chkShowConnectingLines_Click(on); });

  for (QLineEdit* edit :
       {c_.txtLatHere, c_.txtLonHere, c_.txtUTCOffset, c_.txtMaxDxMi, c_.txtMaxDxKm}) {
    edit->installEventFilter(this);
  }

  c_.Picture1->onPointerMoved = [this](int px, int py) { Image1_MouseMove(px, py); };
  c_.Picture1->onPointerLeft = [this] { Image1_MouseLeave(); };
  c_.Picture1->onPressed = [this](int button, int px, int py) { Image1_MouseDown(button, px, py); };
}

}  // namespace orbelle::shell
