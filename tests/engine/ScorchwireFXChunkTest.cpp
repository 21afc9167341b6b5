#include "ScorchwireFX.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
std::vector<uint8_t> chunkOf(ScorchwireFX& fx) {
   void* data = nullptr;
   const int size = fx.getChunk(&data, true);
   std::vector<uint8_t> bytes(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
   std::free(data);
   return bytes;
}
} // namespace

// A name longer than the format holds is cut to 127 bytes, in the chunk and in the engine itself.
TEST(ScorchwireFXChunk, LongPresetNameIsCutTo127Bytes) {
   ScorchwireFX fx;
   fx.presetName = std::string(200, 'x');
   const std::vector<uint8_t> chunk = chunkOf(fx);
   EXPECT_EQ(chunk.size(), 145u + 127u);
   EXPECT_EQ(chunk[144], 127);
   EXPECT_EQ(fx.presetName, std::string(127, 'x'));

   ScorchwireFX other;
   EXPECT_EQ(other.setChunk(chunk.data(), static_cast<int>(chunk.size()), true), 1);
   EXPECT_EQ(other.presetName, std::string(127, 'x'));
}

TEST(ScorchwireFXChunk, RefusesBlocksTooShortForTheCount) {
   ScorchwireFX fx;
   const uint8_t bytes[8] = {1, 0, 0, 0, 17, 0, 0, 0};
   EXPECT_EQ(fx.setChunk(nullptr, 100, true), 0);
   EXPECT_EQ(fx.setChunk(bytes, 7, true), 0);
   EXPECT_EQ(fx.setChunk(bytes, -1, true), 0);
   EXPECT_EQ(fx.setChunk(bytes, 8, true), 1);
   EXPECT_EQ(fx.presetName, "Default");
}
