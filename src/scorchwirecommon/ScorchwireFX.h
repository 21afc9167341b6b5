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
   void processDisto(float** buffers, int nbr_spl);
   void setDistoParam1(float value);
   void setDistoParam2(float value);
   void setQuadrafuzzParam(int index, float value);
   void resumeDisto();

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
   int presetIndex = 0;
};
