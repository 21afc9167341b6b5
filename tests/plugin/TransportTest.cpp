#include "scorchwire-transport.h"

#include <gtest/gtest.h>

// The engine's time information, filled from the block's transport (nothing in the sound reads it).
namespace {

constexpr int64_t fixed(double v) {
   return static_cast<int64_t>(v * 2147483648.0);
}

struct TimeInfo {
   bool playing, loopActive, ppqValid, barValid;
   double tempo, tsigNum, tsigDenom;
   int64_t samplePos;
   double barStart, ppqPos, sampleRate, loopStart, loopEnd;
   bool operator==(const TimeInfo&) const = default;
};
std::ostream& operator<<(std::ostream& os, const TimeInfo& t) {
   return os << "playing=" << t.playing << " loop=" << t.loopActive << " ppqValid=" << t.ppqValid
             << " barValid=" << t.barValid << " tempo=" << t.tempo << " tsig=" << t.tsigNum << "/"
             << t.tsigDenom << " samplePos=" << t.samplePos << " barStart=" << t.barStart
             << " ppq=" << t.ppqPos << " rate=" << t.sampleRate << " loop=" << t.loopStart << ".."
             << t.loopEnd;
}

TimeInfo timeInfoOf(const ScorchwireFX& e) {
   return {e.hostPlaying,          e.hostLoopActive,         e.hostPpqValid,  e.hostBarValid,    e.hostTempo,
           e.hostTimeSigNumerator, e.hostTimeSigDenominator, e.hostSamplePos, e.hostBarStartPos, e.hostPpqPos,
           e.hostSampleRate,       e.hostLoopStartPos,       e.hostLoopEndPos};
}

clap_event_transport_t transport(uint32_t flags) {
   clap_event_transport_t t{};
   t.header = {sizeof(t), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_TRANSPORT, 0};
   t.flags = flags;
   t.song_pos_beats = fixed(10.5);
   t.song_pos_seconds = fixed(2.5);
   t.tempo = 140.0;
   t.tempo_inc = 0.25;
   t.loop_start_beats = fixed(4.0);
   t.loop_end_beats = fixed(12.0);
   t.loop_start_seconds = fixed(1.0);
   t.loop_end_seconds = fixed(3.0);
   t.bar_start = fixed(8.0);
   t.bar_number = 3;
   t.tsig_num = 7;
   t.tsig_denom = 8;
   return t;
}

} // namespace

TEST(TransportMapping, FollowsTheFlagsAndConvertsFixedPoint) {
   const uint32_t all = CLAP_TRANSPORT_HAS_TEMPO | CLAP_TRANSPORT_HAS_BEATS_TIMELINE |
                        CLAP_TRANSPORT_IS_PLAYING | CLAP_TRANSPORT_IS_LOOP_ACTIVE;
   const struct {
      const char* name;
      uint32_t flags;
      TimeInfo expected;
   } cases[] = {
       // Positions are taken whatever the flags say; 2.5 s at 48 kHz is sample 120000.
       {"all flags", all, {true, true, true, true, 140.0, 7, 8, 120000, 8.0, 10.5, 48000.0, 4.0, 12.0}},
       {"no flags", 0, {false, false, true, false, 120.0, 7, 8, 120000, 0.0, 10.5, 48000.0, 4.0, 12.0}},
       {"tempo only",
        CLAP_TRANSPORT_HAS_TEMPO,
        {false, false, true, false, 140.0, 7, 8, 120000, 0.0, 10.5, 48000.0, 4.0, 12.0}},
       {"beats timeline only",
        CLAP_TRANSPORT_HAS_BEATS_TIMELINE,
        {false, false, true, true, 120.0, 7, 8, 120000, 8.0, 10.5, 48000.0, 4.0, 12.0}},
   };
   for (const auto& c : cases) {
      ScorchwireFX engine;
      const clap_event_transport_t t = transport(c.flags);
      copyTransportToEngine(&t, 48000.0, engine);
      EXPECT_EQ(timeInfoOf(engine), c.expected) << c.name;
   }
}

TEST(TransportMapping, NoTransportReadsAsAStoppedTransportAtZero) {
   ScorchwireFX engine;
   const clap_event_transport_t t = transport(0xFF);
   copyTransportToEngine(&t, 44100.0, engine);
   copyTransportToEngine(nullptr, 96000.0, engine);
   EXPECT_EQ(timeInfoOf(engine),
             (TimeInfo{false, false, true, false, 120.0, 4, 4, 0, 0.0, 0.0, 96000.0, 0.0, 0.0}));
}

// Sample positions truncate toward zero; one beyond 64 bits (a hostile host) becomes 0.
TEST(TransportMapping, SamplePositionTruncatesTowardZero) {
   const struct {
      int64_t seconds;
      double rate;
      int64_t samples;
   } cases[] = {{fixed(-0.5), 48000.0, -24000},
                {fixed(2.5 / 48000.0), 48000.0, 2},
                {fixed(-2.5 / 48000.0), 48000.0, -2},
                {INT64_MAX, 48000.0, 206158430208000},
                {INT64_MAX, 1e12, 0},
                {INT64_MIN, 1e12, 0}};
   for (const auto& c : cases) {
      ScorchwireFX engine;
      clap_event_transport_t t = transport(0);
      t.song_pos_seconds = c.seconds;
      copyTransportToEngine(&t, c.rate, engine);
      EXPECT_EQ(engine.hostSamplePos, c.samples) << c.seconds;
   }
}
