#include "duzudoru/hiir/PolyphaseIir2Designer.h"

#include <gtest/gtest.h>

namespace {

struct Design {
   double transition;
   int nbrCoefs;
   double asDouble[8];
   float asFloat[8];
};

const Design kDesigns[] = {
    {0.01,
     8,
     {0.077115079832416222, 0.26596852652109459, 0.4820706250610472, 0.6651041532634957, 0.79682047133157974,
      0.88410150855061587, 0.94125142777404713, 0.98200541418860754},
     {0.0771150813f, 0.265968531f, 0.482070625f, 0.665104151f, 0.796820462f, 0.88410151f, 0.941251457f,
      0.982005417f}},
    {0.2,
     3,
     {0.081430023176615865, 0.31565984021665966, 0.70977080010247717},
     {0.0814300254f, 0.315659851f, 0.709770799f}},
};

TEST(PolyphaseIir2Designer, DesignsTheOversamplerStagesCoefficients) {
   for (const auto& d : kDesigns) {
      EXPECT_EQ(hiir::PolyphaseIir2Designer::compute_nbr_coefs_from_proto(69.0, d.transition), d.nbrCoefs);
      double coefs[16] = {};
      ASSERT_EQ(hiir::PolyphaseIir2Designer::compute_coefs(coefs, 69.0, d.transition), d.nbrCoefs);
      for (int i = 0; i < d.nbrCoefs; ++i) {
         EXPECT_NEAR(coefs[i], d.asDouble[i], 2e-16) << "transition " << d.transition << " a" << i;
         EXPECT_EQ(static_cast<float>(coefs[i]), d.asFloat[i]) << "transition " << d.transition << " a" << i;
      }
   }
}

TEST(PolyphaseIir2Designer, OrderGrowsWithAttenuationAndNarrowerTransition) {
   using D = hiir::PolyphaseIir2Designer;
   EXPECT_GT(D::compute_nbr_coefs_from_proto(100.0, 0.01), D::compute_nbr_coefs_from_proto(69.0, 0.01));
   EXPECT_GT(D::compute_nbr_coefs_from_proto(69.0, 0.01), D::compute_nbr_coefs_from_proto(69.0, 0.1));
   // A design that needs almost nothing still gets the minimum order 3, that is one coefficient.
   EXPECT_EQ(D::compute_nbr_coefs_from_proto(1.0, 0.45), 1);
}

} // namespace
