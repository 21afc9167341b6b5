#pragma once
#include <atomic>

// TurboFuzz: a discretised fuzz circuit at a fixed 44100 Hz, whatever the host rate. A passive
// input network with two potentiometers (drive and tone, gliding to 1 - setting) feeds three
// triode stages, each a low-pass into the 7199P plate curve with cathode feedback and a coupling
// high-pass. Silence rests every stage on its quiescent point.
class Fuzz {
public:
   Fuzz() = default;
   virtual void process(float* buf, int n);
   // Power-on state; must run before the first process.
   virtual void init();
   virtual ~Fuzz() = default;

   std::atomic<float> drive{0.5f}; // 0.92 * DRIVE
   std::atomic<float> tone{0.9f};  // 0.75 * DistPrm2 + 0.25
   int sampleRate = 44100;
   double rate = 44100.0; // the rate the network coefficients are computed for

   // potentiometer positions
   double rho = 0.0;
   double beta = 0.0;
   // input-node history and the previous network output
   double x1 = 0.0, x2 = 0.0, x3 = 0.0, x4 = 0.0, x5 = 0.0;
   double sp = 0.0;

   struct TriodeStage {
      double k = 0.0, o1 = 0.0, o2 = 0.0; // input low-pass
      double c = 0.0;                     // cathode feedback
      double z1 = 0.0, z1p = 0.0;         // last two plate outputs around the quiescent voltage
      double ep = 0.0;                    // last coupled output
   };
   TriodeStage stages[3];

private:
   // One triode stage for input in (previous input inPrev); returns the new coupled output and
   // advances every memory of the stage except ep.
   double processStage(TriodeStage& st, double in, double inPrev, double inputGain) const;
};
