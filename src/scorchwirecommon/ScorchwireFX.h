#pragma once
#include <atomic>
#include <cstdint>
#include <string>

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

   // ---- distortion stage (ScorchwireFXDisto.cpp) ----
   void processDisto(float** buffers, int nbr_spl);
   void setDistoParam1(float value);
   void setDistoParam2(float value);
   void setQuadrafuzzParam(int index, float value);
   void resumeDisto();

   // ---- compressor and switch crossfades (ScorchwireFXMix.cpp) ----
   std::atomic<bool> distoFadePending{false};
   std::atomic<bool> preFilterFadePending{false};
   std::atomic<bool> compressorFadePending{false};
   void startPendingCrossfades();
   void processCompressor(float** buffers, int n);
   void processCrossfade(float** buffers, int n);
   void resumeMix();

   // ---- meter and scope feeds (ScorchwireFXFeeds.cpp) ----
   void feedScope(float** buffers, int n);
   void feedMeter(float** buffers, int n);

   // kept for the editor's preset bar; no stage reads them
   std::string presetName = "Default";
   int presetIndex = 0;
};
