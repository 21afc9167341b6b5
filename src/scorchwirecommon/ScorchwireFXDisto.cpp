#include "ScorchwireFX.h"

#include <algorithm>
#include <cmath>

// The distortion stage: 64-sample chunks, the type read at every chunk, four types run through the
// shared 4x oversampler, and the fan-out of DRIVE, DistPrm2 and the Quadrafuzz band parameters.

namespace {

constexpr double kBrutalBillHighPassAtZero = 0.0017006749985739589;

// Runs process(buffer, count) on the channel's block, through the 4x oversampler when the
// processor asks for it.
template <typename Processor, typename Process>
void runMaybeOversampled(ScorchwireFX::DistoOversampling& os, int chn, const Processor& proc, float* buf,
                         int n, Process process) {
   if (!proc.oversample) {
      process(buf, n);
      return;
   }
   os.upsampler.process_block_1ch(chn, os.work, buf, n);
   process(os.work, 4 * n);
   os.downsampler.process_block_1ch(chn, buf, os.work, n);
}

} // namespace

void ScorchwireFX::processDisto(float** buffers, int nbr_spl) {
   const int chunks = nbr_spl / kDistoChunk;
   const int rest = nbr_spl % kDistoChunk;
   float* chunk[2] = {buffers[0], buffers[1]};
   for (int i = 0; i < chunks; ++i) {
      processInternalDisto(chunk, kDistoChunk);
      chunk[0] += kDistoChunk;
      chunk[1] += kDistoChunk;
   }
   if (rest != 0)
      processInternalDisto(chunk, rest);
}

void ScorchwireFX::processInternalDisto(float** buffers, int nbr_spl) {
   const double type = std::round(getParameter(4) * 8.0);
   if (!(type >= 0.0 && type <= 8.0))
      return;
   if (type == 1.0 && clipper12[0].oversample && clipper12[1].oversample) {
      processClipInfernoPair(buffers, nbr_spl);
      return;
   }
   for (int c = 0; c < 2; ++c) {
      float* b = buffers[c];
      const int n = nbr_spl;
      switch (static_cast<int>(type)) {
      case 0:
         overdrive[c].process(b, n);
         break;
      case 1:
         runMaybeOversampled(distoOversampling, c, clipper12[c], b, n,
                             [&](float* buf, int len) { clipper12[c].process(buf, len); });
         break;
      case 2:
         runMaybeOversampled(distoOversampling, c, valve[c], b, n,
                             [&](float* buf, int len) { valve[c].process(buf, len); });
         break;
      case 3:
         runMaybeOversampled(distoOversampling, c, cruncher[c], b, n,
                             [&](float* buf, int len) { cruncher[c].process(buf, len); });
         break;
      case 4:
         bitReduzer[c].process(b, n);
         break;
      case 5:
         fuzz[c].process(b, n);
         break;
      case 6:
         runMaybeOversampled(distoOversampling, c, rageClip[c], b, n,
                             [&](float* buf, int len) { processRageClip(rageClip[c], buf, len); });
         break;
      case 7:
         runMaybeOversampled(distoOversampling, c, sinRemapper[c], b, n,
                             [&](float* buf, int len) { processBrutalBill(sinRemapper[c], buf, len); });
         break;
      case 8:
         quadrafuzz[c].process(b, b, static_cast<unsigned int>(n));
         break;
      default:
         break;
      }
   }
}

// Clip Inferno at 4x on both channels at once. The channels share no state (each has its own
// oversampler channel and Clipper12), so this gives what channel 0 then channel 1 would.
void ScorchwireFX::processClipInfernoPair(float** buffers, int nbr_spl) {
   auto& os = distoOversampling;
   os.upsampler.process_block_1ch(0, os.work, buffers[0], nbr_spl);
   os.upsampler.process_block_1ch(1, os.workRight, buffers[1], nbr_spl);
   Clipper12::processPair(clipper12[0], clipper12[1], os.work, os.workRight, 4 * nbr_spl);
   os.downsampler.process_block_1ch(0, buffers[0], os.work, nbr_spl);
   os.downsampler.process_block_1ch(1, buffers[1], os.workRight, nbr_spl);
}

