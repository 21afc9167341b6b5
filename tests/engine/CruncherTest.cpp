#include "Cruncher.h"

#include <gtest/gtest.h>

namespace {

TEST(Cruncher, SetsDriveAndThresholdFromTheControls) {
   struct Case {
      float control, drive, threshold;
   };
   const Case cases[] = {{0.0f, 0.11f, 0.2f}, {0.5f, 0.26f, 0.4f}, {1.0f, 0.41f, 0.6f}};
   for (const auto& c : cases) {
      Cruncher cr;
      cr.setDrive(c.control);
      cr.setThreshold(c.control);
      EXPECT_EQ(cr.drive.load(), static_cast<float>(c.control * 0.3 + 0.11)) << c.control;
      EXPECT_FLOAT_EQ(cr.drive.load(), c.drive) << c.control;
      EXPECT_FLOAT_EQ(cr.threshold.load(), c.threshold) << c.control;
   }
}

// Threshold 0.2, drive 0.11: kk = 1.331. Inputs whose x * kk stays within the threshold pass at
// their own level, larger ones jump to the threshold; then all are halved.
TEST(Cruncher, PassesTheCleanCoreAndSquaresTheRest) {
   struct Case {
      float in, out;
   };
   const Case cases[] = {{0.1f, 0.05f}, {0.2f, 0.1f},    {-0.2f, -0.1f}, {0.15f, 0.075f},
                         {0.16f, 0.1f}, {-0.16f, -0.1f}, {0.0f, 0.0f},   {1.0f, 0.1f}};
   for (const auto& c : cases) {
      Cruncher cr;
      cr.setDrive(0.0f);
      cr.setThreshold(0.0f);
      float x = c.in;
      cr.process(&x, 1);
      EXPECT_FLOAT_EQ(x, c.out) << "input " << c.in;
   }
}

} // namespace
