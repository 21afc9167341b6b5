#pragma once
#include "Host.h"
#include "PluginInstance.h"
#include "scorchwire.h"

#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

// One initialised instance for the whole run, linked in-process and driven through host/.
struct FuzzInstance {
   FuzzInstance() : instance(new Scorchwire(host.clapHost())) {
      plugin = std::make_unique<host::PluginInstance>(host, instance->clapPlugin());
      if (!plugin->ok())
         __builtin_trap();
   }
   host::Host host;
   Scorchwire* instance; // owned by plugin
   std::unique_ptr<host::PluginInstance> plugin;
};

// A file of this process's own under the temporary folder, rewritten for every input.
inline std::string writeScratchFile(const uint8_t* data, size_t size, const char* ending) {
   const char* tmp = getenv("TMPDIR");
   const std::string path =
       std::string(tmp && *tmp ? tmp : "/tmp") + "/scorchwire-fuzz-" + std::to_string(getpid()) + ending;
   std::ofstream(path, std::ios::binary | std::ios::trunc)
       .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
   return path;
}
