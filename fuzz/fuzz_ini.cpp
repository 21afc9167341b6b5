// The INI reader, and the writer merging a structure into the file it was read from.
#include "FuzzInstance.h"

#include <mini/ini.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
   const std::string path = writeScratchFile(data, size, ".ini");
   mINI::INIStructure ini;
   mINI::INIFile file(path);
   if (file.read(ini)) {
      file.write(ini);
      mINI::INIStructure again;
      file.read(again);
   }
   unlink(path.c_str());
   return 0;
}
