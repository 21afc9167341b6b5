#include "Clipper12.h"

#include "LookupTable.h"

#include <algorithm>
#include <cmath>
#include <emmintrin.h>

namespace {

using CircuitTable = LookupTable<100>;

// Diode pair: falls with slope -1 near 0 and bends towards about -0.55.
constexpr CircuitTable T1 = {
    0.0f,
    99.0f / 101.97000122070312f,
    101.97000122070312f,
    100,
    {0.0f,         -0.02970945f, -0.060010675f, -0.090915784f, -0.1224267f,  -0.1545128f,  -0.18704332f,
     -0.2195973f,  -0.25104925f, -0.27926925f,  -0.30222994f,  -0.31976473f, -0.333093f,   -0.3435023f,
     -0.35190952f, -0.35890886f, -0.36488467f,  -0.37009212f,  -0.37470633f, -0.37885118f, -0.38261706f,
     -0.38607156f, -0.38926637f, -0.3922418f,   -0.39502987f,  -0.39765638f, -0.40014237f, -0.40250534f,
     -0.4047598f,  -0.40691814f, -0.4089908f,   -0.41098684f,  -0.4129141f,  -0.41477934f, -0.41658857f,
     -0.41834712f, -0.42005965f, -0.4217304f,   -0.42336315f,  -0.4249613f,  -0.42652798f, -0.428066f,
     -0.42957795f, -0.43106627f, -0.43253317f,  -0.43398067f,  -0.43541077f, -0.43682525f, -0.4382258f,
     -0.43961412f, -0.4409917f,  -0.44236007f,  -0.4437206f,   -0.4450748f,  -0.44642392f, -0.4477693f,
     -0.44911233f, -0.45045424f, -0.45179635f,  -0.45313996f,  -0.45448634f, -0.45583686f, -0.45719287f,
     -0.45855576f, -0.45992693f, -0.4613079f,   -0.46270022f,  -0.4641055f,  -0.46552542f, -0.46696183f,
     -0.46841666f, -0.46989197f, -0.47138998f,  -0.47291312f,  -0.47446397f, -0.47604543f, -0.47766063f,
     -0.47931302f, -0.48100653f, -0.4827454f,   -0.48453456f,  -0.4863795f,  -0.48828647f, -0.49026266f,
     -0.49231642f, -0.4944575f,  -0.4966974f,   -0.49904972f,  -0.501531f,   -0.50416124f, -0.5069654f,
     -0.5099749f,  -0.51323f,    -0.51678395f,  -0.5207087f,   -0.5251053f,  -0.53012174f, -0.53598803f,
     -0.5430904f,  -0.5521558f}};

// Asymmetric gain element: equal to T2neg up to entry 14, then saturating at about 0.80 (positive
// side) and 0.67 (negative side).
constexpr CircuitTable T2pos = {
    0.006000000052154064f,
    0.006000000052154064f + 99.0f / 101.97000122070312f,
    101.97000122070312f,
    100,
    {0.0060301507f, 0.018090453f, 0.030150754f, 0.042211056f, 0.054271355f, 0.066331655f, 0.07839196f,
     0.09045226f,   0.10251256f,  0.11457287f,  0.12663317f,  0.13869347f,  0.15075377f,  0.16281407f,
     0.17487437f,   0.18693468f,  0.19899498f,  0.21105528f,  0.22311558f,  0.23517588f,  0.24723618f,
     0.25929648f,   0.27135676f,  0.28341708f,  0.29547736f,  0.30753767f,  0.31959796f,  0.3316582f,
     0.3437185f,    0.35577875f,  0.36783898f,  0.37989917f,  0.39195934f,  0.4040194f,   0.41607934f,
     0.42813912f,   0.44019866f,  0.45225778f,  0.46431634f,  0.47637403f,  0.48843044f,  0.50048494f,
     0.5125365f,    0.5245838f,   0.5366247f,   0.5486561f,   0.56067324f,  0.5726692f,   0.58463395f,
     0.59655243f,   0.6084032f,   0.62015563f,  0.631767f,    0.6431798f,   0.6543199f,   0.66509783f,
     0.6754143f,    0.6851713f,   0.69428617f,  0.7027048f,   0.71040803f,  0.7174102f,   0.72375137f,
     0.7294872f,    0.7346799f,   0.7393917f,   0.743681f,    0.74760044f,  0.7511963f,   0.75450873f,
     0.75757223f,   0.7604163f,   0.76306635f,  0.76554394f,  0.7678678f,   0.7700539f,   0.77211624f,
     0.77406675f,   0.7759159f,   0.77767295f,  0.7793459f,   0.78094196f,  0.7824673f,   0.7839276f,
     0.7853278f,    0.7866724f,   0.78796536f,  0.7892103f,   0.7904105f,   0.7915689f,   0.79268813f,
     0.7937707f,    0.7948187f,   0.7958343f,   0.7968193f,   0.79777545f,  0.7987043f,   0.79960734f,
     0.80048585f,   0.8013412f}};

constexpr CircuitTable T2neg = {
    0.006000000052154064f,
    0.006000000052154064f + 99.0f / 101.97000122070312f,
    101.97000122070312f,
    100,
    {0.0060301507f, 0.018090453f, 0.030150754f, 0.042211056f, 0.054271355f, 0.066331655f, 0.07839196f,
     0.09045226f,   0.10251256f,  0.11457287f,  0.12663317f,  0.13869347f,  0.15075377f,  0.16281407f,
     0.17487437f,   0.18693466f,  0.19899498f,  0.21105528f,  0.22311556f,  0.23517586f,  0.24723616f,
     0.25929645f,   0.27135673f,  0.28341702f,  0.29547724f,  0.30753747f,  0.31959763f,  0.3316577f,
     0.34371766f,   0.35577738f,  0.36783674f,  0.3798955f,   0.39195335f,  0.40400967f,  0.41606352f,
     0.42811334f,   0.44015673f,  0.45218962f,  0.4642057f,   0.47619468f,  0.4881403f,   0.500017f,
     0.51178545f,   0.5233867f,   0.5347366f,   0.54572254f,  0.55620855f,  0.56605154f,  0.5751293f,
     0.58336675f,   0.590749f,    0.5973144f,   0.60313624f,  0.6083028f,   0.6129032f,   0.61701953f,
     0.6207235f,    0.6240758f,   0.62712735f,  0.6299204f,   0.63249016f,  0.63486564f,  0.6370713f,
     0.6391275f,    0.6410516f,   0.642858f,    0.64455944f,  0.64616644f,  0.64768827f,  0.64913297f,
     0.6505075f,    0.65181804f,  0.65306985f,  0.6542678f,   0.6554161f,   0.6565184f,   0.6575782f,
     0.6585984f,    0.6595819f,   0.66053104f,  0.661448f,    0.6623349f,   0.6631935f,   0.6640256f,
     0.66483265f,   0.66561604f,  0.66637707f,  0.66711706f,  0.66783696f,  0.6685379f,   0.6692208f,
     0.66988647f,   0.67053586f,  0.67116964f,  0.6717885f,   0.67239326f,  0.67298436f,  0.6735624f,
     0.67412806f,   0.6746817f}};

// Circuit constants.
constexpr double cA = -0.14108955456562763;
constexpr double cB = -0.7697603331553252;
constexpr double cC = 1.095880362452828;
constexpr double cD = 0.804528311900251;
constexpr double cE = -0.804528311900251;
constexpr double cF = 0.0041454;
constexpr double cG = 0.05350095357567101;
constexpr double cH = 0.9023598644364358;
constexpr double cI = -0.9999951753867531;
constexpr double cJ = -0.91874796376781;
constexpr double cK = 0.91874796376781;
constexpr double cL = 1.088435160816422;
constexpr double cM = -1.6874744750945754;
constexpr double cN = 0.8433408300428958;
constexpr double cO = 1.1846463462940695;
constexpr double cP = 2303912060.7361693;

constexpr double kE = 3.91923990498812e-05;
constexpr double kD = 0.0593824228028504;
constexpr double kGlide = 0.007000000000000006; // 1 - 0.993: the step of the one-pole glides

// The stages are written once, for a lane type T: double runs one channel, DoublePair runs two
// channels side by side in the two lanes of SSE2 doubles. Every operation of DoublePair is the
// IEEE double operation of each lane, so both give exactly the same values per channel.
struct DoublePair {
   __m128d v;
   DoublePair() = default;
   DoublePair(__m128d x) : v(x) {}
   DoublePair(double x) : v(_mm_set1_pd(x)) {}
   static DoublePair of(double lane0, double lane1) { return _mm_set_pd(lane1, lane0); }
   double lane0() const { return _mm_cvtsd_f64(v); }
   double lane1() const { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }
   friend DoublePair operator+(DoublePair a, DoublePair b) { return _mm_add_pd(a.v, b.v); }
   friend DoublePair operator-(DoublePair a, DoublePair b) { return _mm_sub_pd(a.v, b.v); }
   friend DoublePair operator*(DoublePair a, DoublePair b) { return _mm_mul_pd(a.v, b.v); }
   friend DoublePair operator/(DoublePair a, DoublePair b) { return _mm_div_pd(a.v, b.v); }
   friend DoublePair operator-(DoublePair a) { return _mm_xor_pd(a.v, _mm_set1_pd(-0.0)); }
};

template <typename F> double lanewise(double x, F f) {
   return f(x);
}
template <typename F> DoublePair lanewise(DoublePair x, F f) {
   return DoublePair::of(f(x.lane0()), f(x.lane1()));
}

double absolute(double x) {
   return std::fabs(x);
}
DoublePair absolute(DoublePair x) {
   return _mm_andnot_pd(_mm_set1_pd(-0.0), x.v);
}

// The magnitude of mag with the sign of sign.
double copySign(double mag, double sign) {
   return std::copysign(mag, sign);
}
DoublePair copySign(DoublePair mag, DoublePair sign) {
   const __m128d signBit = _mm_set1_pd(-0.0);
   return _mm_or_pd(_mm_andnot_pd(signBit, mag.v), _mm_and_pd(signBit, sign.v));
}

// The value rounded to single precision (and widened back).
double toFloat(double x) {
   return static_cast<float>(x);
}
DoublePair toFloat(DoublePair x) {
   return _mm_cvtps_pd(_mm_cvtpd_ps(x.v));
}

// -1 below -1, otherwise min(1, x), as IIR_doIIRhigh limits (NaN gives 1).
double limitUnit(double x) {
   return x < -1.0 ? -1.0 : (x < 1.0 ? x : 1.0);
}
DoublePair limitUnit(DoublePair x) {
   return _mm_max_pd(_mm_min_pd(x.v, _mm_set1_pd(1.0)), _mm_set1_pd(-1.0));
}

// 0.8 above 0.8, otherwise max(-0.8, v), in single-precision values.
double limitClip(double v) {
   return v > double{0.8f} ? double{0.8f} : std::max(double{-0.8f}, v);
}
DoublePair limitClip(DoublePair v) {
   return _mm_max_pd(_mm_min_pd(v.v, _mm_set1_pd(double{0.8f})), _mm_set1_pd(double{-0.8f}));
}

// Channels of one run: the processors, their buffers, and how a lane type reads and writes them.
template <typename T> struct Lanes;

// Accessors of the state a run carries in registers.
#define CLIPPER12_FIELD(expr) [](Clipper12& c) -> double& { return c.expr; }

template <> struct Lanes<double> {
   Clipper12* c[1];
   float* buf[1];
   template <typename Field> double get(Field field) const { return field(*c[0]); }
   template <typename Field> void set(Field field, double v) const { field(*c[0]) = v; }
   double load(int i) const { return buf[0][i]; }
   void store(int i, double v) const { buf[0][i] = static_cast<float>(v); }
   double loadScratch(int k, int i) const { return c[0]->scratch[k][i]; }
   void storeScratch(int k, int i, double v) const { c[0]->scratch[k][i] = v; }
};

template <> struct Lanes<DoublePair> {
   Clipper12* c[2];
   float* buf[2];
   template <typename Field> DoublePair get(Field field) const {
      return DoublePair::of(field(*c[0]), field(*c[1]));
   }
   template <typename Field> void set(Field field, DoublePair v) const {
      field(*c[0]) = v.lane0();
      field(*c[1]) = v.lane1();
   }
   DoublePair load(int i) const { return DoublePair::of(buf[0][i], buf[1][i]); }
   void store(int i, DoublePair v) const {
      const __m128 narrowed = _mm_cvtpd_ps(v.v);
      buf[0][i] = _mm_cvtss_f32(narrowed);
      buf[1][i] = _mm_cvtss_f32(_mm_shuffle_ps(narrowed, narrowed, 1));
   }
   // Lane 0's processor lends its scratch space, two doubles per sample.
   DoublePair loadScratch(int k, int i) const { return _mm_load_pd(&c[0]->scratch[k][2 * i]); }
   void storeScratch(int k, int i, DoublePair v) const { _mm_store_pd(&c[0]->scratch[k][2 * i], v.v); }
};

template <typename T> T highPass3(T& s0, T& s1, T& s2, T a, T x) {
   s0 = s0 + a * (x - s0);
   T r = x - s0;
   s1 = s1 + a * (r - s1);
   r = r - s1;
   s2 = s2 + a * (r - s2);
   r = r - s2;
   return limitUnit(r);
}

template <typename T> void runClipStage(const Lanes<T>& lanes, T a, T gain, T clipGain, int n) {
   T s0 = lanes.get(CLIPPER12_FIELD(highPass.s[0]));
   T s1 = lanes.get(CLIPPER12_FIELD(highPass.s[1]));
   T s2 = lanes.get(CLIPPER12_FIELD(highPass.s[2]));
   for (int i = 0; i < n; ++i) {
      // f32(high-pass) * gain and v * clip gain are single-precision products; a product of two
      // floats is exact in double, so rounding it once to float gives the float product.
      T v = toFloat(toFloat(highPass3(s0, s1, s2, a, lanes.load(i))) * gain);
      v = limitClip(v);
      lanes.store(i, v * clipGain);
   }
   lanes.set(CLIPPER12_FIELD(highPass.s[0]), s0);
   lanes.set(CLIPPER12_FIELD(highPass.s[1]), s1);
   lanes.set(CLIPPER12_FIELD(highPass.s[2]), s2);
}

template <typename T> void runCircuitStage(const Lanes<T>& lanes, T kInc, T nInc, T pInc, int n) {
   T N = lanes.get(CLIPPER12_FIELD(N)), K = lanes.get(CLIPPER12_FIELD(K)),
     X1 = lanes.get(CLIPPER12_FIELD(X1)), X2 = lanes.get(CLIPPER12_FIELD(X2)),
     W = lanes.get(CLIPPER12_FIELD(W)), O = lanes.get(CLIPPER12_FIELD(O)), V = lanes.get(CLIPPER12_FIELD(V)),
     R1 = lanes.get(CLIPPER12_FIELD(R1)), R2 = lanes.get(CLIPPER12_FIELD(R2)),
     U = lanes.get(CLIPPER12_FIELD(U)), P = lanes.get(CLIPPER12_FIELD(P));
   // Two passes over up to kScratch samples: the input network and the diode pair, then the rest.
   // Each pass is a shorter chain of dependent operations than one loop would be, so the
   // processor overlaps more samples; every value is computed exactly as in a single loop.
   for (int start = 0; start < n; start += Clipper12::kScratch) {
      const int m = n - start < Clipper12::kScratch ? n - start : Clipper12::kScratch;
      Lanes<T> block = lanes;
      for (auto& b : block.buf)
         b += start;
      for (int i = 0; i < m; ++i) {
         const T x = block.load(i);
         K = T(0.993) * K + kInc;
         const T x0 = x - (T(cA) * X1 + T(cB) * X2) * T(cC);
         const T w = T(0.000829239653576842) * X1 + T(cD) * x0 + X2 * T(cE);
         const T rho = (T(500000.0) * K + T(5700.0)) * T(cF);
         O = ((T(1.0) + rho) * w + W * (T(1.0) - rho)) * T(cG) + O * T(cH);
         const T L = T(cC) * w;
         const T d1 = O - L;
         const T y1 = lanewise(d1, Clipper12::diodePair);
         block.storeScratch(0, i, L);
         block.storeScratch(1, i, copySign(absolute(y1), -d1));
         block.storeScratch(2, i, T(0.75) * K + T(0.5));
         X2 = X1;
         X1 = x0;
         W = w;
      }
      for (int i = 0; i < m; ++i) {
         N = T(0.993) * N + nInc;
         const T e = T(kE) * N;
         const T D = (T(kE) - e) * T(44100.0) + T(kD);
         const T G = block.loadScratch(2, i);
         const T H = T(-9.26800656732889e-10) * G;
         const T Vn = block.loadScratch(0, i) - T(cI) * V - block.loadScratch(1, i);
         const T R1n = (V * T(cJ) + T(cK) * Vn) * T(cL) - (T(cM) * R1 + T(cN) * R2) * T(cO);
         const T z = (H * R2 + (G * R1 * T(1.85360131346578e-09) + R1n * H)) * T(cP);
         const T y2 = lanewise(z, Clipper12::gainElement);
         const T Un = y2 - ((e - T(kE)) * T(44100.0) + T(kD)) * U / D;
         P = T(0.993) * P + pInc;
         block.store(i, (U + Un) * P / D * T(kD));
         V = Vn;
         R2 = R1;
         R1 = R1n;
         U = Un;
      }
   }
   lanes.set(CLIPPER12_FIELD(N), N);
   lanes.set(CLIPPER12_FIELD(K), K);
   lanes.set(CLIPPER12_FIELD(X1), X1);
   lanes.set(CLIPPER12_FIELD(X2), X2);
   lanes.set(CLIPPER12_FIELD(W), W);
   lanes.set(CLIPPER12_FIELD(O), O);
   lanes.set(CLIPPER12_FIELD(V), V);
   lanes.set(CLIPPER12_FIELD(R1), R1);
   lanes.set(CLIPPER12_FIELD(R2), R2);
   lanes.set(CLIPPER12_FIELD(U), U);
   lanes.set(CLIPPER12_FIELD(P), P);
}

#undef CLIPPER12_FIELD

} // namespace

