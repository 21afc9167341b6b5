// The knob: where its arc and pointer land, and what a real mouse does to it (drag, fine drag, reset,
// gestures around every change).
#include "controls/Knob.h"
#include "TestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

namespace ControlsTest {
namespace {

constexpr CColor red(255, 0, 0, 255);
constexpr CColor blue(0, 0, 255, 255);

// The point at angle degrees (clockwise from three o'clock) and the given radius around centre.
CPoint polar(const CPoint& centre, double degrees, double radius) {
   const double a = degrees * M_PI / 180.;
   return CPoint(std::floor(centre.x + radius * std::cos(a)), std::floor(centre.y + radius * std::sin(a)));
}

TEST(KnobDrawing, ArcSweepsFrom145DegreesAndPointerMarksItsEnd) {
   TestFrame test(360, 360);
   // A 160 wide knob: its face has a radius of 70 around (180, 180) and its arc is 6.4 wide on that circle.
   auto* knob = test.add(new Knob(CRect(100, 100, 260, 260), nullptr, 5));
   knob->arcColor = red;
   knob->pointerColor = blue;
   knob->invalid(); // colours show at the next redraw
   const CPoint centre(180, 180);
   struct Case {
      float value;
      double pointer;
      std::vector<double> lit, dark;
   };
   for (const Case& c : {Case{0.f, 145., {}, {150., 200., 270., 340., 30., 90.}},
                         Case{0.5f, 270., {150., 200., 262.}, {278., 330., 20., 90.}},
                         Case{1.f, 35., {150., 200., 270., 340., 385.}, {45., 90., 135.}}}) {
      SCOPED_TRACE(c.value);
      knob->setValue(c.value);
      const Image image = test.capture();
      for (double angle : c.lit) {
         const CPoint p = polar(centre, angle, 71.5);
         EXPECT_EQ(image.at(p.x, p.y), red) << "arc missing at " << angle << "°";
      }
      for (double angle : c.dark) {
         const CPoint p = polar(centre, angle, 71.5);
         EXPECT_NE(image.at(p.x, p.y), red) << "arc drawn at " << angle << "°";
      }
      // The pointer runs from 0.75 of the radius to the rim; inside the face a faint shade lies over it.
      const CPoint rim = polar(centre, c.pointer, 69.5);
      EXPECT_EQ(image.at(rim.x, rim.y), blue);
      const CPoint inner = polar(centre, c.pointer, 60.);
      EXPECT_TRUE(near(image.at(inner.x, inner.y), CColor(6, 6, 222), 3)) << "shaded pointer";
      const CPoint face = polar(centre, c.pointer + 180., 30.);
      EXPECT_TRUE(near(image.at(face.x, face.y), CColor(38, 41, 46), 1)) << "face under the shade";
   }
}

struct KnobInput : testing::Test {
   void SetUp() override {
      knob = test.add(new Knob(CRect(100, 300, 260, 460), &test.editor, 5));
      knob->setValue(0.5f);
   }
   // Presses at the knob's centre, moves the pointer by each step (pixels, down positive) and releases.
   void drag(const std::vector<int>& steps, const std::string& modifier = "") {
      pump(450); // no double-click with the previous press
      xdotool(test.moveTo(180, 380));
      std::vector<std::string> args;
      if (!modifier.empty())
         args = {"keydown", modifier};
      args.push_back("mousedown");
      args.push_back("1");
      int y = 380;
      for (int step : steps) {
         y += step;
         const auto move = test.moveTo(180, y);
         args.insert(args.end(), move.begin(), move.end());
      }
      args.insert(args.end(), {"mouseup", "1"});
      if (!modifier.empty())
         args.insert(args.end(), {"keyup", modifier});
      xdotool(args);
   }
   // The log must be one gesture: begin, only value changes, end.
   void expectOneGesture() {
      ASSERT_GE(test.editor.log.size(), 2u);
      EXPECT_EQ(test.editor.log.front(), "begin 5");
      EXPECT_EQ(test.editor.log.back(), "end 5");
      for (size_t i = 1; i + 1 < test.editor.log.size(); ++i)
         EXPECT_EQ(test.editor.log[i].rfind("value 5 ", 0), 0u) << test.editor.log[i];
   }

