#include "Session.h"

#include <fstream>
#include <iterator>

namespace claphost {

bool Session::open(const std::string& path, std::string& error, host::HostOptions options) {
   library = host::PluginLibrary::load(path, error);
   if (!library)
      return false;
   const std::string id = firstPluginId(library->factory());
   if (id.empty()) {
      error = "the factory offers no plug-in";
      return false;
   }
   host = std::make_unique<host::Host>(options);
   instance = std::make_unique<host::PluginInstance>(*library, *host, id);
   if (!instance->ok()) {
      error = instance->error();
      return false;
   }
   return true;
}

bool Session::loadStateFile(const std::string& path, std::string& error) {
   std::ifstream file(path, std::ios::binary);
   if (!file) {
      error = "cannot read state file " + path;
      return false;
   }
   const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
   if (!instance->loadState(bytes)) {
      error = "the plug-in refused the state in " + path;
      return false;
   }
   return true;
}

bool Session::saveStateFile(const std::string& path, std::string& error) {
   std::vector<uint8_t> bytes;
   if (!instance->saveState(bytes)) {
      error = "the plug-in could not save its state";
      return false;
   }
   std::ofstream file(path, std::ios::binary);
   file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
   if (!file) {
      error = "cannot write state file " + path;
      return false;
   }
   return true;
}

void Session::addSets(const Options& options, host::InputEvents& events) {
   for (const auto& [id, value] : options.sets)
      events.push(host::InputEvents::paramValue(id, value));
}

} // namespace claphost