double Clipper12::diodePair(double d) {
   return T1.lookup(std::fabs(d) / (3.0 + std::fabs(d)));
}

// The negative side negates the table value as it stands, also where the extrapolation below the
// first entry (|z| under about 0.0011) is itself negative.
double Clipper12::gainElement(double z) {
   return z >= 0.0 ? T2pos.lookup(z) : -T2neg.lookup(-z);
}

void Clipper12::clearState() {
   IIR_resetIIR(highPass);
   N = K = X1 = X2 = W = O = V = R1 = R2 = U = P = 0.0;
}

void Clipper12::setSamplerate(int sr) {
   sampleRate = sr;
   driveSmoother.init(4.0f, static_cast<float>(4 * sr));
   toneSmoother.init(4.0f, static_cast<float>(4 * sr));
}

Clipper12::ClipSettings Clipper12::beginClipStage() {
   const double r = oversample ? 44100.0 / (4.0 * sampleRate) : 44100.0 / sampleRate;
   const double a = static_cast<float>(0.025 * highPassSetting + 0.0017006749985739589) * r;
   const float scaled =
       static_cast<float>(driveSmoother.process(drive.load(std::memory_order_relaxed)) * 100.0);
   return {a, std::max(4.0f, static_cast<float>(scaled * 0.32))};
}

