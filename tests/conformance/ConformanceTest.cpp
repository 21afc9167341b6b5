#include "PluginFixture.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <random>

using namespace plugintest;

namespace {

// Values every parameter holds exactly in single precision, all different from the defaults.
std::vector<double> distinctValues() {
   std::vector<double> values;
   for (int i = 0; i < kParamCount; ++i)
      values.push_back((i * 5 % 17 + 1) / 32.0);
   values[3] = 0.5;   // a pre-filter that is on
   values[4] = 0.375; // Ultracrunch
   return values;
}

host::InputEvents eventsFor(const std::vector<double>& values) {
   host::InputEvents events;
   for (size_t i = 0; i < values.size(); ++i)
      events.push(host::InputEvents::paramValue(static_cast<clap_id>(i), values[i]));
   return events;
}

// One instance, activated at a rate, fed the deterministic test signal block by block.
class Renderer {
public:
   explicit Renderer(double rate = 48000.0, uint32_t maxFrames = 8192,
                     const host::PluginLibrary& lib = library())
       : plugin(lib, host, kPluginId) {
      EXPECT_TRUE(plugin.ok());
      EXPECT_TRUE(plugin.activate(rate, 1, maxFrames));
      audio.run([&] { EXPECT_TRUE(plugin.startProcessing()); });
   }
   ~Renderer() {
      audio.run([&] { plugin.stopProcessing(); });
      plugin.deactivate();
   }
   // Frames of both channels, interleaved, from a source that does not depend on the block sizes.
   std::vector<float> render(const std::vector<uint32_t>& sizes, const host::InputEvents& first = {}) {
      std::vector<float> result;
      for (size_t b = 0; b < sizes.size(); ++b) {
         StereoBlock block(sizes[b]);
         for (uint32_t i = 0; i < sizes[b]; ++i, ++position) {
            block.inL[i] =
                static_cast<float>(0.6 * std::sin(position * 0.0131) + 0.2 * std::sin(position * 0.37));
            block.inR[i] = static_cast<float>(0.5 * std::sin(position * 0.0077 + 1.0));
         }
         host::OutputEvents out;
         clap_process_status status = CLAP_PROCESS_ERROR;
         const host::InputEvents empty;
         audio.run([&] {
            status = plugin.process(block.in, block.out, block.frames, b == 0 ? first : empty, out);
         });
         EXPECT_EQ(status, CLAP_PROCESS_CONTINUE);
         for (uint32_t i = 0; i < sizes[b]; ++i) {
            result.push_back(block.outL[i]);
            result.push_back(block.outR[i]);
         }
      }
      return result;
   }

   host::Host host;
   host::AudioThread audio;
   host::PluginInstance plugin;
   uint64_t position = 0;
};

std::vector<uint32_t> repeat(uint32_t size, uint32_t total) {
   return std::vector<uint32_t>(total / size, size);
}

} // namespace

// Every parameter has a text for every value it can take, and a short buffer is respected.
TEST(Conformance, EveryParameterHasTextAcrossItsRangeWithinTheBuffer) {
   host::Host host;
   host::PluginInstance plugin(library(), host, kPluginId);
   ASSERT_TRUE(plugin.ok());
   const auto* params = plugin.params();
   for (clap_id id = 0; id < static_cast<clap_id>(kParamCount); ++id)
      for (int step = 0; step <= 200; ++step) {
         const double v = step / 200.0;
         const std::string text = plugin.paramText(id, v);
         EXPECT_FALSE(text.empty()) << "param " << id << " at " << v;
         for (unsigned char c : text)
            EXPECT_GE(c, 0x20) << "param " << id << " at " << v;
         char small[6];
         std::memset(small, 0x7f, sizeof(small));
         if (params->value_to_text(plugin.plugin(), id, v, small, 4)) {
            EXPECT_NE(std::memchr(small, 0, 4), nullptr) << "param " << id << " text ends within 4 bytes";
            EXPECT_EQ(small[4], 0x7f);
         }
      }
}

