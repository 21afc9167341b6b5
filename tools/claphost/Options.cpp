#include "Options.h"

#include <clap/clap.h>

#include <cstdlib>
#include <cstring>

namespace claphost {

namespace {
bool parseDouble(const std::string& text, double& out) {
   char* end = nullptr;
   out = std::strtod(text.c_str(), &end);
   return !text.empty() && end && *end == '\0';
}
bool parseUnsigned(const std::string& text, uint32_t& out) {
   char* end = nullptr;
   const unsigned long v = std::strtoul(text.c_str(), &end, 10);
   if (text.empty() || !end || *end != '\0' || v > UINT32_MAX || text[0] == '-')
      return false;
   out = static_cast<uint32_t>(v);
   return true;
}
} // namespace

bool parseOptions(int argc, char** argv, Options& o, std::string& error) {
   if (argc < 3) {
      error = "usage: claphost info|render|bench|gui PLUGIN.clap [options]";
      return false;
   }
   o.command = argv[1];
   o.plugin = argv[2];
   for (int i = 3; i < argc; ++i) {
      const std::string arg = argv[i];
      auto value = [&](std::string& out) {
         if (i + 1 >= argc) {
            error = "missing value after " + arg;
            return false;
         }
         out = argv[++i];
         return true;
      };
      std::string v;
      if (arg.rfind("--", 0) != 0) {
         o.positional.push_back(arg);
      } else if (arg == "--rate") {
         double r = 0;
         if (!value(v) || !parseDouble(v, r) || !(r > 0)) {
            error = error.empty() ? "--rate takes a positive number" : error;
            return false;
         }
         o.rate = r;
      } else if (arg == "--block") {
         if (!value(v) || !parseUnsigned(v, o.block) || o.block == 0) {
            error = error.empty() ? "--block takes a positive whole number" : error;
            return false;
         }
      } else if (arg == "--seconds") {
         if (!value(v) || !parseDouble(v, o.seconds) || !(o.seconds > 0)) {
            error = error.empty() ? "--seconds takes a positive number" : error;
            return false;
         }
      } else if (arg == "--set") {
         const auto eq = value(v) ? v.find('=') : std::string::npos;
         uint32_t id = 0;
         double val = 0;
         if (eq == std::string::npos || !parseUnsigned(v.substr(0, eq), id) || !parseDouble(v.substr(eq + 1), val)) {
            error = error.empty() ? "--set takes ID=VALUE" : error;
            return false;
         }
         o.sets.emplace_back(id, val);
      } else if (arg == "--load-state") {
         if (!value(o.loadState))
            return false;
      } else if (arg == "--save-state") {
         if (!value(o.saveState))
            return false;
      } else if (arg == "--scale") {
         if (!value(v) || !parseDouble(v, o.scale) || !(o.scale > 0)) {
            error = error.empty() ? "--scale takes a positive number" : error;
            return false;
         }
      } else if (arg == "--size") {
         const auto x = value(v) ? v.find('x') : std::string::npos;
         if (x == std::string::npos || !parseUnsigned(v.substr(0, x), o.width) ||
             !parseUnsigned(v.substr(x + 1), o.height)) {
            error = error.empty() ? "--size takes WIDTHxHEIGHT" : error;
            return false;
         }
      } else if (arg == "--in") {
         if (!value(o.in))
            return false;
      } else if (arg == "--screenshot") {
         if (!value(o.screenshot))
            return false;
      } else if (arg == "--after") {
         uint32_t ms = 0;
         if (!value(v) || !parseUnsigned(v, ms)) {
            error = error.empty() ? "--after takes milliseconds" : error;
            return false;
         }
         o.afterMs = static_cast<int>(ms);
      } else if (arg == "--instances") {
         uint32_t n = 0;
         if (!value(v) || !parseUnsigned(v, n) || n == 0 || n > 16) {
            error = error.empty() ? "--instances takes 1 to 16" : error;
            return false;
         }
         o.instances = static_cast<int>(n);
      } else {
         error = "unknown option " + arg;
         return false;
      }
   }
   return true;
}

std::string firstPluginId(const clap_plugin_factory_t* factory) {
   if (!factory || factory->get_plugin_count(factory) == 0)
      return {};
   const auto* desc = factory->get_plugin_descriptor(factory, 0);
   return desc && desc->id ? desc->id : std::string();
}

} // namespace claphost
