// The state chunk, read by the engine directly and by the instance through the host's state stream
// (delivered in pieces of a size the input's first byte chooses).
#include "FuzzInstance.h"
#include "ScorchwireFX.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
   static FuzzInstance fuzz;
   static ScorchwireFX engine;
   if (size == 0)
      return 0;
   const uint64_t piece = 1 + data[0] % 64;
   const std::vector<uint8_t> bytes(data + 1, data + size);

   for (bool isPreset : {false, true}) {
      engine.setChunk(bytes.data(), static_cast<int>(bytes.size()), isPreset);
      void* chunk = nullptr;
      const int chunkSize = engine.getChunk(&chunk, isPreset);
      if (chunkSize > 0)
         engine.setChunk(chunk, chunkSize, isPreset);
      std::free(chunk);
   }

   if (fuzz.plugin->loadState(bytes, piece)) {
      std::vector<uint8_t> saved;
      if (!fuzz.plugin->saveState(saved) || !fuzz.plugin->loadState(saved))
         __builtin_trap(); // a loaded state must save and load again
   }
   return 0;
}
