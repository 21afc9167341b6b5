// A VST 2 program or bank file read by the editor's preset files and handed to the instance.
#include "FuzzInstance.h"
#include "scorchwire-wrapper.h"
#include "scorchwireeditor-presets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
   static FuzzInstance fuzz;
   static PluginWrapper wrapper(fuzz.instance);
   PresetFiles files(&wrapper);
   const std::string path = writeScratchFile(data, size, ".fxp");
   files.loadVST2Preset(path, "fuzz");
   unlink(path.c_str());
   return 0;
}
