#pragma once
#include "Options.h"

#include "PluginInstance.h"

#include <memory>
#include <string>

namespace claphost {

// A loaded, created and initialised plug-in with a host and an audio thread: what render, bench
// and gui share.
struct Session {
   std::unique_ptr<host::PluginLibrary> library;
   std::unique_ptr<host::Host> host;
   std::unique_ptr<host::PluginInstance> instance;

   // Loads the plug-in and creates its first descriptor; false with a reason on failure.
   bool open(const std::string& path, std::string& error, host::HostOptions options = {});
   // Feeds a state file's bytes to the plug-in's state load.
   bool loadStateFile(const std::string& path, std::string& error);
   bool saveStateFile(const std::string& path, std::string& error);
   // The --set values as parameter events at time 0.
   static void addSets(const Options& options, host::InputEvents& events);
};

} // namespace claphost
