#include "ScorchwireFX.h"

// Placeholder until the state chunk exists.
int ScorchwireFX::getChunk(void** data, bool) {
   *data = nullptr;
   return 0;
}
int ScorchwireFX::setChunk(const void*, int, bool) { return 1; }
