// The pixels of one bitmap resolution: a cairo image surface (premultiplied ARGB).
#pragma once

#include "vstgui/lib/cbitmap.h"

#include <cairo.h>

namespace VSTGUI {

class CairoBitmap final : public IPlatformBitmap {
public:
   // Takes over the surface reference.
   CairoBitmap(cairo_surface_t* surface, double scaleFactor = 1.)
       : surface(surface), scaleFactor(scaleFactor) {}
   ~CairoBitmap() noexcept override { cairo_surface_destroy(surface); }

   static SharedPointer<IPlatformBitmap> loadPNG(const std::string& path);
   static SharedPointer<IPlatformBitmap> create(int widthPx, int heightPx, double scaleFactor);

   CPoint getSize() const override {
      return {static_cast<CCoord>(cairo_image_surface_get_width(surface)),
              static_cast<CCoord>(cairo_image_surface_get_height(surface))};
   }
   double getScaleFactor() const override { return scaleFactor; }
   void setScaleFactor(double factor) override { scaleFactor = factor; }
   cairo_surface_t* getSurface() const { return surface; }

private:
   cairo_surface_t* surface;
   double scaleFactor;
};

} // namespace VSTGUI
