// The waveform of the latest stretch of output: one point per pixel column, column x showing sample
// (x × n) / width of the n delivered, positive samples below the centre line. The line is stroked in the
// theme colour and the area it encloses with its start is filled in a darker shade; the whole view is
// drawn at 86 % opacity.
#pragma once

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/cview.h"

#include <array>

class Oscilloscope : public VSTGUI::CView {
public:
   static constexpr int maxSamples = 16384;

   explicit Oscilloscope(const VSTGUI::CRect& size);

   // Takes count signed 8-bit samples (±127 = full scale) and asks for a redraw. A count of 0 keeps the
   // waveform drawn last; counts above maxSamples are cut there.
   void process(const char* data, int count);
   void draw(VSTGUI::CDrawContext* context) override;

   VSTGUI::CColor color{12, 255, 4, 255};

private:
   std::array<float, maxSamples> samples{};
   int count = 1024;
   int lastCount = 0;
};
