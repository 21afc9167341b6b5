#include "Region.h"

namespace VSTGUI::X11 {

void Region::add(CRect rect) {
   rect.makeIntegralOutward();
   if (rect.isEmpty())
      return;
   // Absorb every rectangle the new one touches, repeating while the grown rectangle touches more.
   bool merged = true;
   while (merged) {
      merged = false;
      for (auto it = rects.begin(); it != rects.end(); ++it) {
         CRect grown(*it);
         grown.extend(1., 1.);
         if (grown.rectOverlap(rect)) {
            rect.unite(*it);
            rects.erase(it);
            merged = true;
            break;
         }
      }
   }
   rects.push_back(rect);
   if (rects.size() > maxRects) {
      const CRect all = bounds();
      rects.assign(1, all);
   }
}

CRect Region::bounds() const {
   CRect all;
   for (const auto& r : rects)
      all.unite(r);
   return all;
}

void Region::clip(const CRect& limit) {
   std::vector<CRect> kept;
   for (auto r : rects) {
      r.bound(limit);
      if (!r.isEmpty())
         kept.push_back(r);
   }
   rects.swap(kept);
}

} // namespace VSTGUI::X11
