#pragma once
#include <clap/clap.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace claphost {

// Command-line options shared by the subcommands; each subcommand reads what it needs.
struct Options {
   std::string command;
   std::string plugin;
   std::vector<std::string> positional; // after the plug-in path
   std::optional<double> rate;
   uint32_t block = 256;
   double seconds = 10.0;
   std::vector<std::pair<uint32_t, double>> sets;
   std::string loadState, saveState;
   // gui
   double scale = 1.0;
   uint32_t width = 0, height = 0;
   std::string in, screenshot;
   int afterMs = 0;
   int instances = 1;
};

// Parses argv; on failure returns false with a one-line reason in error.
bool parseOptions(int argc, char** argv, Options& options, std::string& error);

// The plug-in id to instantiate: the first descriptor of the factory.
std::string firstPluginId(const clap_plugin_factory_t* factory);

int runInfo(const Options& options);
int runRender(const Options& options);
int runBench(const Options& options);
int runGui(const Options& options);

} // namespace claphost
