#include "NoiseGenerator.h"

#include <gtest/gtest.h>

#include <cstdlib>

// srand(1) puts the C library's generator back into the state of a freshly started process.
TEST(NoiseGenerator, RepeatsTheCLibraryRandSequenceOfAFreshProcess) {
   srand(1);
   NoiseGenerator noise;
   for (int i = 0; i < 100000; ++i)
      ASSERT_EQ(noise.next(), rand()) << "output " << i;
}

TEST(NoiseGenerator, EachGeneratorRunsItsOwnSequence) {
   NoiseGenerator first;
   NoiseGenerator second;
   const int a = first.next();
   first.next();
   EXPECT_EQ(second.next(), a) << "drawing from one generator must not advance another";
}
