// A VST3 preset file read by the instance.
#include "FuzzInstance.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
   static FuzzInstance fuzz;
   const std::string path = writeScratchFile(data, size, ".vstpreset");
   fuzz.instance->loadVst3Preset(path);
   unlink(path.c_str());
   return 0;
}
