#include "PluginFixture.h"

#include <cstring>

using namespace plugintest;

namespace {

// A chunk as the plug-in lays it out: int32 version, int32 count, count doubles, int8 length, name.
struct ChunkWriter {
   std::vector<uint8_t> bytes;
   template <typename T> ChunkWriter& put(T value) {
      const auto* p = reinterpret_cast<const uint8_t*>(&value);
      bytes.insert(bytes.end(), p, p + sizeof(value));
      return *this;
   }
   ChunkWriter& text(const std::string& s) {
      bytes.insert(bytes.end(), s.begin(), s.end());
      return *this;
   }
};

std::vector<uint8_t> chunk(int32_t count, const std::vector<double>& values, int nameLength,
                           const std::string& name) {
   ChunkWriter w;
   w.put<int32_t>(1).put<int32_t>(count);
   for (double v : values)
      w.put(v);
   if (nameLength >= 0)
      w.put(static_cast<uint8_t>(nameLength)).text(name);
   return w.bytes;
}

// Values every parameter can hold exactly in single precision, all different from the defaults.
std::vector<double> distinctValues(double offset = 0.0) {
   std::vector<double> v;
   for (int i = 0; i < kParamCount; ++i)
      v.push_back(static_cast<double>(static_cast<float>(0.03125 * (i + 1) + offset)));
   return v;
}

std::string nameOf(const std::vector<uint8_t>& saved) {
   const size_t at = 8 + 8 * static_cast<size_t>(kParamCount);
   return std::string(saved.begin() + static_cast<long>(at) + 1, saved.end());
}

const std::vector<double> kInitialValues = {0.5, 0, 0, 0, 0, 0, 0.5, 0, 0, 0.5, 0.5, 0.5, 0.5, 0, 0, 0, 0};

} // namespace

class State : public PluginTest {
protected:
   std::vector<uint8_t> save() {
      std::vector<uint8_t> out;
      EXPECT_TRUE(plugin->saveState(out));
      return out;
   }
   void setAll(const std::vector<double>& values) {
      host::InputEvents events;
      for (size_t i = 0; i < values.size(); ++i)
         events.push(host::InputEvents::paramValue(static_cast<clap_id>(i), values[i]));
      host::OutputEvents out;
      plugin->flush(events, out);
   }
   std::string presetName() { return nameOf(save()); }
};

TEST_F(State, FreshInstanceSavesVersionCountDefaultsAndName) {
   EXPECT_EQ(save(), chunk(17, kInitialValues, 7, "Default"));
   EXPECT_EQ(save().size(), 152u);
}

TEST_F(State, SaveThenLoadIntoAnotherInstanceIsExact) {
   setAll(distinctValues());
   ASSERT_TRUE(plugin->loadState(chunk(0, {}, 9, "My preset")));
   const std::vector<uint8_t> saved = save();

   host::Host otherHost;
   host::PluginInstance other(library(), otherHost, kPluginId);
   ASSERT_TRUE(other.ok());
   ASSERT_TRUE(other.loadState(saved));
   for (int i = 0; i < kParamCount; ++i)
      EXPECT_EQ(other.paramValue(static_cast<clap_id>(i)), distinctValues()[static_cast<size_t>(i)]) << i;
   std::vector<uint8_t> again;
   ASSERT_TRUE(other.saveState(again));
   EXPECT_EQ(again, saved);
   EXPECT_EQ(nameOf(again), "My preset");
}

// Streams may move fewer bytes than asked, down to one per call.
TEST_F(State, StreamsMovingOneByteAtATimeCarryTheWholeChunk) {
   setAll(distinctValues());
   const std::vector<uint8_t> whole = save();
   std::vector<uint8_t> trickled;
   ASSERT_TRUE(plugin->saveState(trickled, 1));
   EXPECT_EQ(trickled, whole);

   host::Host otherHost;
   host::PluginInstance other(library(), otherHost, kPluginId);
   ASSERT_TRUE(other.loadState(whole, 1));
   std::vector<uint8_t> loaded;
   ASSERT_TRUE(other.saveState(loaded));
   EXPECT_EQ(loaded, whole);
}

// A stream that never takes a byte, or reports an error, fails the save in bounded time.
TEST_F(State, SaveFailsOnAStreamThatTakesNothingOrErrs) {
   struct Stream {
      int64_t answer;
      int calls = 0;
   };
   for (int64_t answer : {int64_t{0}, int64_t{-1}, int64_t{100000}}) {
      Stream s{answer};
      clap_ostream_t stream{&s, [](const clap_ostream_t* st, const void*, uint64_t) -> int64_t {
                               auto* self = static_cast<Stream*>(st->ctx);
                               ++self->calls;
                               return self->answer;
                            }};
      EXPECT_FALSE(plugin->state()->save(plugin->plugin(), &stream)) << "answer " << answer;
      EXPECT_LE(s.calls, 1000) << "answer " << answer;
   }
}

// Blocks too short to hold the count change nothing and fail; every longer block succeeds.
TEST_F(State, BlocksUnderEightBytesAreRefusedAndChangeNothing) {
   const std::vector<uint8_t> before = save();
   const std::vector<uint8_t> full = chunk(17, distinctValues(), 4, "Gone");
   for (size_t length = 0; length < 8; ++length) {
      EXPECT_FALSE(plugin->loadState({full.begin(), full.begin() + static_cast<long>(length)})) << length;
      EXPECT_EQ(save(), before) << length;
   }
   EXPECT_EQ(host.rescanCount(CLAP_PARAM_RESCAN_VALUES), 0);
}

