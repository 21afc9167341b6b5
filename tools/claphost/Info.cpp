#include "Options.h"

#include "PluginInstance.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <sstream>

namespace claphost {

namespace {
std::string quoted(const char* text) {
   std::string out = "\"";
   for (const char* p = text ? text : ""; *p; ++p) {
      const auto c = static_cast<unsigned char>(*p);
      switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default:
         if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof(buf), "\\u%04x", c);
            out += buf;
         } else {
            out += static_cast<char>(c);
         }
      }
   }
   return out + "\"";
}

std::string number(double v) {
   if (!std::isfinite(v))
      return "null";
   char buf[32];
   std::snprintf(buf, sizeof(buf), "%.17g", v);
   return buf;
}

const char* const kKnownExtensions[] = {
    CLAP_EXT_AUDIO_PORTS, CLAP_EXT_NOTE_PORTS,      CLAP_EXT_PARAMS,    CLAP_EXT_STATE,
    CLAP_EXT_GUI,         CLAP_EXT_TIMER_SUPPORT,   CLAP_EXT_POSIX_FD_SUPPORT,
    CLAP_EXT_VOICE_INFO,  CLAP_EXT_LATENCY,
};

void writeAudioPorts(std::ostringstream& o, const host::PluginInstance& inst, bool isInput) {
   o << "[";
   if (auto* ports = inst.extension<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS)) {
      const uint32_t n = ports->count(inst.plugin(), isInput);
      for (uint32_t i = 0; i < n; ++i) {
         clap_audio_port_info_t info{};
         if (!ports->get(inst.plugin(), i, isInput, &info))
            continue;
         o << (i ? "," : "") << "{\"id\":" << info.id << ",\"name\":" << quoted(info.name)
           << ",\"flags\":" << info.flags << ",\"channels\":" << info.channel_count
           << ",\"type\":" << quoted(info.port_type) << ",\"in_place_pair\":" << info.in_place_pair << "}";
      }
   }
   o << "]";
}

void writeNotePorts(std::ostringstream& o, const host::PluginInstance& inst, bool isInput) {
   o << "[";
   if (auto* ports = inst.extension<clap_plugin_note_ports_t>(CLAP_EXT_NOTE_PORTS)) {
      const uint32_t n = ports->count(inst.plugin(), isInput);
      for (uint32_t i = 0; i < n; ++i) {
         clap_note_port_info_t info{};
         if (!ports->get(inst.plugin(), i, isInput, &info))
            continue;
         o << (i ? "," : "") << "{\"id\":" << info.id << ",\"name\":" << quoted(info.name)
           << ",\"supported_dialects\":" << info.supported_dialects
           << ",\"preferred_dialect\":" << info.preferred_dialect << "}";
      }
   }
   o << "]";
}

void writeParams(std::ostringstream& o, const host::PluginInstance& inst) {
   o << "[";
   if (auto* params = inst.params()) {
      const uint32_t n = params->count(inst.plugin());
      for (uint32_t i = 0; i < n; ++i) {
         clap_param_info_t info{};
         if (!params->get_info(inst.plugin(), i, &info))
            continue;
         const double value = inst.paramValue(info.id);
         o << (i ? ",\n    " : "\n    ") << "{\"id\":" << info.id << ",\"name\":" << quoted(info.name)
           << ",\"module\":" << quoted(info.module) << ",\"flags\":" << info.flags
           << ",\"min\":" << number(info.min_value) << ",\"max\":" << number(info.max_value)
           << ",\"default\":" << number(info.default_value) << ",\"value\":" << number(value)
           << ",\"text\":" << quoted(inst.paramText(info.id, value).c_str()) << "}";
      }
   }
   o << "]";
}
} // namespace

int runInfo(const Options& opt) {
   // The plug-in's own diagnostics go to standard error so that standard output is pure JSON.
   std::fflush(stdout);
   const int jsonFd = ::dup(STDOUT_FILENO);
   ::dup2(STDERR_FILENO, STDOUT_FILENO);
   FILE* json = ::fdopen(jsonFd, "w");
   std::string error;
   auto lib = host::PluginLibrary::load(opt.plugin, error);
   if (!lib) {
      std::fprintf(stderr, "claphost: %s\n", error.c_str());
      return 1;
   }
   const std::string id = firstPluginId(lib->factory());
   const auto* desc = lib->factory()->get_plugin_descriptor(lib->factory(), 0);
   host::Host host;
   host::PluginInstance inst(*lib, host, id);
   if (!desc || !inst.ok()) {
      std::fprintf(stderr, "claphost: %s\n", desc ? inst.error().c_str() : "the factory has no plug-in");
      return 1;
   }
   for (const auto& [pid, value] : opt.sets) {
      host::InputEvents in;
      host::OutputEvents out;
      in.push(host::InputEvents::paramValue(pid, value));
      inst.flush(in, out);
   }

   std::ostringstream o;
   o << "{\n  \"descriptor\": {\"clap_version\":\"" << desc->clap_version.major << "." << desc->clap_version.minor
     << "." << desc->clap_version.revision << "\",\"id\":" << quoted(desc->id) << ",\"name\":" << quoted(desc->name)
     << ",\"vendor\":" << quoted(desc->vendor) << ",\"url\":" << quoted(desc->url)
     << ",\"manual_url\":" << quoted(desc->manual_url) << ",\"support_url\":" << quoted(desc->support_url)
     << ",\"version\":" << quoted(desc->version) << ",\"description\":" << quoted(desc->description)
     << ",\"features\":[";
   for (int i = 0; desc->features && desc->features[i]; ++i)
      o << (i ? "," : "") << quoted(desc->features[i]);
   o << "]},\n  \"extensions\": [";
   bool first = true;
   for (const char* ext : kKnownExtensions)
      if (inst.plugin()->get_extension(inst.plugin(), ext)) {
         o << (first ? "" : ",") << quoted(ext);
         first = false;
      }
   o << "],\n  \"audio_ports\": {\"inputs\":";
   writeAudioPorts(o, inst, true);
   o << ",\"outputs\":";
   writeAudioPorts(o, inst, false);
   o << "},\n  \"note_ports\": {\"inputs\":";
   writeNotePorts(o, inst, true);
   o << ",\"outputs\":";
   writeNotePorts(o, inst, false);
   o << "},\n  \"parameters\": ";
   writeParams(o, inst);
   o << "\n}\n";
   std::fputs(o.str().c_str(), json);
   std::fclose(json);
   return 0;
}

} // namespace claphost
