#include "scorchwire-userfolder.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kVendorFolder = "/.tonequarry";
constexpr const char* kProductFolder = "/Scorchwire";

bool isOpenableFolder(const std::string& path) {
   DIR* dir = opendir(path.c_str());
   if (!dir)
      return false;
   closedir(dir);
   return true;
}

} // namespace

std::optional<std::string> homeFolder() {
   // An empty HOME counts as unset: it would put the folders at the file-system root.
   if (const char* home = std::getenv("HOME"); home && *home)
      return std::string(home);
   if (const passwd* user = getpwuid(getuid()); user && user->pw_dir && *user->pw_dir)
      return std::string(user->pw_dir);
   static bool told = false;
   if (!told) {
      told = true;
      std::fprintf(stderr,
                   "Scorchwire > No home folder: the editor runs without its settings file and presets\n");
   }
   return std::nullopt;
}

std::optional<std::string> getApplicationPath() {
   const std::optional<std::string> home = homeFolder();
   if (!home)
      return std::nullopt;
   const std::string vendor = *home + kVendorFolder;
   const std::string folder = vendor + kProductFolder;
   if (!isOpenableFolder(folder)) {
      // Both are tried: the first fails harmlessly when only the product folder is missing.
      if (mkdir(vendor.c_str(), 0775) != 0)
         std::printf("Scorchwire > Error Can't Create Tonequarry settings configuration folder \n");
      if (mkdir(folder.c_str(), 0775) != 0)
         std::printf("Scorchwire > Error Can't Create Gatewheel settings configuration file \n");
      std::fflush(stdout);
   }
   return folder;
}

std::optional<std::string> presetFolder() {
   const std::optional<std::string> home = homeFolder();
   if (!home)
      return std::nullopt;
   return *home + kVendorFolder + kProductFolder + "/Presets";
}