// Saving what was loaded gives the same bytes, and the loaded instance sounds exactly like one
// whose values were set directly.
TEST(Conformance, StateRoundTripsAndLoadedInstanceRendersLikeDirectlySetOne) {
   const std::vector<double> values = distinctValues();
   std::vector<uint8_t> saved, resaved;
   {
      host::Host host;
      host::PluginInstance source(library(), host, kPluginId);
      host::OutputEvents out;
      source.flush(eventsFor(values), out);
      ASSERT_TRUE(source.saveState(saved));
   }
   Renderer loaded, direct;
   ASSERT_TRUE(loaded.plugin.loadState(saved));
   ASSERT_TRUE(loaded.plugin.saveState(resaved));
   EXPECT_EQ(resaved, saved);
   EXPECT_EQ(loaded.render(repeat(256, 48000)), direct.render(repeat(256, 48000), eventsFor(values)));
}

// Two instances with the same settings sound identical, whatever a third one in between does.
TEST(Conformance, InstancesWithTheSameSettingsRenderIdenticallyAndIndependently) {
   const std::vector<double> values = distinctValues();
   Renderer a, b, other;
   std::vector<float> outA, outB;
   for (int block = 0; block < 100; ++block) {
      const auto first = block == 0 ? eventsFor(values) : host::InputEvents{};
      auto ra = a.render({480}, first);
      host::InputEvents noise;
      for (int i = 0; i < kParamCount; ++i)
         noise.push(host::InputEvents::paramValue(static_cast<clap_id>(i), ((block * 7 + i) % 11) / 10.0));
      other.render({480}, noise);
      auto rb = b.render({480}, first);
      outA.insert(outA.end(), ra.begin(), ra.end());
      outB.insert(outB.end(), rb.begin(), rb.end());
   }
   EXPECT_EQ(outA, outB);
}

// Activation at every rate a host may use, fractional ones included, again after deactivation and
// after a reset: the output is finite and never subnormal, also while a loud tail decays to silence.
TEST(Conformance, ActivateDeactivateAndResetAtEveryRate) {
   host::Host host;
   host::AudioThread audio;
   host::PluginInstance plugin(library(), host, kPluginId);
   ASSERT_TRUE(plugin.ok());
   host::OutputEvents out;
   auto values = distinctValues();
   values[8] = 1.0;
   plugin.flush(eventsFor(values), out);
   const double rates[] = {8000.0,  11025.5, 22050.0,  44100.0,  45678.901, 48000.0,
                           88200.0, 96000.0, 176400.0, 192000.0, 384000.0,  768000.0};
   for (int cycle = 0; cycle < 2; ++cycle)
      for (double rate : rates) {
         SCOPED_TRACE(rate);
         ASSERT_TRUE(plugin.activate(rate, 1, 1024));
         audio.run([&] { ASSERT_TRUE(plugin.startProcessing()); });
         for (int b = 0; b < 60; ++b) {
            if (b == 20)
               audio.run([&] { plugin.reset(); });
            StereoBlock block(1024);
            if (b < 10 || (b >= 20 && b < 30))
               fillTestSignal(block, static_cast<uint32_t>(b + 1));
            clap_process_status status = CLAP_PROCESS_ERROR;
            audio.run([&] {
               host::OutputEvents events;
               status = plugin.process(block.in, block.out, block.frames, {}, events);
            });
            ASSERT_EQ(status, CLAP_PROCESS_CONTINUE);
            for (uint32_t i = 0; i < block.frames; ++i)
               for (float x : {block.outL[i], block.outR[i]}) {
                  ASSERT_TRUE(std::isfinite(x)) << "block " << b;
                  ASSERT_NE(std::fpclassify(x), FP_SUBNORMAL) << "block " << b;
               }
         }
         audio.run([&] { plugin.stopProcessing(); });
         plugin.deactivate();
      }
}

