#pragma once
#include "ScorchwireFX.h"

#include <clap/clap.h>

// Copies the block's transport into the engine's time information (no stage reads it). A block
// without transport is filled as a transport with no flags: stopped, 120 BPM in 4/4, every position 0.
void copyTransportToEngine(const clap_event_transport_t* transport, double sampleRate,
                           ScorchwireFX& engine) noexcept;
