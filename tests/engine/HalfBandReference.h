#pragma once
// A plain scalar model of the 4x half-band pair, written from the branch description: each 2x
// stage has an even branch (a0, a2, ...) and an odd branch (a1, a3, ...) of first-order all-pass
// sections y[n] = a * (x[n] - y[n-1]) + x[n-1]. Within a branch, the sections a(4s-4) and
// a(4s-3) work on the current sample and a(4s-2), a(4s-1) on what those produced one sample
// earlier; a missing last coefficient acts as a section with a = 1.
#include <vector>

namespace halfband_reference {

inline const std::vector<double> kCoefs12 = {0.077115079832416222, 0.26596852652109459, 0.4820706250610472,
                                             0.6651041532634957,   0.79682047133157974, 0.88410150855061587,
                                             0.94125142777404713,  0.98200541418860754};
inline const std::vector<double> kCoefs24 = {0.081430023176615865, 0.31565984021665966, 0.70977080010247717};

class Branch {
public:
   // parity 0: even branch, 1: odd branch.
   Branch(const std::vector<double>& coefs, int parity) {
      const size_t padded = (coefs.size() + 3) / 4 * 4;
      auto coef = [&](size_t i) { return i < coefs.size() ? static_cast<float>(coefs[i]) : 1.0f; };
      for (size_t base = 0; base < padded; base += 4) {
         firstHalf.push_back({coef(base + static_cast<size_t>(parity))});
         secondHalf.push_back({coef(base + 2 + static_cast<size_t>(parity))});
      }
   }
   float step(float x) {
      const float current = run(firstHalf, x);
      const float out = run(secondHalf, delayed);
      delayed = current;
      return out;
   }

private:
   struct Section {
      float a, x1 = 0, y1 = 0;
   };
   static float run(std::vector<Section>& sections, float x) {
      for (auto& s : sections) {
         const float y = s.a * (x - s.y1) + s.x1;
         s.x1 = x;
         s.y1 = y;
         x = y;
      }
      return x;
   }
   std::vector<Section> firstHalf, secondHalf;
   float delayed = 0;
};

class Up2x {
public:
   explicit Up2x(const std::vector<double>& coefs) : even(coefs, 0), odd(coefs, 1) {}
   void step(float x, float& first, float& second) {
      first = even.step(x);
      second = odd.step(x);
   }

private:
   Branch even, odd;
};

class Down2x {
public:
   explicit Down2x(const std::vector<double>& coefs) : even(coefs, 0), odd(coefs, 1) {}
   float step(float xa, float xb) { return 0.5f * (odd.step(xa) + even.step(xb)); }

private:
   Branch even, odd;
};

class Up4x {
public:
   void step(float x, float out[4]) {
      float u0, u1;
      s12.step(x, u0, u1);
      s24.step(u0, out[0], out[1]);
      s24.step(u1, out[2], out[3]);
   }

private:
   Up2x s12{kCoefs12}, s24{kCoefs24};
};

class Down4x {
public:
   float step(const float in[4]) {
      const float a = s24.step(in[0], in[1]);
      const float b = s24.step(in[2], in[3]);
      return s12.step(a, b);
   }

private:
   Down2x s12{kCoefs12}, s24{kCoefs24};
};

} // namespace halfband_reference
