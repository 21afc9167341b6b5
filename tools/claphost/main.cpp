// claphost: a command-line CLAP host for tests, benchmarks, users and support.
#include "Options.h"

#include <cstdio>

int main(int argc, char** argv) {
   claphost::Options options;
   std::string error;
   if (!claphost::parseOptions(argc, argv, options, error)) {
      std::fprintf(stderr, "claphost: %s\n", error.c_str());
      return 2;
   }
   if (options.command == "info")
      return claphost::runInfo(options);
   if (options.command == "render")
      return claphost::runRender(options);
   if (options.command == "bench")
      return claphost::runBench(options);
   if (options.command == "gui")
      return claphost::runGui(options);
   std::fprintf(stderr, "claphost: unknown command '%s' (info, render, bench, gui)\n", options.command.c_str());
   return 2;
}