   TestFrame test{360, 560};
   Knob* knob = nullptr;
};

TEST_F(KnobInput, ThirtyTwoPixelsUpAddAQuarterInsideOneGesture) {
   drag({-16, -16});
   EXPECT_FLOAT_EQ(knob->getValue(), 0.75f);
   expectOneGesture();
   EXPECT_EQ(test.editor.log[test.editor.log.size() - 2], "value 5 0.75");
}

TEST_F(KnobInput, ShiftMakesTheDragEightTimesFiner) {
   drag({-16, -16}, "shift");
   EXPECT_FLOAT_EQ(knob->getValue(), 0.53125f);
   expectOneGesture();
   test.editor.log.clear();
   drag({20, 20, 24}); // and without Shift again: 64 pixels down take half the range
   EXPECT_FLOAT_EQ(knob->getValue(), 0.03125f);
   expectOneGesture();
}

TEST_F(KnobInput, DraggingPastEitherEndStopsThereAndStaysQuiet) {
   knob->setValue(0.9f);
   drag({-25, -25, -25, -25});
   EXPECT_EQ(test.editor.log, (std::vector<std::string>{"begin 5", "value 5 1", "end 5"}));
   test.editor.log.clear();
   drag({100, 100, 100});
   EXPECT_EQ(test.editor.log, (std::vector<std::string>{"begin 5", "value 5 0.21875", "value 5 0", "end 5"}));
}

TEST_F(KnobInput, ControlClickAndDoubleClickResetToTheMiddleInOneGesture) {
   knob->setValue(0.8f);
   test.click(180, 380, 1, "ctrl");
   EXPECT_EQ(knob->getValue(), 0.5f);
   EXPECT_EQ(test.editor.log, (std::vector<std::string>{"begin 5", "value 5 0.5", "end 5"}));

   knob->setValue(0.1f);
   test.editor.log.clear();
   pump(450);
   xdotool({"click", "--repeat", "2", "--delay", "60", "1"});
   EXPECT_EQ(knob->getValue(), 0.5f);
   EXPECT_EQ(test.editor.log,
             (std::vector<std::string>{"begin 5", "end 5", "begin 5", "value 5 0.5", "end 5"}));
   // The next drag starts from the reset position.
   test.editor.log.clear();
   drag({-32});
   EXPECT_FLOAT_EQ(knob->getValue(), 0.75f);
}

TEST_F(KnobInput, RightButtonMakesAnEmptyGesture) {
   test.click(180, 380, 3);
   EXPECT_EQ(knob->getValue(), 0.5f);
   EXPECT_EQ(test.editor.log, (std::vector<std::string>{"begin 5", "end 5"}));
}

TEST_F(KnobInput, HostValuesWaitWhileTheUserHoldsTheKnob) {
   xdotool(test.moveTo(180, 380));
   xdotool({"mousedown", "1"});
   knob->setValue(0.2f);
   EXPECT_EQ(knob->getValue(), 0.5f) << "ignored during the gesture";
   xdotool({"mouseup", "1"});
   for (float outside : {1.5f, -0.1f}) {
      knob->setValue(outside);
      EXPECT_EQ(knob->getValue(), 0.5f) << outside;
   }
   knob->setValue(0.2f);
   EXPECT_EQ(knob->getValue(), 0.2f);
   test.editor.log.clear();
   drag({-32}); // a drag continues from the host's value
   EXPECT_FLOAT_EQ(knob->getValue(), 0.45f);
   expectOneGesture();
}

} // namespace
} // namespace ControlsTest
