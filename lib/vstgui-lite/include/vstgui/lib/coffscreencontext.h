// A draw context whose pixels end up in a bitmap.
#pragma once

#include "cdrawcontext.h"

namespace VSTGUI {

class COffscreenContext : public CDrawContext {
public:
   // size in view units; the bitmap has size * scaleFactor pixels and starts fully transparent.
   static SharedPointer<COffscreenContext> create(const CPoint& size, double scaleFactor = 1.);

   CBitmap* getBitmap() const { return bitmap; }
   CCoord getWidth() const;
   CCoord getHeight() const;

private:
   COffscreenContext(_cairo* cr, const SharedPointer<CBitmap>& bitmap, const CRect& surfaceRect,
                     double scaleFactor);

   SharedPointer<CBitmap> bitmap;
};

} // namespace VSTGUI
