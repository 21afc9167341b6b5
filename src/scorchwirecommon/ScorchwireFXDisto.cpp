#include "ScorchwireFX.h"

// Placeholder until the distortion stage exists.
void ScorchwireFX::processDisto(float**, int) {}
void ScorchwireFX::setDistoParam1(float) {}
void ScorchwireFX::setDistoParam2(float) {}
void ScorchwireFX::setQuadrafuzzParam(int, float) {}
void ScorchwireFX::resumeDisto() {}
