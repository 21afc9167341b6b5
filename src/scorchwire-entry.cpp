#include "scorchwire.h"

#include <cstring>
#include <iostream>

namespace {
const char* const features[] = {CLAP_PLUGIN_FEATURE_AUDIO_EFFECT, CLAP_PLUGIN_FEATURE_GLITCH, nullptr};
}

const clap_plugin_descriptor_t Scorchwire::desc = {
    CLAP_VERSION_INIT,
    "com.tonequarry.scorchwire",
    "Scorchwire",
    "Tonequarry",
    "https://www.tonequarry.com",
    "",
    "",
    "1.0.0",
    "Heavy grit for every track !",
    features,
};

namespace zoz::dudo_rez_evir::pluginentry {

// The plug-in path is not needed: the editor finds its bundle from the loaded object itself.
bool clap_init(const char*) {
   return true;
}

void clap_deinit() {}

uint32_t clap_get_plugin_count(const clap_plugin_factory_t*) {
   return 1;
}

const clap_plugin_descriptor_t* clap_get_plugin_descriptor(const clap_plugin_factory_t*, uint32_t index) {
   return index == 0 ? &Scorchwire::desc : nullptr;
}

const clap_plugin_t* clap_create_plugin(const clap_plugin_factory_t*, const clap_host_t* host,
                                        const char* pluginId) {
   if (!pluginId || std::strcmp(pluginId, Scorchwire::desc.id) != 0) {
      std::cout << "Warning: CLAP asked for plugin_id '" << (pluginId ? pluginId : "")
                << "' and Scorchwire ID is '" << Scorchwire::desc.id << "'" << std::endl;
      return nullptr;
   }
   if (!host)
      return nullptr;
   try {
      return (new Scorchwire(host))->clapPlugin();
   } catch (...) {
      return nullptr;
   }
}

const clap_plugin_factory_t factory = {
    clap_get_plugin_count,
    clap_get_plugin_descriptor,
    clap_create_plugin,
};

const void* clap_get_factory(const char* factoryId) {
   if (factoryId && std::strcmp(factoryId, CLAP_PLUGIN_FACTORY_ID) == 0)
      return &factory;
   return nullptr;
}

} // namespace zoz::dudo_rez_evir::pluginentry

extern "C" CLAP_EXPORT const clap_plugin_entry_t clap_entry = {
    CLAP_VERSION_INIT,
    zoz::dudo_rez_evir::pluginentry::clap_init,
    zoz::dudo_rez_evir::pluginentry::clap_deinit,
    zoz::dudo_rez_evir::pluginentry::clap_get_factory,
};
