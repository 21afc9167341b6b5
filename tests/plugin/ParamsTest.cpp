#include "PluginFixture.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <thread>

using namespace plugintest;

namespace {

const char* const kNames[kParamCount] = {"PreFltCut", "PreFltQ",  "PreFltEnv",  "PrefltTyp", "Default",
                                         "DRIVE",     "DistPrm2", "Absorption", "Default",   "Default",
                                         "Default",   "Default",  "Default",    "Default",   "Default",
                                         "Default",   "Default"};
const double kInitialValues[kParamCount] = {0.5, 0, 0, 0, 0, 0, 0.5, 0, 0, 0.5, 0.5, 0.5, 0.5, 0, 0, 0, 0};

} // namespace

class Params : public PluginTest {
protected:
   const clap_plugin_params_t* params() const { return plugin->params(); }
};

TEST_F(Params, InfoListsSeventeenAutomatableZeroToOneParameters) {
   ASSERT_NE(params(), nullptr);
   ASSERT_EQ(params()->count(plugin->plugin()), 17u);
   for (uint32_t i = 0; i < 17; ++i) {
      SCOPED_TRACE(i);
      clap_param_info_t info;
      std::memset(&info, 0xAB, sizeof(info));
      ASSERT_TRUE(params()->get_info(plugin->plugin(), i, &info));
      EXPECT_EQ(info.id, i);
      EXPECT_EQ(info.flags, static_cast<uint32_t>(CLAP_PARAM_IS_AUTOMATABLE));
      EXPECT_EQ(info.cookie, nullptr);
      EXPECT_STREQ(info.name, kNames[i]);
      EXPECT_STREQ(info.module, "");
      EXPECT_EQ(info.min_value, 0.0);
      EXPECT_EQ(info.max_value, 1.0);
      EXPECT_EQ(info.default_value, 0.0);
   }
   clap_param_info_t info{};
   EXPECT_FALSE(params()->get_info(plugin->plugin(), 17, &info));
   EXPECT_FALSE(params()->get_info(plugin->plugin(), UINT32_MAX, &info));
}

TEST_F(Params, ValuesStartAtTheEngineDefaultsAndReadBackInSinglePrecision) {
   EXPECT_EQ(allValues(), std::vector<double>(std::begin(kInitialValues), std::end(kInitialValues)));

   host::InputEvents events;
   events.push(host::InputEvents::paramValue(2, 0.1));
   host::OutputEvents out;
   plugin->flush(events, out);
   EXPECT_EQ(plugin->paramValue(2), 0.10000000149011612);
   EXPECT_EQ(out.size(), 0u);

   double value = -1.0;
   for (clap_id id : {17u, 100u, UINT32_MAX})
      EXPECT_FALSE(params()->get_value(plugin->plugin(), id, &value)) << id;
}

TEST_F(Params, DisplayTextFollowsTheParameterModel) {
   const double nan = std::numeric_limits<double>::quiet_NaN();
   const struct {
      clap_id id;
      double value;
      const char* text;
   } cases[] = {
       {3, 0.0, "No Filter"}, {3, 0.124, "No Filter"}, {3, 0.125, "LP24"},     {3, 0.5, "HP24"},
       {3, 0.75, "BP24"},     {3, 1.0, "DoubleLP"},    {3, -0.1, "No Filter"}, {3, -0.125, "err"},
       {3, 1.125, "err"},     {3, nan, "err"},         {3, 1e300, "err"},      {0, 1.0, "1.000"},
       {0, 0.0, "0.000"},     {4, 0.5, "0.500"},       {5, 0.12345, "0.123"},  {16, 0.9996, "1.000"},
   };
   for (const auto& c : cases)
      EXPECT_EQ(plugin->paramText(c.id, c.value), c.text) << "param " << c.id << " value " << c.value;
}