TEST_F(State, ForeignChunksApplyWhatTheyHold) {
   const std::vector<double> v = distinctValues();
   const auto first = [&](size_t n) {
      return std::vector<double>(v.begin(), v.begin() + static_cast<long>(n));
   };
   const auto expect = [&](size_t n) {
      std::vector<double> e = kInitialValues;
      std::copy(v.begin(), v.begin() + static_cast<long>(n), e.begin());
      return e;
   };
   const struct {
      const char* name;
      std::vector<uint8_t> chunk;
      std::vector<double> values;
      std::string presetName;
   } cases[] = {
       {"count 3, name after the third value", chunk(3, first(3), 3, "abc"), expect(3), "abc"},
       {"count 0, name at offset 8", chunk(0, {}, 2, "xy"), kInitialValues, "xy"},
       {"negative count, name at offset 8", chunk(-5, {}, 2, "xy"), kInitialValues, "xy"},
       {"most negative count", chunk(INT32_MIN, {}, 1, "z"), kInitialValues, "z"},
       // A count above 17 still puts the name after the seventeenth value.
       {"count 20", chunk(20, v, 4, "name"), expect(17), "name"},
       {"name length 0 keeps the name", chunk(17, v, 0, ""), expect(17), "Default"},
       {"name length 200 (negative) keeps the name", chunk(17, v, 200, std::string(200, 'n')), expect(17),
        "Default"},
       {"144 bytes: values, no name byte", chunk(17, v, -1, ""), expect(17), "Default"},
       {"name announced longer than the block", chunk(17, v, 10, "short"), expect(17), "short"},
       {"name length with no name byte after it", chunk(17, v, 10, ""), expect(17), "Default"},
       {"version is not examined",
        [&] {
           auto c = chunk(17, v, 3, "ver");
           c[0] = 0x7F;
           return c;
        }(),
        expect(17), "ver"},
   };
   for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      host::PluginInstance fresh(library(), host, kPluginId);
      ASSERT_TRUE(fresh.loadState(c.chunk));
      std::vector<uint8_t> saved;
      ASSERT_TRUE(fresh.saveState(saved));
      for (int i = 0; i < kParamCount; ++i)
         EXPECT_EQ(fresh.paramValue(static_cast<clap_id>(i)), c.values[static_cast<size_t>(i)])
             << "param " << i;
      EXPECT_EQ(nameOf(saved), c.presetName);
   }
}

// A zero byte ends the name's text; the rest of the announced length is kept as zero bytes.
TEST_F(State, ZeroByteInsideTheNameEndsItsText) {
   ASSERT_TRUE(plugin->loadState(chunk(0, {}, 5, std::string("ab\0cd", 5))));
   EXPECT_EQ(presetName(), std::string("ab\0\0\0", 5));
}

// Cut a chunk at every length: only complete values apply, only the name bytes present are taken,
// and nothing is read beyond the block (the sanitizer build checks that).
TEST_F(State, ChunkTruncatedAtEveryOffsetAppliesOnlyWhatIsComplete) {
   const std::vector<uint8_t> baseline = chunk(17, distinctValues(0.25), 4, "Base");
   const std::vector<uint8_t> full = chunk(17, distinctValues(), 8, "Complete");
   for (size_t length = 8; length <= full.size(); ++length) {
      SCOPED_TRACE(length);
      ASSERT_TRUE(plugin->loadState(baseline));
      ASSERT_TRUE(plugin->loadState({full.begin(), full.begin() + static_cast<long>(length)}));
      for (size_t i = 0; i < static_cast<size_t>(kParamCount); ++i) {
         const bool complete = 8 + 8 * (i + 1) <= length;
         EXPECT_EQ(plugin->paramValue(static_cast<clap_id>(i)),
                   complete ? distinctValues()[i] : distinctValues(0.25)[i])
             << "param " << i;
      }
      const size_t namePresent = length > 145 ? length - 145 : 0;
      EXPECT_EQ(presetName(), namePresent ? std::string("Complete", namePresent) : "Base");
   }
}

// After a load the host is asked to re-read every value (its display and automation would be stale).
TEST_F(State, SuccessfulLoadAsksTheHostToRescanValues) {
   ASSERT_TRUE(plugin->loadState(chunk(17, distinctValues(), 0, "")));
   EXPECT_EQ(host.rescanCount(CLAP_PARAM_RESCAN_VALUES), 1);
   EXPECT_EQ(host.rescanCount(CLAP_PARAM_RESCAN_INFO), 0);
   EXPECT_FALSE(plugin->loadState({1, 2, 3}));
   EXPECT_EQ(host.rescanCount(CLAP_PARAM_RESCAN_VALUES), 1);
}

// A host without the params extension still saves and loads.
class StateWithoutHostParams : public PluginTest {
protected:
   StateWithoutHostParams()
       : PluginTest([] {
            host::HostOptions o;
            o.params = false;
            return o;
         }()) {}
};

TEST_F(StateWithoutHostParams, LoadsWithoutAskingForARescan) {
   ASSERT_TRUE(plugin->loadState(chunk(17, distinctValues(), 3, "abc")));
   EXPECT_EQ(plugin->paramValue(16), distinctValues()[16]);
   EXPECT_EQ(host.rescanCount(CLAP_PARAM_RESCAN_VALUES), 0);
}
