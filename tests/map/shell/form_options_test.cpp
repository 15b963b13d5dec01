// The options panel on a shown window: typing into the fields, the panel's buttons, the check
// boxes, help, clearing spots, and the captions and tool tips the operator sees.

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <functional>

#include "form_fixture.hpp"
#include "shell/host_notice.hpp"
#include "model/map_layers.hpp"
#include "shell/surface_widget.hpp"
#include "spot_layer.hpp"
#include "spot_marker.hpp"

namespace orbelle::shell::test {
namespace {

class FormOptionsTest : public FormTest {
 protected:
  Form1& openPanel() {
    Form1& f = showForm();
    f.controls().cmdSetup->click();
    processEvents();
    return f;
  }
  const Form1::Controls& c() const { return form->controls(); }
};

// Each typed value is bounded (and the field rewritten) or kept as typed; the radius fields
// show each other's value; kilometres set the radius without the miles field's bounds.
TEST_F(FormOptionsTest, TypedFieldsAreBoundedOrKeptAsTyped) {
  openPanel();
  const auto& state = form->model().state();
  QLineEdit *mi = c().txtMaxDxMi, *km = c().txtMaxDxKm, *lat = c().txtLatHere,
            *lon = c().txtLonHere, *utc = c().txtUTCOffset;
  const std::function<double()> radius = [&] { return state.plane.MaxDx; },
                                latHere = [&] { return state.plane.LatHere; },
                                lonHere = [&] { return state.plane.LonHere; },
                                offset = [&] { return state.UTCOffset; };
  struct Case {
    QLineEdit* field;
    QWidget* next;
    const char *typed, *shown;
    QLineEdit* other;  // the other radius field, or nullptr
    const char* otherShown;
    std::function<double()> value;
    double expected;
  };
  const Case cases[] = {
      {mi, km, "50", "100", km, "160", radius, 100},
      {mi, km, "99999", "12437", km, "20015", radius, 12437},
      {mi, km, "2500.4", "2500.4", nullptr, nullptr, radius, 2500},  // not rewritten in range
      {km, c().chkAlwaysOnTop, "100", "100", mi, "62", radius, 62},
      {lat, lon, "95", "89.9", nullptr, nullptr, latHere, 89.9},
      {lat, lon, "-90", "-89.9", nullptr, nullptr, latHere, -89.9},
      {lon, utc, "190", "180", nullptr, nullptr, lonHere, 180.0},
      {utc, mi, "5.5", "5.5", nullptr, nullptr, offset, 5.5},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(::testing::Message() << row.field->objectName().toStdString() << " " << row.typed);
    typeAndLeave(row.field, QString::fromUtf8(row.typed), row.next);
    EXPECT_EQ(row.field->text(), row.shown);
    if (row.other != nullptr) {
      EXPECT_EQ(row.other->text(), row.otherShown);
    }
    EXPECT_EQ(row.value(), row.expected);
  }
  EXPECT_EQ(state.UTCOffsetSeconds, 19800.0);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FormOptionsTest, TextThatIsNoNumberIsRefusedAndKeepsTheFocus) {
  openPanel();
  typeAndLeave(c().txtMaxDxMi, QStringLiteral("abc"), c().txtMaxDxKm);
  ASSERT_TRUE(waitUntil([&] { return !messages.shown.empty(); }));
  EXPECT_EQ(messages.shown[0].text, "You must enter a number here");
  EXPECT_EQ(messages.shown[0].title, "orbelle");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
  EXPECT_TRUE(waitUntil([&] { return c().txtMaxDxMi->hasFocus(); }));
  EXPECT_EQ(form->model().state().plane.MaxDx, 12437);
  EXPECT_EQ(c().txtMaxDxKm->text(), "20015");
  EXPECT_EQ(messages.shown.size(), 1u);  // the km field, left by the refocus, said nothing

  // The other fields refuse the same way and keep their values.
  const double lat = form->model().state().plane.LatHere;
  typeAndLeave(c().txtLatHere, QStringLiteral("north"), c().txtLonHere);
  ASSERT_TRUE(waitUntil([&] { return messages.shown.size() == 2; }));
  EXPECT_TRUE(waitUntil([&] { return c().txtLatHere->hasFocus(); }));
  EXPECT_EQ(form->model().state().plane.LatHere, lat);
  typeAndLeave(c().txtUTCOffset, QString(), c().txtMaxDxMi);
  EXPECT_TRUE(waitUntil([&] { return messages.shown.size() == 3; }));
  EXPECT_EQ(form->model().state().UTCOffset, 5.0);
}

TEST_F(FormOptionsTest, PressingOkWithARefusedFieldKeepsThePanelOpen) {
  openPanel();
  c().txtMaxDxMi->setFocus(Qt::TabFocusReason);
  c().txtMaxDxMi->setText(QStringLiteral("x"));
  QTest::mouseClick(c().CmdSetupOK, Qt::LeftButton);
  ASSERT_TRUE(waitUntil([&] { return !messages.shown.empty(); }));
  EXPECT_TRUE(c().FrameSetup->isVisible());
  EXPECT_TRUE(waitUntil([&] { return c().txtMaxDxMi->hasFocus(); }));
}

TEST_F(FormOptionsTest, LeavingTheKilometreFieldUneditedKeepsTheRadius) {
  openPanel();
  // 12437 mi shows as 20015 km, which converts back to 12436 mi: only typing applies it.
  c().txtMaxDxKm->setFocus(Qt::TabFocusReason);
  c().chkAlwaysOnTop->setFocus(Qt::TabFocusReason);
  processEvents();
  EXPECT_EQ(form->model().state().plane.MaxDx, 12437);
  typeAndLeave(c().txtMaxDxKm, QStringLiteral("20015"), c().chkAlwaysOnTop);
  EXPECT_EQ(form->model().state().plane.MaxDx, 12436);
}

TEST_F(FormOptionsTest, WholeEarthWritesTheLargestRadius) {
  openPanel();
  typeAndLeave(c().txtMaxDxMi, QStringLiteral("500"), c().txtMaxDxKm);
  c().cmdWholeEarth->click();
  EXPECT_EQ(c().txtMaxDxMi->text(), "12437");
  EXPECT_EQ(c().txtMaxDxKm->text(), "20015");
  EXPECT_EQ(form->model().state().plane.MaxDx, 12437);
  EXPECT_FALSE(form->model().passRunning());
}

TEST_F(FormOptionsTest, PanelMovesTheDefaultButtonAndTheFocus) {
  Form1& f = showForm();
  EXPECT_FALSE(c().FrameSetup->isVisible());
  EXPECT_TRUE(c().cmdDraw->isDefault());
  f.controls().cmdSetup->click();
  EXPECT_TRUE(c().FrameSetup->isVisible());
  EXPECT_TRUE(c().CmdSetupOK->isDefault());
  EXPECT_FALSE(c().cmdDraw->isDefault());
  EXPECT_TRUE(waitUntil([&] { return c().txtLatHere->hasFocus(); }));

  // Enter in a field checks the field, then presses "Ok".
  c().txtLatHere->selectAll();
  QTest::keyClicks(c().txtLatHere, QStringLiteral("91"));
  QTest::keyClick(c().txtLatHere, Qt::Key_Return);
  processEvents();
  EXPECT_FALSE(c().FrameSetup->isVisible());
  EXPECT_EQ(f.model().state().plane.LatHere, 89.9);
  EXPECT_TRUE(c().cmdDraw->isDefault());
}

TEST_F(FormOptionsTest, OkWipesTheOverlayAndDrawsTheSunAgain) {
  Form1& f = openPanel();
  model::MapLayers& layers = f.model().layers();
  const raster::Rgb marker = raster::rgb(1, 2, 3);
  f.model().DrawPoint(-60.0, 100.0, marker, 9);
  int markerPixels = 0;
  for (int y = 0; y < layers.height(); ++y) {
    for (int x = 0; x < layers.width(); ++x) markerPixels += layers.shown().pixel(x, y) == marker;
  }
  ASSERT_GT(markerPixels, 0);
  c().CmdSetupOK->click();
  int yellow = 0;
  markerPixels = 0;
  for (int y = 0; y < layers.height(); ++y) {
    for (int x = 0; x < layers.width(); ++x) {
      markerPixels += layers.shown().pixel(x, y) == marker;
      yellow += layers.shown().pixel(x, y) == raster::rgb(255, 255, 0);
    }
  }
  EXPECT_EQ(markerPixels, 0);
  EXPECT_GT(yellow, 0);  // the sun
}

TEST_F(FormOptionsTest, AlwaysOnTopKeepsPositionAndSize) {
  Form1& f = openPanel();
  const QRect before = f.geometry();
  c().chkAlwaysOnTop->click();
  EXPECT_TRUE(f.model().state().AlwaysOnTop);
  EXPECT_TRUE(f.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(f.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(f.geometry(), before);
  c().chkAlwaysOnTop->click();
  EXPECT_FALSE(f.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(f.geometry(), before);
}

TEST_F(FormOptionsTest, RiversAndSunFollowTheirBoxes) {
  Form1& f = openPanel();
  c().chkShowRivers->click();
  EXPECT_TRUE(f.model().state().ShowRivers);
  c().chkShowSun->click();
  EXPECT_FALSE(f.model().state().ShowSun);
}

// The sample spots: both have a spotter with a position.
void addSamples(Form1& f) { f.model().testspot(); }

TEST_F(FormOptionsTest, SpotBoxesUncheckAndDisableInChainAndHideTheSpots) {
  Form1& f = showForm();
  addSamples(f);
  SpotLayer& layer = f.spotLayer();
  ASSERT_EQ(f.model().spots().NextSpot(), 3);
  EXPECT_TRUE(layer.lblSpots(1)->isVisible());
  EXPECT_TRUE(layer.lblSpotBys(1)->isVisible());
  EXPECT_TRUE(layer.ConLine(1).visible);
  EXPECT_TRUE(c().chkShowSpotBy->isEnabled());
  EXPECT_TRUE(c().chkShowConnectingLines->isEnabled());

  c().chkShowSpots->click();
  EXPECT_FALSE(f.model().state().ShowSpots);
  EXPECT_FALSE(c().chkShowSpotBy->isChecked());
  EXPECT_FALSE(c().chkShowSpotBy->isEnabled());
  EXPECT_FALSE(c().chkShowConnectingLines->isChecked());
  EXPECT_FALSE(c().chkShowConnectingLines->isEnabled());
  EXPECT_FALSE(f.model().state().ShowSpotBy);
  EXPECT_FALSE(f.model().state().ShowConnectingLines);
  for (int i : {1, 2}) {
    EXPECT_FALSE(layer.lblSpots(i)->isVisible());
    EXPECT_FALSE(layer.lblSpotBys(i)->isVisible());
    EXPECT_FALSE(layer.ConLine(i).visible);
  }

  c().chkShowSpots->click();
  EXPECT_TRUE(c().chkShowSpotBy->isEnabled());
  EXPECT_FALSE(c().chkShowConnectingLines->isEnabled());
  EXPECT_TRUE(layer.lblSpots(1)->isVisible());
  EXPECT_FALSE(layer.lblSpotBys(1)->isVisible());
  c().chkShowSpotBy->click();
  EXPECT_TRUE(c().chkShowConnectingLines->isEnabled());
  EXPECT_FALSE(c().chkShowConnectingLines->isChecked());
  EXPECT_TRUE(layer.lblSpotBys(1)->isVisible());
  EXPECT_FALSE(layer.ConLine(1).visible);
}

TEST_F(FormOptionsTest, ClearSpotsAsksFirst) {
  Form1& f = showForm();
  addSamples(f);
  messages.answers = {false, true};
  c().cmdClrSpots->click();
  EXPECT_EQ(f.model().spots().NextSpot(), 3);
  ASSERT_EQ(messages.questions.size(), 1u);
  EXPECT_EQ(messages.questions[0].text, "Clear spots?");
  EXPECT_EQ(messages.questions[0].title, f.caption());
  c().cmdClrSpots->click();
  EXPECT_EQ(f.model().spots().NextSpot(), 1);
  EXPECT_FALSE(f.spotLayer().lblSpots(1)->isVisible());
}

TEST_F(FormOptionsTest, SpotsFollowTheMapScaleAfterAResize) {
  Form1& f = showForm();
  addSamples(f);
  SpotMarker* marker = f.spotLayer().lblSpots(2);
  const QPoint before = marker->pos();
  f.resize(f.width() + 100, f.height());
  const QPoint after = marker->pos();
  // The spot lies west of the station: further from the centre on the larger surface.
  const QPoint centre = f.controls().Picture1->imageRect().center();
  EXPECT_GT(std::abs(after.x() - centre.x()), 0);
  EXPECT_NE(after, before);
  // A new radius without a new map keeps the spots on the map that is shown.
  f.model().setMaxDx(1000);
  f.model().DrawSpots();
  EXPECT_EQ(marker->pos(), after);
}

TEST_F(FormOptionsTest, HelpAsksForTheMapTopic) {
  loadForm();
  help.file = QStringLiteral("/usr/share/help/quill5.hlp");
  c().cmdHelp->click();
  ASSERT_EQ(help.requests.size(), 1u);
  EXPECT_EQ(help.requests[0].first, "QUILL5.HLP");
  EXPECT_EQ(help.requests[0].second, "ji(\"\", \"MAP\")");
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(form->notice().showing());
  EXPECT_EQ(form->notice().text(), "Help opened: /usr/share/help/quill5.hlp");
  help.succeeds = false;
  help.file = QStringLiteral("/opt/orbelle/help/map.html");
  c().cmdHelp->click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "No help viewer could be started.\nHelp file: /opt/orbelle/help/map.html");
}

TEST_F(FormOptionsTest, CaptionsAndToolTipsAreTheSystemsOwn) {
  loadForm();
  EXPECT_EQ(form->windowTitle(), "orbelle");
  const std::vector<std::tuple<QAbstractButton*, const char*, const char*>> buttons = {
      {c().cmdSetup, "&Options", ""},
      {c().cmdHelp, "&Help", ""},
      {c().cmdSavePict, "&Save picture", "Save map as an image file"},
      {c().cmdCancel, "&Cancel Draw", "Click while map is being drawn to cancel"},
      {c().cmdClrSpots, "C&lear spots", ""},
      {c().cmdStopRotor, "", "Stop rotor"},
      {c().CmdSetupOK, "Ok", ""},
      {c().cmdDraw, "&Draw", ""},
      {c().cmdWholeEarth, "Whole Earth", ""},
      {c().chkAlwaysOnTop, "Always on Top", ""},
      {c().chkShowRivers, "Draw rivers", ""},
      {c().chkShowSun, "Show sun and gray line", ""},
      {c().chkShowSpots, "Show spots", ""},
      {c().chkShowSpotBy, "Show Spot-by", ""},
      {c().chkShowConnectingLines, "Draw connecting lines", "Draw lines between spot and spot-by"},
  };
  for (const auto& [button, caption, tip] : buttons) {
    EXPECT_EQ(button->text(), QString::fromUtf8(caption));
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(tip)) << caption;
  }
  EXPECT_FALSE(c().cmdStopRotor->icon().isNull());
  EXPECT_EQ(c().txtLatHere->toolTip(), "Latitude for map center");
  EXPECT_EQ(c().txtLonHere->toolTip(), "Longitude for map center");
  EXPECT_EQ(c().txtUTCOffset->toolTip(),
            "Number of hours to add to system clock to get UTC.  Negative numbers subtract");
  EXPECT_EQ(c().txtMaxDxMi->toolTip(), "Maximum DX displayed from center of map in Mi");
  EXPECT_EQ(c().txtMaxDxKm->toolTip(), "Maximum DX displayed from center of map in Km");
  EXPECT_EQ(c().lblDirDisplay->toolTip(), "Direction");
  EXPECT_EQ(c().lblDxDisplay->toolTip(), "DX in Miles");
  EXPECT_EQ(c().lblDxKMDisplay->toolTip(), "DX in Kilometers");
  QStringList labels;
  for (const QLabel* label : form->findChildren<QLabel*>()) labels << label->text();
  for (const char* text :
       {"Map Center", "Lat", "Lon", "UTC Offset", "Map Radius", "mi", "km", "Direction", "DX"}) {
    EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
  }
}

}  // namespace
}  // namespace orbelle::shell::test
