// The options panel on a shown window: its fields, buttons, check boxes, help and clearing spots.

#include "form_fixture.hpp"
#include "shell/host_notice.hpp"

namespace orbelle::shell::test {
namespace {

class FormOptionsTest : public FormTest {
 protected:
  const Form1::Controls& openPanel() {
    showForm().controls().cmdSetup->click();
    QCoreApplication::processEvents();
    return form->controls();
  }
};

// Leaving a field applies its rule (the model's tests) and shows it; an unedited km field is not.
TEST_F(FormOptionsTest, LeftFieldsApplyTheirRuleAndShowTheResult) {
  const Form1::Controls& c = openPanel();
  const model::MapState& state = form->model().state();
  typeAndLeave(c.txtLonHere, QStringLiteral("190"), c.txtUTCOffset);
  EXPECT_EQ(c.txtLonHere->text(), "180");
  EXPECT_EQ(state.plane.LonHere, 180.0);
  typeAndLeave(c.txtMaxDxMi, QStringLiteral("50"), c.txtMaxDxKm);
  c.cmdWholeEarth->click();
  EXPECT_EQ(c.txtMaxDxMi->text() + " " + c.txtMaxDxKm->text(), "12437 20015");
  c.txtMaxDxKm->setFocus(Qt::TabFocusReason);
  c.chkAlwaysOnTop->setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  EXPECT_EQ(state.plane.MaxDx, 12437);
  typeAndLeave(c.txtMaxDxKm, QStringLiteral("20015"), c.chkAlwaysOnTop);
  EXPECT_EQ(state.plane.MaxDx, 12436);
  EXPECT_EQ(c.txtMaxDxMi->text(), "12436");
  EXPECT_FALSE(form->model().passRunning());
  EXPECT_TRUE(messages.shown.empty());
}

// Guards a fault: refused text keeps the focus; the next field, left by the refocus, is silent.
TEST_F(FormOptionsTest, TextThatIsNoNumberIsRefusedAndKeepsTheFocus) {
  using Field = QLineEdit* Form1::Controls::*;
  const std::tuple<Field, Field, const char*> cases[] = {
      {&Form1::Controls::txtMaxDxMi, &Form1::Controls::txtMaxDxKm, "abc"},
      {&Form1::Controls::txtLatHere, &Form1::Controls::txtLonHere, "north"},
      {&Form1::Controls::txtUTCOffset, &Form1::Controls::txtMaxDxMi, "east"},
      {&Form1::Controls::txtMaxDxMi, nullptr, "x"}};  // then "Ok" pressed
  for (const auto& [field, next, typed] : cases) {
    const Form1::Controls& c = openPanel();
    QLineEdit* edit = c.*field;
    SCOPED_TRACE(typed);
    messages.shown.clear();
    if (next) {
      typeAndLeave(edit, QString::fromLatin1(typed), c.*next);
    } else {
      edit->setFocus(Qt::TabFocusReason);
      edit->setText(QString::fromLatin1(typed));
      QTest::mouseClick(c.CmdSetupOK, Qt::LeftButton);
    }
    ASSERT_TRUE(waitUntil([&] { return edit->hasFocus(); }));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "You must enter a number here");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
    EXPECT_TRUE(c.FrameSetup->isVisible());
    EXPECT_EQ(c.txtMaxDxKm->text(), "20015");  // the radius kept
  }
}

// The panel takes default button and focus; Enter checks the field and "Ok" redraws the overlay.
TEST_F(FormOptionsTest, PanelTakesTheDefaultButtonAndOkRedrawsTheOverlay) {
  const Form1::Controls& c = showForm().controls();
  EXPECT_TRUE(c.cmdDraw->isDefault());
  c.cmdSetup->click();
  EXPECT_TRUE(c.FrameSetup->isVisible() && c.CmdSetupOK->isDefault() && !c.cmdDraw->isDefault());
  EXPECT_TRUE(waitUntil([&] { return c.txtLatHere->hasFocus(); }));
  const raster::Rgb marker = raster::rgb(1, 2, 3);
  form->model().DrawPoint(-60.0, 100.0, marker, 9);
  ASSERT_GT(pixelsOf(form->model().layers().shown(), marker), 0);
  c.txtLatHere->selectAll();
  QTest::keyClicks(c.txtLatHere, QStringLiteral("91"));
  QTest::keyClick(c.txtLatHere, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_FALSE(c.FrameSetup->isVisible());
  EXPECT_EQ(form->model().state().plane.LatHere, 89.9);
  EXPECT_TRUE(c.cmdDraw->isDefault());
  EXPECT_EQ(pixelsOf(form->model().layers().shown(), marker), 0);
  EXPECT_GT(pixelsOf(form->model().layers().shown(), raster::rgb(255, 255, 0)), 0);  // the sun
}

// Spots stay on the shown map; the spot boxes chain, new spots stay hidden; "Clear spots" asks.
TEST_F(FormOptionsTest, SpotBoxesChainAndClearSpotsAsksFirst) {
  const Form1::Controls& c = showForm().controls();
  form->model().testspot();
  SpotLayer& layer = form->spotLayer();
  const QPoint before = layer.lblSpots(2)->pos();
  form->model().setMaxDx(1000);
  form->model().DrawSpots();
  EXPECT_EQ(layer.lblSpots(2)->pos(), before);
  const auto boxes = [&] {  // checked and enabled of both boxes, then the two markers shown
    return std::vector<bool>{
        c.chkShowSpotBy->isChecked(),          c.chkShowSpotBy->isEnabled(),
        c.chkShowConnectingLines->isChecked(), c.chkShowConnectingLines->isEnabled(),
        layer.lblSpots(1)->isVisible(),        layer.lblSpotBys(1)->isVisible()};
  };
  EXPECT_EQ(boxes(), std::vector<bool>(6, true));
  c.chkShowSpots->click();
  EXPECT_EQ(boxes(), std::vector<bool>(6, false));
  form->model().testspot();  // spots added meanwhile stay hidden
  EXPECT_FALSE(layer.lblSpots(3)->isVisible() || layer.lblSpotBys(4)->isVisible());
  c.chkShowSpots->click();
  EXPECT_EQ(boxes(), (std::vector<bool>{false, true, false, false, true, false}));
  c.chkShowSpotBy->click();
  EXPECT_EQ(boxes(), (std::vector<bool>{true, true, false, true, true, true}));
  messages.answers = {false, true};
  c.cmdClrSpots->click();
  EXPECT_EQ(form->model().spots().NextSpot(), 5);
  ASSERT_EQ(messages.questions.size(), 1u);
  EXPECT_EQ(messages.questions[0].text, "Clear spots?");
  EXPECT_EQ(messages.questions[0].title, form->caption());
  c.cmdClrSpots->click();
  EXPECT_EQ(form->model().spots().NextSpot(), 1);
  EXPECT_FALSE(layer.lblSpots(1)->isVisible());
}

// Help asks for the map's topic; the notice names the file, a failure says so in a message.
TEST_F(FormOptionsTest, HelpAsksForTheMapTopic) {
  help.file = QStringLiteral("/h/quill5.hlp");
  for (const bool opened : {true, false}) {
    help.succeeds = opened;
    loadForm().controls().cmdHelp->click();
    EXPECT_EQ(form->notice().showing(), opened);
    EXPECT_EQ(form->notice().text(), opened ? "Help opened: /h/quill5.hlp" : "");
  }
  EXPECT_EQ(help.requests[0],
            std::make_pair(QStringLiteral("QUILL5.HLP"), QStringLiteral("ji(\"\", \"MAP\")")));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "No help viewer could be started.\nHelp file: /h/quill5.hlp");
}

}  // namespace
}  // namespace orbelle::shell::test
