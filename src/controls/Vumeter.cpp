#include "controls/Vumeter.h"

#include "vstgui/lib/cdrawcontext.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace VSTGUI;

namespace {

constexpr CColor gridColor(34, 34, 34, 255);
constexpr uint32_t redrawInterval = 30; // ms

} // namespace

Vumeter::Vumeter(const CRect& size) : CView(size) {
   timer = makeOwned<CVSTGUITimer>(this, redrawInterval, true);
}

Vumeter::~Vumeter() noexcept {
   timer->stop();
}

void Vumeter::process(float peak) {
   value = peak;
   invalid();
}

CMessageResult Vumeter::notify(CBaseObject* sender, IdStringPtr message) {
   if (sender == timer.get() && message && std::strcmp(message, CVSTGUITimer::kMsgTimer) == 0)
      invalid();
   return kMessageUnknown;
}

void Vumeter::draw(CDrawContext* context) {
   if (value >= level) {
      level = value;
   } else {
      level *= decay;
      if (level < 1e-30f)
         level = 0.f;
   }
   const double db = 20. * std::log(static_cast<double>(level)) / std::log(10.);
   // Anything above +1000 dB (an infinite peak) shows as a full bar like any other overload.
   dbLevel = db < -rangeDb ? -(rangeDb + 1) : static_cast<int>(std::min(db, 1000.));

   context->setLineWidth(1.);
   const CRect& r = getViewSize();
   const int width = static_cast<int>(r.right - r.left);
   const int height = static_cast<int>(r.bottom - r.top);
   const int left = static_cast<int>(r.left);
   const int top = static_cast<int>(r.top);
   const int empty = static_cast<int>(-dbLevel * (r.right - r.left) / rangeDb);
   const int fill = width - empty;
   if (fill > 0) {
      context->setFillColor(color);
      context->drawRect(CRect(left, top, left + std::min(fill, width), top + height), kDrawFilled);
   }
   if (segmentSpacing > 0) {
      // Neighbouring cells share their edge: each cell's frame lights its first and its last pixel column
      // (segmentSpacing apart) and the bar's top and bottom rows. The toolkit strokes a one-pixel frame on
      // the pixels at the rectangle's coordinates, hence right and bottom one less than the cell's end.
      context->setDrawMode(kAliasing);
      context->setFrameColor(gridColor);
      for (int x = 0; x < width; x += segmentSpacing)
         context->drawRect(CRect(left + x, top, left + x + segmentSpacing, top + height - 1), kDrawStroked);
   }
   setDirty(false);
}
