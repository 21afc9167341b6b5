// The level meter and the oscilloscope: how full the bar is for known peaks, how it falls, where the scope
// puts a sample and which sample each pixel column shows.
#include "TestSupport.h"
#include "controls/Oscilloscope.h"
#include "controls/Vumeter.h"

#include <gtest/gtest.h>

namespace ControlsTest {
namespace {

constexpr CColor red(255, 0, 0, 255);
constexpr CColor black(0, 0, 0, 255);

// The main view's meter: 716 x 6 with a grid every 6 pixels.
struct MeterTest : testing::Test {
   void SetUp() override {
      meter = test.add(new Vumeter(CRect(41, 20, 757, 26)));
      meter->segmentSpacing = 6;
      meter->color = red;
   }
   // Lit columns of the bar: red pixels in a row between the grid's top and bottom lines.
   int litColumns() { return test.capture().count(CRect(41, 22, 757, 23), red); }

   TestFrame test{800, 50};
   Vumeter* meter = nullptr;
};

TEST_F(MeterTest, BarFillFollowsWholeDecibelsOfThePeak) {
   struct Case {
      float peak;
      int fill; // pixels from the left
   };
   // Rising peaks show at once: 0.0316 is below -30 dB, 0.1 (a float just above) truncates to -19 dB,
   // 0.5 to -6 dB, and +6 dB fills the bar like 0 dB.
   for (const Case& c :
        {Case{0.0316f, 0}, Case{0.1f, 263}, Case{0.5f, 573}, Case{1.f, 716}, Case{2.f, 716}}) {
      SCOPED_TRACE(c.peak);
      meter->process(c.peak);
      pump(100); // a few timer redraws: a steady peak holds the bar
      // The grid lights every sixth column of the bar in its own colour.
      EXPECT_EQ(litColumns(), c.fill - (c.fill + 5) / 6);
      const Image image = test.capture();
      if (c.fill > 0 && c.fill < 716) {
         const int lastLit = (c.fill - 1) % 6 == 0 ? c.fill - 2 : c.fill - 1;
         const int firstDark = c.fill % 6 == 0 ? c.fill + 1 : c.fill;
         EXPECT_EQ(image.at(41 + lastLit, 22), red);
         EXPECT_EQ(image.at(41 + firstDark, 22), black);
      }
      const CColor grid(34, 34, 34, 255);
      EXPECT_EQ(image.at(41 + 6, 22), grid) << "one-pixel grid lines";
      EXPECT_EQ(image.at(41 + 7, 22), c.fill > 7 ? red : black);
      EXPECT_EQ(image.at(41 + 100, 20), grid) << "top row";
      EXPECT_EQ(image.at(41 + 100, 25), grid) << "bottom row";
      EXPECT_EQ(image.at(41 + 100, 26), black) << "nothing below the bar";
   }
}

TEST_F(MeterTest, TimerLetsTheBarFallWithoutNewPeaks) {
   meter->process(1.f);
   pump(100);
   EXPECT_EQ(litColumns(), 716 - 120);
   meter->process(0.f);
   // Ten redraws of 30 ms take it from 0 dB below -30 dB.
   EXPECT_TRUE(
       runLoop().pumpUntil([&] { return meter->getDbLevel() == -31; }, std::chrono::milliseconds(1000)));
   EXPECT_EQ(litColumns(), 0);
}

TEST(Vumeter, ReleaseMultipliesByPointSevenPerRedraw) {
   const size_t timersBefore = runLoop().timerCount();
   auto meter = makeOwned<Vumeter>(CRect(0, 0, 716, 6));
   EXPECT_EQ(runLoop().timerCount(), timersBefore + 1) << "its 30 ms timer";
   auto context = COffscreenContext::create(CPoint(716, 6));
   meter->process(1.f);
   meter->draw(context);
   EXPECT_EQ(meter->getDbLevel(), 0);
   meter->process(0.f);
   float expected = 1.f;
   for (const int db : {-3, -6, -9, -12, -15, -18, -21, -24, -27, -31}) {
      meter->draw(context);
      expected *= 0.7f;
      EXPECT_FLOAT_EQ(meter->getLevel(), expected);
      EXPECT_EQ(meter->getDbLevel(), db);
   }
   // A new peak above the level lifts it at once; one below the level holds once reached.
   meter->process(0.5f);
   meter->draw(context);
   EXPECT_EQ(meter->getLevel(), 0.5f);
   meter->draw(context);
   EXPECT_EQ(meter->getLevel(), 0.5f);
   meter = nullptr;
   EXPECT_EQ(runLoop().timerCount(), timersBefore) << "the timer goes with the meter";
}

// The main view's scope: 720 x 65, here on black at (40, 30).
struct ScopeTest : testing::Test {
   void SetUp() override {
      scope = test.add(new Oscilloscope(CRect(40, 30, 760, 95)));
      scope->color = CColor(0, 255, 0, 255);
   }
   void deliver(const std::vector<char>& data) {
      scope->process(data.data(), static_cast<int>(data.size()));
      test.frame->invalid(); // also the row above the view, where -127 lands
   }
   // The row (relative to the scope's top) where the line is brightest in column x of the scope.
   int lineRow(const Image& image, int x) {
      int best = -99, bestGreen = -1;
      for (int row = -3; row < 68; ++row)
         if (image.at(40 + x, 30 + row).green > bestGreen) {
            bestGreen = image.at(40 + x, 30 + row).green;
            best = row;
         }
      return best;
   }