// RageClip: high-pass, gain 4..100, rational soft clip towards +-1, hard clip at +-0.8, times 0.25.
void ScorchwireFX::processRageClip(RageClipState& st, float* buf, int n) {
   const double r = st.oversample ? 44100.0 / (4.0 * st.sampleRate) : 44100.0 / st.sampleRate;
   const double a = r * st.hpCoef.load(std::memory_order_relaxed);
   const float drive = st.drive.load(std::memory_order_relaxed);
   for (int i = 0; i < n; ++i) {
      const float d = st.driveSmoother.process(drive);
      const float gain = std::max(4.0f, 100.0f * d);
      const float v = static_cast<float>(IIR_doIIRhigh(st.highPass, a, buf[i])) * gain;
      const double m = std::fabs(v);
      const double v2 = v * v; // the product rounded to float, then widened
      float y = static_cast<float>(
          ((0.88080249764587 * m + 0.940350192593669) * v2 + (2.42262961841169 * m + 2.39304178773957)) * v /
          (std::fabs(v + 0.876604976262445 * v * m) * (v2 + 2.36431790907668) + 2.39707251423435));
      y = y > 0.8f ? 0.8f : std::max(-0.8f, y);
      buf[i] = y * st.outputGain;
   }
}

// Brutal Bill: the high-passed input is the phase of a table sine, scaled by 0.125..16 with drive.
void ScorchwireFX::processBrutalBill(SinRemapper& st, float* buf, int n) {
   const double a = st.rateRatio * st.hpCoef.load(std::memory_order_relaxed);
   const float drive = st.drive.load(std::memory_order_relaxed);
   for (int i = 0; i < n; ++i) {
      const float d = st.driveSmoother.process(drive);
      const float scaled = 256.0f * d;
      const float u = scaled * scaled * 0.001953125f + 1.0f;
      st.phaseScale = u < 1.0f ? 0.125f : (u > 128.0f ? 16.0f : 0.125f * u);
      float level = 1.0f - log10f(16.0f * d + 1.0f);
      if (level < 0.2f)
         level = 0.2f;
      const float h = static_cast<float>(IIR_doIIRhigh(st.highPass, a, buf[i]));
      const int index =
          static_cast<int>(roundf(h * st.phaseScale * 4096.0f * 2.0f)) & (SinRemapper::kPeriod - 1);
      buf[i] = level * st.table[index];
   }
}

void ScorchwireFX::setDistoParam1(float value) {
   constexpr auto relaxed = std::memory_order_relaxed;
   for (int c = 0; c < 2; ++c) {
      overdrive[c].drive.store(value, relaxed);
      clipper12[c].drive.store(value, relaxed);
      valve[c].drive.store(value, relaxed);
      cruncher[c].setDrive(value);
      bitReduzer[c].setReduceRate(value);
      fuzz[c].drive.store(0.92f * value, relaxed);
      rageClip[c].drive.store(value, relaxed);
      sinRemapper[c].drive.store(value, relaxed);
      quadrafuzz[c].setParameterValue(1, static_cast<float>(0.5 * value + 0.5));
   }
}

void ScorchwireFX::setDistoParam2(float value) {
   constexpr auto relaxed = std::memory_order_relaxed;
   for (int c = 0; c < 2; ++c) {
      overdrive[c].amount.store(value, relaxed);
      clipper12[c].tone.store(value, relaxed);
      valve[c].mix.store(value, relaxed);
      cruncher[c].setThreshold(value);
      bitReduzer[c].setDryWet(value);
      fuzz[c].tone.store(static_cast<float>(0.75 * value + 0.25), relaxed);
      rageClip[c].hpCoef.store(0.025 * value + 0.001700675, relaxed);
      sinRemapper[c].hpCoef.store(0.025f * value + 0.0017006749985739589f, relaxed);
   }
}

void ScorchwireFX::setQuadrafuzzParam(int index, float value) {
   for (auto& q : quadrafuzz)
      q.setParameterValue(static_cast<unsigned int>(index - 4), value);
}

void ScorchwireFX::resumeDisto() {
   const double sr = sampleRate;
   const double fs = sr > 0.0 ? sr : 44100.0;
   for (int c = 0; c < 2; ++c) {
      clipper12[c].setSamplerate(static_cast<int>(sr));
      valve[c].setSamplerate(static_cast<int>(sr));
      fuzz[c].init();

      rageClip[c].sampleRate = fs;
      rageClip[c].driveSmoother.init(40.0f, static_cast<float>(fs));
      IIR_resetIIR(rageClip[c].highPass);

      sinRemapper[c].hpCoef.store(kBrutalBillHighPassAtZero, std::memory_order_relaxed);
      sinRemapper[c].driveSmoother.init(40.0f, static_cast<float>(fs));
      sinRemapper[c].rateRatio = 44100.0 / fs;
   }
   distoOversampling.upsampler.clear_buffers();
   distoOversampling.downsampler.clear_buffers();
}
