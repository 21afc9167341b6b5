#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "CHighLifeFilter.h"
#include "CParamSmooth.h"
#include "Compressor.h"
#include "Crossfader2.h"
#include "EnvelopeFollower.h"
#include "LadderFilter.h"
#include "NoiseGenerator.h"

// distortion stage
#include "BitReduzer.h"
#include "Clipper12.h"
#include "Cruncher.h"
#include "Fuzz.h"
#include "Overdrive.h"
#include "Quadrafuzz.h"
#include "RageClipState.h"
#include "SinRemapper.h"
#include "Valve.h"
#include "duzudoru/Downsampler4x.h"
#include "duzudoru/Upsampler4x.h"

// The effect engine: parameter values, every processing stage and the meter/scope feeds.
// Parameter values and pending-crossfade flags are written from the audio and the main thread;
// they are relaxed atomics (whole 32-bit stores, no ordering needed between them).
class ScorchwireFX {
public:
   static constexpr int kNumParams = 17;

   ScorchwireFX();
   ~ScorchwireFX();
   ScorchwireFX(const ScorchwireFX&) = delete;
   ScorchwireFX& operator=(const ScorchwireFX&) = delete;

   void resume(double sampleRate, int blockSize);
   void process(float** in, float** out, int n);

   void setParameter(int index, double value);
   double getParameter(int index) const;

   void startProcessMIDI() {}
   void noteOn(int key, int velocity, int offset);
   void noteOff(int key, int velocity, int offset);
   void endProcessMIDI() {}

   // State chunk (see ScorchwireFXChunk.cpp). getChunk hands out a block the caller releases with
   // std::free and returns its size; setChunk returns 1 once applied, 0 for a block under 8 bytes.
   int getChunk(void** data, bool isPreset);
   int setChunk(const void* data, int size, bool isPreset);

   // channel counts
   int numOutputs = 2;
   int numInputs = 2;

   double sampleRate = 44100.0;
   int blockSize = 256;

   // transport snapshot, filled by the instance before every block; no stage reads it
   bool hostPlaying = false;
   bool hostLoopActive = false;
   bool hostPpqValid = true;
   bool hostBarValid = false;
   double hostTempo = 120.0;
   double hostTimeSigNumerator = 4.0;
   double hostTimeSigDenominator = 4.0;
   int64_t hostSamplePos = 0;
   double hostBarStartPos = 0.0;
   double hostPpqPos = 0.0;
   double hostSampleRate = 44100.0;
   double hostLoopStartPos = 0.0;
   double hostLoopEndPos = 0.0;

   // last post-filter output; the switch crossfades start from it
   double lastPostFilterLeft = 0.0;
   double lastPostFilterRight = 0.0;

   std::atomic<float> params[kNumParams];

   // ---- pre- and post-filter stages (ScorchwireFXFilters.cpp) ----
   void processPreFilter(float** in, float** out, int n);
   void processPostFilter(float** buffers, int n);
   void resumeFilters();

   // one noise sequence for all four CHighLifeFilter objects, drawn in call order
   NoiseGenerator filterNoise;
   CHighLifeFilter preFilterLeft{filterNoise};
   CHighLifeFilter preFilterRight{filterNoise};
   CParamSmooth cutoffSmoother{4.0f, 44100.0f};
   CParamSmooth resonanceSmoother{4.0f, 44100.0f};
   EnvelopeFollower envelopeFollower; // fed from the left input only
   daisysp::LadderFilter ladderLeft;
   daisysp::LadderFilter ladderRight;
   CHighLifeFilter postFilterLeft{filterNoise};
   CHighLifeFilter postFilterRight{filterNoise};
   CParamSmooth postFilterSmoother{4.0f, 44100.0f};