// With settings fixed, block sizes that keep the distortion stage's 64-frame chunks where they are
// (multiples of 64, also changing every block) give exactly the output of one fixed size, for every
// type. Other sizes split those chunks differently: types whose smoothers step once per chunk
// (Overdrive, Clip Inferno, Hot Valve, Quadrafuzz) then glide along a different path while their
// settings settle, so only the types that step per sample are held to the same exact output there.
// The four-pole pre-filters (types 2 and 4) are not block-size independent at all: they share one
// noise sequence with the post-filter, and each block draws the pre-filter's share before the
// post-filter's, so the ladder pre-filters (1 and 3) and none are used here.
TEST(Conformance, BlockSizesGiveTheSameOutputWhereTheChainIsBlockSizeIndependent) {
   constexpr uint32_t kTotal = 3 * 8192;
   std::mt19937 random(7);
   std::vector<uint32_t> chunked, ragged;
   for (uint32_t done = 0; done < kTotal;) {
      const uint32_t size = std::min<uint32_t>(64 * (1 + random() % 128), kTotal - done);
      chunked.push_back(size);
      done += size;
   }
   for (uint32_t done = 0; done < kTotal;) {
      const uint32_t size = std::min<uint32_t>(1 + random() % 700, kTotal - done);
      ragged.push_back(size);
      done += size;
   }
   for (int type = 0; type <= 8; ++type) {
      SCOPED_TRACE(type);
      auto values = distinctValues();
      values[4] = type / 8.0;
      const double preFilters[] = {0.0, 0.25, 0.75}; // none, ladder low-pass, ladder band-pass
      values[3] = preFilters[type % 3];
      values[8] = 0.5;
      const auto settings = eventsFor(values);
      const auto render = [&](const std::vector<uint32_t>& sizes) {
         Renderer r;
         return r.render(sizes, settings);
      };
      const auto reference = render(repeat(512, kTotal));
      EXPECT_EQ(render(repeat(64, kTotal)), reference);
      EXPECT_EQ(render(repeat(8192, kTotal)), reference);
      EXPECT_EQ(render(chunked), reference);
      const bool perSample = type == 3 || type == 4 || type == 5 || type == 6 || type == 7;
      if (perSample) {
         EXPECT_EQ(render(repeat(1, kTotal)), reference);
         EXPECT_EQ(render(ragged), reference);
      }
   }
}

// Every parameter moved at random on every block for 30 s of audio: the output stays finite and
// below +24 dBFS.
TEST(Conformance, RandomAutomationOfEveryParameterStaysFiniteAndBounded) {
   Renderer r(48000.0, 256);
   std::mt19937 random(11);
   std::uniform_real_distribution<double> unit(0.0, 1.0);
   const float limit = std::pow(10.0f, 24.0f / 20.0f);
   for (int block = 0; block < 30 * 48000 / 256; ++block) {
      // Events come in time order, as hosts must send them.
      std::vector<std::pair<uint32_t, clap_id>> moves;
      for (int i = 0; i < kParamCount; ++i)
         moves.emplace_back(static_cast<uint32_t>(random() % 256), static_cast<clap_id>(i));
      std::sort(moves.begin(), moves.end());
      host::InputEvents events;
      for (auto [time, id] : moves)
         events.push(host::InputEvents::paramValue(id, unit(random), time));
      const auto out = r.render({256}, events);
      for (float x : out)
         ASSERT_TRUE(std::isfinite(x) && std::fabs(x) < limit) << "block " << block << ": " << x;
   }
}

// A second copy of the bundle from another path loads (RTLD_NOW | RTLD_LOCAL) beside the first, and
// instances of both render identically: the copies share no state.
TEST(Conformance, ASecondCopyFromAnotherPathLoadsBesideTheFirst) {
   char folder[] = "/tmp/scorchwire-copy-XXXXXX";
   ASSERT_NE(::mkdtemp(folder), nullptr);
   const std::string copy = std::string(folder) + "/Scorchwire.clap";
   {
      std::ifstream from(SCORCHWIRE_CLAP_PATH, std::ios::binary);
      std::ofstream to(copy, std::ios::binary);
      to << from.rdbuf();
   }
   std::string error;
   auto second = host::PluginLibrary::load(copy, error);
   ASSERT_TRUE(second) << error;
   ::unlink(copy.c_str());
   ::rmdir(folder);

   const auto values = eventsFor(distinctValues());
   Renderer first;
   Renderer other(48000.0, 256, *second);
   EXPECT_EQ(other.render(repeat(256, 24000), values), first.render(repeat(256, 24000), values));
}
