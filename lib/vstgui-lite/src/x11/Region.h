// A set of whole-pixel rectangles to be redrawn or copied. Overlapping rectangles merge; past a handful
// the region degrades to its bounding box, which is cheaper to draw than many small pieces.
#pragma once

#include "vstgui/lib/crect.h"

#include <vector>

namespace VSTGUI::X11 {

class Region {
public:
   void add(CRect rect);
   void clear() { rects.clear(); }
   bool empty() const { return rects.empty(); }
   const std::vector<CRect>& getRects() const { return rects; }
   CRect bounds() const;
   // Keeps only what lies inside limit.
   void clip(const CRect& limit);

private:
   static constexpr size_t maxRects = 12;
   std::vector<CRect> rects;
};

} // namespace VSTGUI::X11
