#include "PluginLibrary.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <filesystem>

namespace host {

std::string PluginLibrary::resolveBundle(const std::string& path) {
   namespace fs = std::filesystem;
   std::error_code ec;
   if (!fs::is_directory(path, ec))
      return path;
   for (const auto& entry : fs::recursive_directory_iterator(path, ec))
      if (entry.path().extension() == ".clap" && entry.is_regular_file(ec))
         return entry.path().string();
   return path;
}

std::unique_ptr<PluginLibrary> PluginLibrary::load(const std::string& requested, std::string& error) {
   const std::string path = resolveBundle(requested);
   std::unique_ptr<PluginLibrary> lib(new PluginLibrary());
   lib->path_ = path;
   lib->handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
   if (!lib->handle_) {
      const char* why = ::dlerror();
      error = "cannot open " + path + ": " + (why ? why : "unknown error");
      return nullptr;
   }
   lib->entry_ = static_cast<const clap_plugin_entry_t*>(::dlsym(lib->handle_, "clap_entry"));
   if (!lib->entry_) {
      error = "no clap_entry in " + path;
      return nullptr;
   }
   if (!clap_version_is_compatible(lib->entry_->clap_version) || !lib->entry_->init ||
       !lib->entry_->init(path.c_str())) {
      lib->entry_ = nullptr; // init failed: deinit must not be called
      error = "entry init failed for " + path;
      return nullptr;
   }
   lib->factory_ =
       static_cast<const clap_plugin_factory_t*>(lib->entry_->get_factory(CLAP_PLUGIN_FACTORY_ID));
   if (!lib->factory_) {
      error = "no plug-in factory in " + path;
      return nullptr;
   }
   return lib;
}

PluginLibrary::~PluginLibrary() {
   if (entry_ && entry_->deinit)
      entry_->deinit();
   if (handle_)
      ::dlclose(handle_);
}

} // namespace host
