#include "ScorchwireFX.h"

// Placeholder until the meter and scope feeds exist.
void ScorchwireFX::feedScope(float**, int) {}
void ScorchwireFX::feedMeter(float**, int) {}