   // ---- distortion stage (ScorchwireFXDisto.cpp) ----
   // Types by index: Overdrive, Clip Inferno, Hot Valve, Ultracrunch, Bit Reducer, TurboFuzz,
   // RageClip, Brutal Bill, Quadrafuzz. Two processors of each, one per channel.
   static constexpr int kDistoChunk = 64;
   void processDisto(float** buffers, int nbr_spl);
   void processInternalDisto(float** buffers, int nbr_spl);
   void processClipInfernoPair(float** buffers, int nbr_spl);
   void processRageClip(RageClipState& st, float* buf, int n);
   void processBrutalBill(SinRemapper& st, float* buf, int n);
   void setDistoParam1(float value);
   void setDistoParam2(float value);
   void setQuadrafuzzParam(int index, float value);
   void resumeDisto();

   Overdrive overdrive[2];
   Clipper12 clipper12[2];
   Valve valve[2];
   Cruncher cruncher[2];
   BitReduzer bitReduzer[2];
   Fuzz fuzz[2];
   RageClipState rageClip[2];
   SinRemapper sinRemapper[2];
   Quadrafuzz quadrafuzz[2];

   // The 4x oversampler pair shared by every oversampled type and both channels, with the work
   // buffer for one 64-sample chunk; configured for two channels at construction. Clip Inferno
   // runs both channels at once and uses the second buffer for the right channel.
   struct DistoOversampling {
      DistoOversampling() {
         upsampler.set_nbr_chn(2);
         downsampler.set_nbr_chn(2);
      }
      ohm::studio::genlib::Upsampler4x upsampler;
      ohm::studio::genlib::Downsampler4x downsampler;
      alignas(16) float work[4 * kDistoChunk] = {};
      alignas(16) float workRight[4 * kDistoChunk] = {};
   };
   DistoOversampling distoOversampling;

   // ---- compressor and switch crossfades (ScorchwireFXMix.cpp) ----
   Crossfader2 distoFade;
   Crossfader2 preFilterFade;
   Crossfader2 compressorFade;
   std::atomic<bool> distoFadePending{false};
   std::atomic<bool> preFilterFadePending{false};
   std::atomic<bool> compressorFadePending{false};
   Compressor compressor;
   void startPendingCrossfades();
   void processCompressor(float** buffers, int n);
   void processCrossfade(float** buffers, int n);
   void resumeCrossfades();
   void resumeCompressor();

   // ---- recovery from non-finite signal (ScorchwireFXRecovery.cpp) ----
   // Each runs after its stage and clears that stage's memory when the block left it non-finite.
   // recoverPreFilter tells whether its output block was non-finite: some distortion types turn
   // such input into finite output while their memory keeps it, so recoverDisto is told.
   bool recoverPreFilter(float** buffers, int n);
   void recoverDisto(float** buffers, int n, bool poisonedInput);
   void recoverCompressor();
   void recoverPostFilter(float** buffers, int n);

   // ---- meter and scope feeds (ScorchwireFXFeeds.cpp) ----
   // Single writer each: the audio thread writes the peaks, the ring and scopeWrite; the main
   // thread writes scopeRead. Stores are release, loads of the other side's values acquire, so
   // a ring byte is complete before its index is seen and copied before its slot is reused.
   static constexpr int kScopeRingSize = 16384;
   void feedScope(float** buffers, int n);
   void feedMeter(float** buffers, int n);
   // Main thread: copies the scope samples written since the last call into dest (room for
   // kScopeRingSize - 1 bytes) and returns their count, 0 when nothing new arrived.
   int readScope(char* dest);
   // Main thread: the peaks of the last processed block, left then right.
   void readPeaks(float* peaks) const;

   std::atomic<float> peakLeft{0.0f};
   std::atomic<float> peakRight{0.0f};
   char scopeRing[kScopeRingSize] = {};
   std::atomic<int> scopeWrite{0};
   std::atomic<int> scopeRead{0};

   // kept for the editor's preset bar; no stage reads them
   std::string presetName = "Default";
   int presetIndex = -1; // no preset chosen yet
};
