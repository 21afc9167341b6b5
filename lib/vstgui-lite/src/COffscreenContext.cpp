#include "vstgui/lib/coffscreencontext.h"

#include "CairoBitmap.h"

#include <cairo.h>
#include <cmath>

namespace VSTGUI {

SharedPointer<COffscreenContext> COffscreenContext::create(const CPoint& size, double scaleFactor) {
   if (size.x <= 0. || size.y <= 0. || scaleFactor <= 0.)
      return {};
   auto bitmap = makeOwned<CBitmap>(size, scaleFactor);
   auto platformBitmap = bitmap->getPlatformBitmap();
   auto* pixels = platformBitmap.cast<CairoBitmap>();
   if (!pixels)
      return {};
   cairo_t* cr = cairo_create(pixels->getSurface());
   const CPoint px = pixels->getSize();
   auto context = owned(new COffscreenContext(cr, bitmap, CRect(0, 0, px.x, px.y), scaleFactor));
   cairo_destroy(cr);
   return context;
}

COffscreenContext::COffscreenContext(_cairo* cr, const SharedPointer<CBitmap>& bitmap,
                                     const CRect& surfaceRect, double scaleFactor)
    : CDrawContext(cr, surfaceRect, scaleFactor), bitmap(bitmap) {}

CCoord COffscreenContext::getWidth() const {
   return bitmap->getWidth();
}

CCoord COffscreenContext::getHeight() const {
   return bitmap->getHeight();
}

} // namespace VSTGUI
