#include "scorchwire-transport.h"

#include <cmath>
#include <cstdint>

namespace {

// CLAP beat and second positions are fixed point with 31 fractional bits.
constexpr double kFixedPointToDouble = 4.656612873077393e-10;

double fromFixedPoint(int64_t value) {
   return static_cast<double>(value) * kFixedPointToDouble;
}

// Truncation toward zero; a position beyond the 64-bit range (only a hostile host sends one)
// gives 0 instead of undefined behaviour.
int64_t toSamplePosition(double samples) {
   if (!(samples > -9.2e18 && samples < 9.2e18))
      return 0;
   return static_cast<int64_t>(samples);
}

} // namespace

void copyTransportToEngine(const clap_event_transport_t* transport, double sampleRate,
                           ScorchwireFX& engine) noexcept {
   clap_event_transport_t stopped{};
   stopped.tsig_num = 4;
   stopped.tsig_denom = 4;
   const clap_event_transport_t& t = transport ? *transport : stopped;
   const bool hasBeats = (t.flags & CLAP_TRANSPORT_HAS_BEATS_TIMELINE) != 0;

   engine.hostPlaying = (t.flags & CLAP_TRANSPORT_IS_PLAYING) != 0;
   engine.hostLoopActive = (t.flags & CLAP_TRANSPORT_IS_LOOP_ACTIVE) != 0;
   engine.hostPpqValid = true;
   engine.hostBarValid = hasBeats;
   engine.hostTempo = (t.flags & CLAP_TRANSPORT_HAS_TEMPO) ? t.tempo : 120.0;
   engine.hostTimeSigNumerator = static_cast<double>(t.tsig_num);
   engine.hostTimeSigDenominator = static_cast<double>(t.tsig_denom);
   engine.hostSamplePos = toSamplePosition(fromFixedPoint(t.song_pos_seconds) * sampleRate);
   engine.hostBarStartPos = hasBeats ? fromFixedPoint(t.bar_start) : 0.0;
   engine.hostPpqPos = fromFixedPoint(t.song_pos_beats);
   engine.hostSampleRate = sampleRate;
   engine.hostLoopStartPos = fromFixedPoint(t.loop_start_beats);
   engine.hostLoopEndPos = fromFixedPoint(t.loop_end_beats);
}
