#pragma once
#include <clap/clap.h>

#include <memory>
#include <string>

namespace host {

// A .clap shared object opened the way hosts open it: dlopen(RTLD_NOW | RTLD_LOCAL), clap_entry,
// entry init with the path, the plug-in factory. Entry deinit and dlclose on destruction.
class PluginLibrary {
public:
   // Returns null and fills error ("cannot open …", "no clap_entry", "entry init failed", "no factory").
   static std::unique_ptr<PluginLibrary> load(const std::string& path, std::string& error);
   ~PluginLibrary();
   PluginLibrary(const PluginLibrary&) = delete;
   PluginLibrary& operator=(const PluginLibrary&) = delete;

   const clap_plugin_entry_t* entry() const { return entry_; }
   const clap_plugin_factory_t* factory() const { return factory_; }
   const std::string& path() const { return path_; }
   // The bundle's inner .clap for a bundle folder, or the path itself.
   static std::string resolveBundle(const std::string& path);

private:
   PluginLibrary() = default;
   void* handle_ = nullptr;
   const clap_plugin_entry_t* entry_ = nullptr;
   const clap_plugin_factory_t* factory_ = nullptr;
   std::string path_;
};

} // namespace host
