#pragma once
#include "LookupTable.h"

// Tube transfer tables: plate voltage against grid voltage, 2001 entries each. Each tube has two
// tables side by side; TurboFuzz reads only the first 7199P table (tranytab[2]).
using TubeTable = LookupTable<2001>;
static_assert(sizeof(TubeTable) == 2005 * sizeof(float), "a tube table is 2005 floats");

extern const TubeTable tranytable_KT88[2];
extern const TubeTable tranytable_7199P[2];
extern const TubeTable* const tranytab[4];