TEST_F(Params, DisplayTextIsCutToTheCapacity) {
   const struct {
      clap_id id;
      double value;
      uint32_t capacity;
      const char* text;
   } cases[] = {
       {3, 0.0, 4, "No "},      {0, 0.5, 4, "0.5"},        {0, 0.5, 1, ""},
       {3, 1.0, 9, "DoubleLP"}, {3, 1.0, 200, "DoubleLP"},
   };
   for (const auto& c : cases) {
      SCOPED_TRACE(c.capacity);
      char buffer[256];
      std::memset(buffer, '#', sizeof(buffer));
      ASSERT_TRUE(params()->value_to_text(plugin->plugin(), c.id, c.value, buffer, c.capacity));
      EXPECT_STREQ(buffer, c.text);
      EXPECT_EQ(buffer[c.capacity], '#') << "wrote past the capacity";
   }
   char buffer[8];
   std::memset(buffer, '#', sizeof(buffer));
   EXPECT_FALSE(params()->value_to_text(plugin->plugin(), 0, 0.5, buffer, 0));
   EXPECT_EQ(buffer[0], '#');
   EXPECT_FALSE(params()->value_to_text(plugin->plugin(), 17, 0.5, buffer, sizeof(buffer)));
}

TEST_F(Params, TypedTextIsNeverParsed) {
   double value = 0.25;
   for (clap_id id : {0u, 3u, 16u, 17u})
      for (const char* text : {"0.5", "LP24", "", "1.000"})
         EXPECT_FALSE(params()->text_to_value(plugin->plugin(), id, text, &value))
             << id << " '" << text << "'";
   EXPECT_EQ(value, 0.25);
}

// CLAP 1.2: a flush runs on the main thread while inactive, on the audio thread while processing, and
// in between (active, not processing) on either. Every one of them applies the values.
TEST_F(Params, FlushAppliesValuesOnEveryThreadTheHostMayUse) {
   const auto flushOn = [&](bool audioThread, double value) {
      host::InputEvents events;
      events.push(host::InputEvents::note(CLAP_EVENT_NOTE_ON, 60, 1.0));
      events.push(host::InputEvents::paramValue(6, value));
      events.push(host::InputEvents::midi(0x90, 60, 100));
      host::OutputEvents out;
      if (audioThread)
         audio.run([&] { plugin->flush(events, out); });
      else
         plugin->flush(events, out);
      EXPECT_EQ(out.size(), 0u);
      EXPECT_EQ(plugin->paramValue(6), static_cast<double>(static_cast<float>(value)));
   };

   flushOn(false, 0.1); // inactive
   ASSERT_TRUE(plugin->activate(44100.0, 1, 512));
   flushOn(false, 0.2); // active, not processing
   flushOn(true, 0.3);
   bool started = false;
   audio.run([&] { started = plugin->startProcessing(); });
   ASSERT_TRUE(started);
   flushOn(true, 0.4); // processing
   audio.run([&] { plugin->stopProcessing(); });
   flushOn(false, 0.5);
   plugin->deactivate();

   // An empty flush changes nothing.
   host::InputEvents none;
   host::OutputEvents out;
   plugin->flush(none, out);
   EXPECT_EQ(plugin->paramValue(6), 0.5);
   EXPECT_TRUE(host.logLines().empty());
}

// A flush hands the plug-in the parameter events of the host's list, in order, whatever surrounds them.
TEST_F(Params, FlushAppliesEveryParameterValueAmongOtherEvents) {
   host::InputEvents events;
   events.push(host::InputEvents::note(CLAP_EVENT_NOTE_ON, 60, 1.0));
   events.push(host::InputEvents::paramValue(0, 0.125));
   events.push(host::InputEvents::midi(0x90, 60, 100));
   events.pushNull();
   events.push(host::InputEvents::paramValue(1, 0.25));
   events.push(host::InputEvents::paramValue(1, 0.375)); // the later value wins
   events.push(host::makeTransport(CLAP_TRANSPORT_IS_PLAYING));
   auto foreign = host::InputEvents::paramValue(2, 0.875);
   foreign.header.space_id = 0x1234; // another vendor's event that happens to share the type number
   events.push(foreign);
   clap_event_header_t truncated{sizeof(clap_event_header_t), 0, CLAP_CORE_EVENT_SPACE_ID,
                                 CLAP_EVENT_PARAM_VALUE, 0};
   events.pushRaw(&truncated);
   events.push(host::InputEvents::paramValue(16, 0.5));
   host::OutputEvents out;
   plugin->flush(events, out);
   EXPECT_EQ(plugin->paramValue(0), 0.125);
   EXPECT_EQ(plugin->paramValue(1), 0.375);
   EXPECT_EQ(plugin->paramValue(2), 0.0);
   EXPECT_EQ(plugin->paramValue(16), 0.5);
}