Clipper12::CircuitSettings Clipper12::beginCircuitStage() {
   const float q = tone.load(std::memory_order_relaxed);
   const float s = toneSmoother.process(q);
   levelControl = static_cast<float>(0.45 - 0.2 * q);
   return {static_cast<float>(0.3 * s) * kGlide, (1.0 - bias) * kGlide,
           std::pow(10.0, static_cast<float>(32.0 * levelControl - 20.0) * 0.05) * kGlide};
}

void Clipper12::process(float* buf, int n) {
   processClipStage(buf, n);
   processCircuitStage(buf, n);
}

void Clipper12::processClipStage(float* buf, int n) {
   const ClipSettings s = beginClipStage();
   runClipStage(Lanes<double>{{this}, {buf}}, s.a, static_cast<double>(s.gain), static_cast<double>(clipGain),
                n);
}

void Clipper12::processCircuitStage(float* buf, int n) {
   const CircuitSettings s = beginCircuitStage();
   runCircuitStage(Lanes<double>{{this}, {buf}}, s.kInc, s.nInc, s.pInc, n);
}

void Clipper12::processPair(Clipper12& first, Clipper12& second, float* firstBuf, float* secondBuf, int n) {
   const Lanes<DoublePair> lanes{{&first, &second}, {firstBuf, secondBuf}};
   const ClipSettings c0 = first.beginClipStage();
   const ClipSettings c1 = second.beginClipStage();
   runClipStage(lanes, DoublePair::of(c0.a, c1.a), DoublePair::of(c0.gain, c1.gain),
                DoublePair::of(first.clipGain, second.clipGain), n);
   const CircuitSettings s0 = first.beginCircuitStage();
   const CircuitSettings s1 = second.beginCircuitStage();
   runCircuitStage(lanes, DoublePair::of(s0.kInc, s1.kInc), DoublePair::of(s0.nInc, s1.nInc),
                   DoublePair::of(s0.pInc, s1.pInc), n);
}
