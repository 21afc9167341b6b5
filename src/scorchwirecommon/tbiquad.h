#pragma once

// Filter state shared by the high-passes of Clip Inferno, RageClip and Brutal Bill. Six doubles;
// IIR_doIIRhigh uses the first three.
struct tbiquad {
   double s[6];
};

inline void IIR_resetIIR(tbiquad& st) {
   for (double& v : st.s)
      v = 0.0;
}

// Third-order high-pass: the input minus three cascaded one-pole low-passes with coefficient a
// (larger a, higher corner), hard-limited to -1 ... 1.
inline double IIR_doIIRhigh(tbiquad& st, double a, double x) {
   st.s[0] = st.s[0] + a * (x - st.s[0]);
   double r = x - st.s[0];
   st.s[1] = st.s[1] + a * (r - st.s[1]);
   r = r - st.s[1];
   st.s[2] = st.s[2] + a * (r - st.s[2]);
   r = r - st.s[2];
   if (r < -1.0)
      return -1.0;
   return r < 1.0 ? r : 1.0;
}