   TestFrame test{800, 130};
   Oscilloscope* scope = nullptr;
};

TEST_F(ScopeTest, FullScaleBytesLandAtTheEdgesAndSilenceOnTheCentre) {
   Image image = test.capture();
   for (int x : {5, 360, 700}) {
      const int row = lineRow(image, x);
      EXPECT_TRUE(row == 31 || row == 32)
          << "flat line at 32 before any delivery, column " << x << ": " << row;
   }
   // 127: height * 1 * 0.5 + 32 = 64.5 below the top; -127: -32.5 + 32 = -0.5, a row above the view.
   deliver(std::vector<char>(1024, 127));
   image = test.capture();
   for (int x : {5, 360, 700})
      EXPECT_EQ(lineRow(image, x), 64) << x;
   // The fill closes the path back to its start on the centre line: a darker shade at alpha 172.
   EXPECT_TRUE(near(image.at(40 + 600, 30 + 62), over(CColor(0, 191, 0), 172. / 255. * 0.86), 3));
   EXPECT_EQ(image.at(40 + 100, 30 + 10), black);

   deliver(std::vector<char>(1024, -127));
   image = test.capture();
   for (int x : {5, 360, 700})
      EXPECT_EQ(lineRow(image, x), -1) << x;
   // The view is drawn at 86 % opacity: the line's full colour never shows.
   EXPECT_EQ(image.count(CRect(40, 20, 760, 100), CColor(0, 255, 0)), 0);
}

TEST_F(ScopeTest, ColumnXShowsSampleXTimesCountOverWidth) {
   // 1455 samples: the ones the columns pick are at the bottom, every other one at the top. A column that
   // picked any other sample would send the line up.
   std::vector<char> data(1455, -127);
   for (int x = 0; x < 720; ++x)
      data[static_cast<size_t>(x * 1455 / 720)] = 127;
   deliver(data);
   Image image = test.capture();
   std::string up;
   for (int x = 2; x < 719; ++x) // the path ends on the left edge of the last column
      if (lineRow(image, x) != 64)
         up += std::to_string(x) + ":" + std::to_string(lineRow(image, x)) + " ";
   EXPECT_EQ(up, "");

   // 100 samples alternating top and bottom: each spans about seven columns as a flat step.
   std::vector<char> steps(100);
   for (size_t i = 0; i < steps.size(); ++i)
      steps[i] = i % 2 ? 127 : -127;
   deliver(steps);
   image = test.capture();
   // Columns 3, 18, 33 show samples 0, 2, 4 (top); columns 11, 25, 40 show samples 1, 3, 5 (bottom).
   for (const auto& [x, row] : {std::pair{3, -1}, {11, 64}, {18, -1}, {25, 64}, {33, -1}, {40, 64}})
      EXPECT_EQ(lineRow(image, x), row) << "column " << x;
   // A delivery without samples redraws the last waveform.
   scope->process(nullptr, 0);
   test.frame->invalid();
   const Image again = test.capture();
   EXPECT_EQ(again.pixels, image.pixels);

   // More samples than the scope holds are cut at its capacity.
   deliver(std::vector<char>(Oscilloscope::maxSamples + 5000, 127));
   EXPECT_EQ(lineRow(test.capture(), 400), 64);
}

} // namespace
} // namespace ControlsTest
