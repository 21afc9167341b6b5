#include "Clipper12.h"

#include "LookupTable.h"

#include <algorithm>
#include <cmath>

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

} // namespace

double Clipper12::diodePair(double d) {
   return T1.lookup(std::fabs(d) / (3.0 + std::fabs(d)));
}

// The negative side negates the table value as it stands, also where the extrapolation below the
// first entry (|z| under about 0.0011) is itself negative.
double Clipper12::gainElement(double z) {
   return z >= 0.0 ? T2pos.lookup(z) : -T2neg.lookup(-z);
}

void Clipper12::setSamplerate(int sr) {
   sampleRate = sr;
   driveSmoother.init(4.0f, static_cast<float>(4 * sr));
   toneSmoother.init(4.0f, static_cast<float>(4 * sr));
}

void Clipper12::process(float* buf, int n) {
   processClipStage(buf, n);
   processCircuitStage(buf, n);
}

void Clipper12::processClipStage(float* buf, int n) {
   const double r = oversample ? 44100.0 / (4.0 * sampleRate) : 44100.0 / sampleRate;
   const double a = static_cast<float>(0.025 * highPassSetting + 0.0017006749985739589) * r;
   const float scaled =
       static_cast<float>(driveSmoother.process(drive.load(std::memory_order_relaxed)) * 100.0);
   const float gain = std::max(4.0f, static_cast<float>(scaled * 0.32));
   for (int i = 0; i < n; ++i) {
      float v = static_cast<float>(IIR_doIIRhigh(highPass, a, buf[i])) * gain;
      v = v > 0.8f ? 0.8f : std::max(-0.8f, v);
      buf[i] = v * clipGain;
   }
}

void Clipper12::processCircuitStage(float* buf, int n) {
   const float q = tone.load(std::memory_order_relaxed);
   const float s = toneSmoother.process(q);
   levelControl = static_cast<float>(0.45 - 0.2 * q);
   const double kInc = static_cast<float>(0.3 * s) * kGlide;
   const double nInc = (1.0 - bias) * kGlide;
   const double pInc = std::pow(10.0, static_cast<float>(32.0 * levelControl - 20.0) * 0.05) * kGlide;
   for (int start = 0; start < n; start += kScratch) {
      const int m = n - start < kScratch ? n - start : kScratch;
      float* b = buf + start;
      // Input network and diode pair: nothing here depends on the later state.
      for (int i = 0; i < m; ++i) {
         const double x = b[i];
         K = 0.993 * K + kInc;
         const double x0 = x - (cA * X1 + cB * X2) * cC;
         const double w = 0.000829239653576842 * X1 + cD * x0 + X2 * cE;
         const double rho = (500000.0 * K + 5700.0) * cF;
         O = ((1.0 + rho) * w + W * (1.0 - rho)) * cG + O * cH;
         const double L = cC * w;
         const double d1 = O - L;
         const double y1 = diodePair(d1);
         scratchL[i] = L;
         scratchDiode[i] = std::copysign(std::fabs(y1), -d1);
         scratchG[i] = 0.75 * K + 0.5;
         X2 = X1;
         X1 = x0;
         W = w;
      }
      // Gain element, output coupling and level.
      for (int i = 0; i < m; ++i) {
         N = 0.993 * N + nInc;
         const double e = kE * N;
         const double D = (kE - e) * 44100.0 + kD;
         const double G = scratchG[i];
         const double H = -9.26800656732889e-10 * G;
         const double Vn = scratchL[i] - cI * V - scratchDiode[i];
         const double R1n = (V * cJ + cK * Vn) * cL - (cM * R1 + cN * R2) * cO;
         const double z = (H * R2 + (G * R1 * 1.85360131346578e-09 + R1n * H)) * cP;
         const double y2 = gainElement(z);
         const double Un = y2 - ((e - kE) * 44100.0 + kD) * U / D;
         P = 0.993 * P + pInc;
         b[i] = static_cast<float>((U + Un) * P / D * kD);
         V = Vn;
         R2 = R1;
         R1 = R1n;
         U = Un;
      }
   }
}
