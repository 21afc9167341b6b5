#include "controls/Oscilloscope.h"

#include "vstgui/lib/cdrawcontext.h"

#include <algorithm>

using namespace VSTGUI;

Oscilloscope::Oscilloscope(const CRect& size) : CView(size) {
   setAlphaValue(0.86f);
}

void Oscilloscope::process(const char* data, int newCount) {
   count = std::clamp(newCount, 0, maxSamples);
   for (int i = 0; i < count; ++i)
      samples[static_cast<size_t>(i)] = static_cast<float>(static_cast<signed char>(data[i]) / 127.0);
   invalid();
}

void Oscilloscope::draw(CDrawContext* context) {
   CView::draw(context);
   const CRect& r = getViewSize();
   const int width = static_cast<int>(r.right - r.left);
   const int height = static_cast<int>(r.bottom - r.top);
   const int top = static_cast<int>(r.top);
   const int left = static_cast<int>(r.left);
   if (count != 0)
      lastCount = count;
   const int n = count != 0 ? count : lastCount;

   context->setDrawMode(kAntiAliasing);
   auto path = owned(context->createGraphicsPath());
   path->beginSubpath(CPoint(left, top + height * 0.5));
   for (int x = 0; x < width; ++x) {
      const int i = (x * n) / width;
      const float y = height * samples[static_cast<size_t>(i)] * 0.5f + static_cast<float>(height / 2);
      path->addLine(CPoint(left + x, top + y));
   }
   context->setFrameColor(color);
   context->setLineWidth(2.);
   context->drawGraphicsPath(path, CDrawContext::kPathStroked);
   const CColor fill(static_cast<uint8_t>(color.red * 0.75), static_cast<uint8_t>(color.green * 0.75),
                     static_cast<uint8_t>(color.blue * 0.75), 172);
   context->setFillColor(fill);
   context->drawGraphicsPath(path, CDrawContext::kPathFilled);
   setDirty(false);
}
