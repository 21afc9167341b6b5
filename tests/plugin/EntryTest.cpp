#include "PluginFixture.h"

#include <cstring>
#include <regex>

using namespace plugintest;

namespace {
const clap_plugin_factory_t* factory() {
   return library().factory();
}
} // namespace

TEST(Entry, AnnouncesClap120AndInitialisesForAnyPath) {
   const clap_plugin_entry_t* entry = library().entry();
   EXPECT_EQ(entry->clap_version.major, 1u);
   EXPECT_EQ(entry->clap_version.minor, 2u);
   EXPECT_EQ(entry->clap_version.revision, 0u);
   for (const char* path : {"", "/nowhere/at/all.clap"}) {
      EXPECT_TRUE(entry->init(path)) << "path '" << path << "'";
      entry->deinit();
   }
}

TEST(Entry, OffersOnlyThePluginFactoryByExactId) {
   const clap_plugin_entry_t* entry = library().entry();
   EXPECT_NE(entry->get_factory("clap.plugin-factory"), nullptr);
   for (const char* id : {"", "clap.plugin-factory.draft", "CLAP.PLUGIN-FACTORY", "clap.plugin-factor",
                          "clap.preset-discovery-factory"})
      EXPECT_EQ(entry->get_factory(id), nullptr) << "id '" << id << "'";
}

TEST(Factory, ListsOneDescriptor) {
   EXPECT_EQ(factory()->get_plugin_count(factory()), 1u);
   const clap_plugin_descriptor_t* desc = factory()->get_plugin_descriptor(factory(), 0);
   ASSERT_NE(desc, nullptr);
   EXPECT_EQ(factory()->get_plugin_descriptor(factory(), 1), nullptr);

   EXPECT_EQ(desc->clap_version.major, 1u);
   EXPECT_EQ(desc->clap_version.minor, 2u);
   EXPECT_EQ(desc->clap_version.revision, 0u);
   EXPECT_STREQ(desc->id, "com.tonequarry.scorchwire");
   EXPECT_STREQ(desc->name, "Scorchwire");
   EXPECT_STREQ(desc->vendor, "Tonequarry");
   ASSERT_NE(desc->url, nullptr);
   EXPECT_STREQ(desc->manual_url, "");
   EXPECT_STREQ(desc->support_url, "");
   EXPECT_STREQ(desc->version, "1.0.0");
   EXPECT_STREQ(desc->description, "Heavy grit for every track !");
   ASSERT_NE(desc->features, nullptr);
   std::vector<std::string> features;
   for (const char* const* f = desc->features; *f; ++f)
      features.emplace_back(*f);
   EXPECT_EQ(features, (std::vector<std::string>{"audio-effect", "glitch"}));
}

TEST(Factory, CreatesIndependentInstancesPointingAtTheDescriptor) {
   host::Host host;
   const clap_plugin_descriptor_t* desc = factory()->get_plugin_descriptor(factory(), 0);
   std::string printed;
   const clap_plugin_t* a = nullptr;
   const clap_plugin_t* b = nullptr;
   printed = captureStdout([&] {
      a = factory()->create_plugin(factory(), host.clapHost(), kPluginId);
      b = factory()->create_plugin(factory(), host.clapHost(), kPluginId);
   });
   ASSERT_NE(a, nullptr);
   ASSERT_NE(b, nullptr);
   EXPECT_NE(a, b);
   EXPECT_EQ(a->desc, desc);
   EXPECT_EQ(b->desc, desc);
   EXPECT_NE(a->plugin_data, nullptr);
   EXPECT_NE(a->plugin_data, b->plugin_data);
   // Each construction logs itself: prefix, source position, function, message.
   const std::regex line(
       R"((^|\n)\[dudo-rez-evir\] src/scorchwire\.cpp:[0-9]+ \(Scorchwire\) : Constructing Scorchwire\n)");
   EXPECT_TRUE(std::regex_search(printed, line)) << printed;
   // Uninitialised instances may be destroyed straight away.
   a->destroy(a);
   b->destroy(b);
}

TEST(Factory, RefusesAnyOtherIdWithOneWarningLine) {
   host::Host host;
   for (const char* id : {"com.tonequarry.Scorchwire", "", "com.tonequarry.scorchwire2", "com.tonequarry"}) {
      const clap_plugin_t* plugin = nullptr;
      const std::string printed =
          captureStdout([&] { plugin = factory()->create_plugin(factory(), host.clapHost(), id); });
      EXPECT_EQ(plugin, nullptr) << id;
      EXPECT_EQ(printed, std::string("Warning: CLAP asked for plugin_id '") + id +
                             "' and Scorchwire ID is 'com.tonequarry.scorchwire'\n");
   }
}

class Extensions : public PluginTest {};

TEST_F(Extensions, AreExactlyTheOnesThisInstanceImplements) {
   const struct {
      const char* id;
      bool offered;
   } cases[] = {
       {CLAP_EXT_AUDIO_PORTS, true},
       {CLAP_EXT_NOTE_PORTS, true},
       {CLAP_EXT_PARAMS, true},
       {CLAP_EXT_STATE, true},
       {CLAP_EXT_VOICE_INFO, true},
       {CLAP_EXT_GUI, true},
       {CLAP_EXT_TIMER_SUPPORT, true},
       {CLAP_EXT_POSIX_FD_SUPPORT, true},
       {CLAP_EXT_LATENCY, false},
       {CLAP_EXT_LOG, false},
       {"clap.tail", false},
       {"clap.render", false},
       {"clap.params.draft", false},
       {"CLAP.PARAMS", false},
       {"", false},
   };
   for (const auto& c : cases)
      EXPECT_EQ(plugin->plugin()->get_extension(plugin->plugin(), c.id) != nullptr, c.offered) << c.id;
}
