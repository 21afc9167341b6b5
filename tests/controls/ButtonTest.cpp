// The small views of the main view and the settings page: arrow, three-bar and push buttons, the preset
// display and the rounded panels. Drawing is read back from the X server; presses come from xdotool.
#include "TestSupport.h"
#include "controls/ArrowButton.h"
#include "controls/BurgerButton.h"
#include "controls/MyBitmap.h"
#include "controls/PushButton.h"
#include "controls/TouchDisplay.h"
#include "controls/UnitContainer.h"

#include <gtest/gtest.h>

namespace ControlsTest {
namespace {

constexpr CColor black(0, 0, 0, 255);

TEST(ArrowButton, TrianglePointsWhereItsDirectionSays) {
   TestFrame test(100, 120);
   // The triangle fills (22, 30) ... (78, 90): 2 pixels in from the sides, 10 from top and bottom.
   auto* arrow = test.add(new ArrowButton(CRect(20, 20, 80, 100)));
   struct Case {
      int direction;
      CPoint inside, outside;
   };
   for (const Case& c : {Case{ArrowButton::kLeft, CPoint(70, 60), CPoint(30, 35)},
                         Case{ArrowButton::kRight, CPoint(30, 60), CPoint(70, 35)},
                         Case{ArrowButton::kDown, CPoint(50, 40), CPoint(30, 80)}}) {
      SCOPED_TRACE(c.direction);
      arrow->direction = c.direction;
      arrow->invalid();
      const Image image = test.capture();
      EXPECT_EQ(image.at(c.inside.x, c.inside.y), CColor(100, 100, 100, 255));
      EXPECT_EQ(image.at(c.outside.x, c.outside.y), black);
      EXPECT_EQ(image.at(50, 25), black) << "nothing in the top margin";
   }
}

TEST(ArrowButton, PressRunsTheActionAndHoverWinsOverTheHeldColour) {
   TestFrame test(100, 120);
   auto* arrow = test.add(new ArrowButton(CRect(20, 20, 80, 100)));
   int calls = 0;
   arrow->action = [&] { ++calls; };
   const auto colour = [&] { return test.capture().at(70, 60); };
   EXPECT_EQ(colour(), CColor(100, 100, 100, 255));
   xdotool(test.moveTo(60, 60));
   EXPECT_EQ(colour(), CColor(150, 150, 150, 255)) << "hovered";
   xdotool({"mousedown", "1"});
   EXPECT_EQ(calls, 1) << "the action runs on the press";
   EXPECT_EQ(colour(), CColor(150, 150, 150, 255)) << "held under the pointer: still the hover colour";
   xdotool({"mouseup", "1"});
   xdotool(test.moveTo(95, 110));
   EXPECT_EQ(colour(), CColor(100, 100, 100, 255));
   test.click(60, 60, 3);
   test.click(60, 60, 2);
   EXPECT_EQ(calls, 1) << "other buttons do nothing";
}

TEST(BurgerButton, ThreeBarsAndAClickRunsTheAction) {
   TestFrame test(60, 60);
   // 30 high: bars of 30/7 pixels at 1/7, 3/7 and 5/7 of the height, 2 pixels in from the sides.
   auto* burger = test.add(new BurgerButton(CRect(10, 10, 40, 40)));
   int calls = 0;
   burger->action = [&] { ++calls; };
   const Image image = test.capture();
   for (const double y : {16.5, 25., 33.5})
      EXPECT_EQ(image.at(25, static_cast<int>(y)), CColor(105, 105, 105, 255)) << y;
   for (const double y : {12., 21., 29., 38.})
      EXPECT_EQ(image.at(25, static_cast<int>(y)), black) << y;
   EXPECT_EQ(image.at(11, 25), black) << "2 pixels in from the left";
   test.click(25, 25, 3);
   EXPECT_EQ(calls, 0);
   test.click(25, 25, 1);
   EXPECT_EQ(calls, 1);
}

struct PushButtonTest : testing::Test {
   void SetUp() override {
      button = test.add(new PushButton(CRect(10, 10, 110, 40), 7));
      button->pressedAction = [&] { log.push_back("pressed"); };
      button->shiftAction = [&] { log.push_back("shift"); };
      button->controlAction = [&] { log.push_back("control"); };
      button->altAction = [&] { log.push_back("alt"); };
      button->valueChangedAction = [&](int32_t tag, float value) {
         log.push_back("value " + std::to_string(tag) + " " + std::to_string(value));
      };
   }
   TestFrame test{200, 60};
   PushButton* button = nullptr;
   std::vector<std::string> log;
};

TEST_F(PushButtonTest, ModifierKeysRunTheirOwnHookInsteadOfTheAction) {
   struct Case {
      const char* modifier;
      const char* action;
   };
   for (const Case& c :
        {Case{"", "pressed"}, Case{"shift", "shift"}, Case{"ctrl", "control"}, Case{"alt", "alt"}}) {
      SCOPED_TRACE(c.modifier);
      log.clear();
      pump(450); // no double-click with the previous press
      test.click(60, 25, 1, c.modifier);
      EXPECT_EQ(log, (std::vector<std::string>{"value 7 1.000000", c.action}));
      EXPECT_FALSE(button->isPressed());
      EXPECT_EQ(button->getValue(), 0.f);
   }
   log.clear();
   test.click(60, 25, 3);
   EXPECT_TRUE(log.empty()) << "a right press is no press";
}

TEST_F(PushButtonTest, FlatBoxIsTranslucentAndTurnsWhiteEdgedWhileHeld) {
   button->title = "RESET";
   button->textColor = CColor(200, 200, 200, 255);
   button->invalid();
   // boxColor (28, 172, 245) at alpha 64 over black inside, at alpha 112 on the 2 pixel edge.
   Image image = test.capture();
   EXPECT_TRUE(near(image.at(15, 25), over(CColor(28, 172, 245), 64. / 255.)));
   EXPECT_TRUE(
       near(image.at(10, 25), over(CColor(28, 172, 245), 112. / 255. + 64. / 255. * (1. - 112. / 255.))));
   EXPECT_GT(image.countNear(CRect(40, 15, 80, 35), CColor(200, 200, 200)), 5) << "the caption, centred";
   EXPECT_EQ(image.countNear(CRect(12, 15, 35, 35), CColor(200, 200, 200)), 0);

   xdotool(test.moveTo(60, 25));
   xdotool({"mousedown", "1"});
   EXPECT_TRUE(button->isPressed());
   EXPECT_EQ(button->getValue(), 1.f);
   image = test.capture();
   EXPECT_TRUE(near(image.at(15, 25), over(CColor(28, 172, 245), 96. / 255.)));
   EXPECT_EQ(image.at(10, 25), CColor(255, 255, 255, 255));
   xdotool({"mouseup", "1"});
   EXPECT_TRUE(near(test.capture().at(15, 25), over(CColor(28, 172, 245), 64. / 255.)));
}

TEST_F(PushButtonTest, ImagesShowNormalAndHeldAndAMissingImageLeavesTheFlatBox) {
   // The bundle's close button: a grey cross on a dark disc, white while held.
   button->setViewSize(CRect(10, 10, 34, 34));
   button->setNormalPix(owned(new MyBitmap("quit.png", {"quit_1.5x.png", "quit_2x.png"})));
   button->setPressedPix(
       owned(new MyBitmap("quit_pressed.png", {"quit_pressed_1.5x.png", "quit_pressed_2x.png"})));
   const CPoint cross(22, 22);
   EXPECT_TRUE(near(test.capture().at(cross.x, cross.y), CColor(200, 200, 200), 12));
   xdotool(test.moveTo(22, 22));
   xdotool({"mousedown", "1"});
   EXPECT_TRUE(near(test.capture().at(cross.x, cross.y), CColor(255, 255, 255), 12));
   xdotool({"mouseup", "1"});
   EXPECT_TRUE(near(test.capture().at(cross.x, cross.y), CColor(200, 200, 200), 12));
   EXPECT_EQ(log, (std::vector<std::string>{"value 7 1.000000", "pressed"}));

   auto* flat = test.add(new PushButton(CRect(120, 10, 190, 40), 8));
   flat->setNormalPix(owned(new MyBitmap("nobitmap", {})));
   flat->title = "X";
   flat->textColor = CColor(200, 200, 200, 255);
   flat->invalid();
   const Image image = test.capture();
   EXPECT_TRUE(near(image.at(125, 25), over(CColor(28, 172, 245), 64. / 255.)));
   EXPECT_GT(image.countNear(CRect(145, 15, 165, 35), CColor(200, 200, 200)), 3);
}

TEST_F(PushButtonTest, ToggleStaysOnBetweenPressesWithItsOnCaption) {
   button->toggle = true;
   button->title = "OFF";
   button->titleOn = "ON";
   button->textColor = CColor(200, 200, 200, 255);
   button->textColorOn = CColor(0, 0, 255, 255);
   test.click(60, 25);
   EXPECT_TRUE(button->isOn());
   EXPECT_EQ(button->getValue(), 1.f);
   Image image = test.capture();
   EXPECT_EQ(image.at(10, 25), CColor(255, 255, 255, 255)) << "on looks held";
   EXPECT_GT(image.countNear(CRect(40, 15, 80, 35), CColor(0, 0, 255)), 3);
   pump(450);
   test.click(60, 25);
   EXPECT_FALSE(button->isOn());
   EXPECT_EQ(button->getValue(), 0.f);
   image = test.capture();
   EXPECT_EQ(image.countNear(CRect(40, 15, 80, 35), CColor(0, 0, 255)), 0);
   EXPECT_GT(image.countNear(CRect(40, 15, 80, 35), CColor(200, 200, 200)), 3);
}

TEST(TouchDisplay, TextSitsLeftAndClearedDrawsNothing) {
   TestFrame test(240, 40);
   auto* display = test.add(new TouchDisplay(CRect(10, 5, 230, 35)));
   display->fontColor = CColor(172, 174, 176, 255);
   display->setText("Init");
   const CColor text(172, 174, 176);
   Image image = test.capture();
   EXPECT_GT(image.countNear(CRect(10, 5, 40, 35), text), 3);
   EXPECT_EQ(image.countNear(CRect(60, 5, 230, 35), text), 0);
   display->setText("A much longer preset name");
   EXPECT_GT(test.capture().countNear(CRect(120, 5, 230, 35), text), 3);
   display->cleared = true;
   display->invalid();
   EXPECT_EQ(test.capture().countNear(CRect(10, 5, 230, 35), text), 0);
}

TEST(UnitContainer, RoundedDarkRimAroundItsFillThenItsChildren) {
   TestFrame test(140, 60, CColor(200, 200, 200, 255));
   auto* panel = new UnitContainer(CRect(10, 10, 130, 50));
   panel->fillColor = CColor(60, 60, 90, 255);
   panel->cornerRadius = 4.;
   auto* child = new UnitContainer(CRect(80, 10, 110, 30)); // drawn over the panel's fill
   child->fillColor = CColor(0, 120, 0, 255);
   panel->addView(child);
   test.add(panel);
   const Image image = test.capture();
   EXPECT_EQ(image.at(40, 30), CColor(60, 60, 90, 255));
   EXPECT_EQ(image.at(10, 30), CColor(25, 25, 25, 255)) << "the outer shape shows 1.5 pixels wide";
   EXPECT_EQ(image.at(10, 10), CColor(200, 200, 200, 255)) << "rounded corner";
   EXPECT_EQ(image.at(105, 30), CColor(0, 120, 0, 255));
}

} // namespace
} // namespace ControlsTest
