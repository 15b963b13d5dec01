// The options panel on a shown window: its fields, buttons, check boxes, help and clearing spots.

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
#include "model/map_layers.hpp"
#include "shell/host_notice.hpp"
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

// Typed values are bounded (the field rewritten) or kept; the radius fields show each other.
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
  // 12437 mi shows as 20015 km, which converts back to 12436 mi: only typing applies it.
  c().cmdWholeEarth->click();
  EXPECT_EQ(mi->text(), "12437");
  EXPECT_EQ(km->text(), "20015");
  km->setFocus(Qt::TabFocusReason);
  c().chkAlwaysOnTop->setFocus(Qt::TabFocusReason);
  processEvents();
  EXPECT_EQ(state.plane.MaxDx, 12437);
  typeAndLeave(km, QStringLiteral("20015"), c().chkAlwaysOnTop);
  EXPECT_EQ(state.plane.MaxDx, 12436);
  EXPECT_FALSE(form->model().passRunning());
}

// Refused text keeps the focus and value (each on a new window: refused text refuses again).
TEST_F(FormOptionsTest, TextThatIsNoNumberIsRefusedAndKeepsTheFocus) {
  using Field = QLineEdit* Form1::Controls::*;
  const std::tuple<Field, Field, const char*> cases[] = {
      {&Form1::Controls::txtMaxDxMi, &Form1::Controls::txtMaxDxKm, "abc"},
      {&Form1::Controls::txtLatHere, &Form1::Controls::txtLonHere, "north"},
      {&Form1::Controls::txtUTCOffset, &Form1::Controls::txtMaxDxMi, "east"},
      {&Form1::Controls::txtMaxDxMi, nullptr, "x"}};
  for (const auto& [field, next, typed] : cases) {
    openPanel();
    QLineEdit* edit = c().*field;
    SCOPED_TRACE(edit->objectName().toStdString());
    messages.shown.clear();
    const model::MapState before = form->model().state();
    if (next) {
      typeAndLeave(edit, QString::fromLatin1(typed), c().*next);
    } else {
      edit->setFocus(Qt::TabFocusReason);
      edit->setText(QString::fromLatin1(typed));
      QTest::mouseClick(c().CmdSetupOK, Qt::LeftButton);
    }
    ASSERT_TRUE(waitUntil([&] { return !messages.shown.empty(); }));
    EXPECT_EQ(messages.shown[0].text, "You must enter a number here");
    EXPECT_EQ(messages.shown[0].title, "orbelle");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
    EXPECT_TRUE(waitUntil([&] { return edit->hasFocus(); }));
    EXPECT_EQ(messages.shown.size(), 1u);  // the next field, left by the refocus, said nothing
    EXPECT_TRUE(c().FrameSetup->isVisible());
    EXPECT_EQ(c().txtMaxDxKm->text(), "20015");
    EXPECT_EQ(form->model().state().plane.MaxDx, before.plane.MaxDx);
    EXPECT_EQ(form->model().state().plane.LatHere, before.plane.LatHere);
    EXPECT_EQ(form->model().state().UTCOffset, before.UTCOffset);
  }
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
  ASSERT_GT(pixelsOf(layers.shown(), marker), 0);
  c().CmdSetupOK->click();
  EXPECT_EQ(pixelsOf(layers.shown(), marker), 0);
  EXPECT_GT(pixelsOf(layers.shown(), raster::rgb(255, 255, 0)), 0);  // the sun
}

// "Always on Top" keeps the window's place and size, and comes back at the next load.
TEST_F(FormOptionsTest, AlwaysOnTopKeepsPositionAndSize) {
  Form1& f = openPanel();
  const QRect before = f.geometry();
  c().chkAlwaysOnTop->click();
  EXPECT_TRUE(f.model().state().AlwaysOnTop);
  EXPECT_TRUE(f.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(f.geometry(), before);
  f.close();
  Form1& g = showForm();
  EXPECT_TRUE(g.controls().chkAlwaysOnTop->isChecked());
  EXPECT_TRUE(g.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  const QRect shown = g.geometry();
  g.controls().chkAlwaysOnTop->click();
  EXPECT_FALSE(g.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(g.geometry(), shown);
}

TEST_F(FormOptionsTest, SpotBoxesUncheckAndDisableInChainAndHideTheSpots) {
  Form1& f = showForm();
  f.model().testspot();
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
  f.model().testspot();
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

// A new radius without a new map keeps the spots on the map that is shown.
TEST_F(FormOptionsTest, SpotsStayOnTheShownMapUntilItIsDrawnAgain) {
  Form1& f = showForm();
  f.model().testspot();
  const QPoint before = f.spotLayer().lblSpots(2)->pos();
  f.model().setMaxDx(1000);
  f.model().DrawSpots();
  EXPECT_EQ(f.spotLayer().lblSpots(2)->pos(), before);
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

}  // namespace
}  // namespace orbelle::shell::test
