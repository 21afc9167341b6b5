#include "vstgui/lib/cbitmap.h"

#include "CairoBitmap.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/platform/linux/linuxfactory.h"

#include <cmath>

namespace VSTGUI {

SharedPointer<IPlatformBitmap> CairoBitmap::loadPNG(const std::string& path) {
   cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
   if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(surface);
      return {};
   }
   return owned<IPlatformBitmap>(new CairoBitmap(surface));
}

SharedPointer<IPlatformBitmap> CairoBitmap::create(int widthPx, int heightPx, double scaleFactor) {
   cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, widthPx, heightPx);
   if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(surface);
      return {};
   }
   return owned<IPlatformBitmap>(new CairoBitmap(surface, scaleFactor));
}

namespace {

std::string resolveResource(const std::string& name) {
   if (name.empty() || name.front() == '/')
      return name;
   std::string folder = getPlatformFactory().asLinuxFactory()->getResourcePath();
   if (!folder.empty() && folder.back() != '/')
      folder += '/';
   return folder + name;
}

} // namespace

CBitmap::CBitmap(const CResourceDescription& desc) : resourceDesc(desc) {
   if (auto bitmap = CairoBitmap::loadPNG(resolveResource(desc.getName())))
      bitmaps.push_back(bitmap);
}

CBitmap::CBitmap(CCoord width, CCoord height) : CBitmap(CPoint(width, height), 1.) {}

CBitmap::CBitmap(const CPoint& size, double scaleFactor) : resourceDesc(nullptr) {
   const int w = static_cast<int>(std::ceil(size.x * scaleFactor));
   const int h = static_cast<int>(std::ceil(size.y * scaleFactor));
   if (w > 0 && h > 0)
      if (auto bitmap = CairoBitmap::create(w, h, scaleFactor))
         bitmaps.push_back(bitmap);
}

CBitmap::CBitmap(const PlatformBitmapPtr& platformBitmap) : resourceDesc(nullptr) {
   if (platformBitmap)
      bitmaps.push_back(platformBitmap);
}

CBitmap::~CBitmap() noexcept = default;

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset, float alpha) {
   if (context)
      context->drawBitmap(this, rect, offset, alpha);
}

CCoord CBitmap::getWidth() const {
   if (bitmaps.empty())
      return 0.;
   return bitmaps.front()->getSize().x / bitmaps.front()->getScaleFactor();
}

CCoord CBitmap::getHeight() const {
   if (bitmaps.empty())
      return 0.;
   return bitmaps.front()->getSize().y / bitmaps.front()->getScaleFactor();
}

PlatformBitmapPtr CBitmap::getPlatformBitmap() const {
   return bitmaps.empty() ? PlatformBitmapPtr() : bitmaps.front();
}

void CBitmap::setPlatformBitmap(const PlatformBitmapPtr& bitmap) {
   bitmaps.clear();
   if (bitmap)
      bitmaps.push_back(bitmap);
}

bool CBitmap::addBitmap(const PlatformBitmapPtr& platformBitmap) {
   if (!platformBitmap)
      return false;
   for (const auto& b : bitmaps)
      if (b->getScaleFactor() == platformBitmap->getScaleFactor())
         return false;
   bitmaps.push_back(platformBitmap);
   return true;
}

PlatformBitmapPtr CBitmap::getBestPlatformBitmapForScaleFactor(double scaleFactor) const {
   // The sharpest choice: the smallest resolution that still has enough pixels, else the largest.
   PlatformBitmapPtr best, largest;
   for (const auto& b : bitmaps) {
      const double s = b->getScaleFactor();
      if (!largest || s > largest->getScaleFactor())
         largest = b;
      if (s >= scaleFactor - 1e-6 && (!best || s < best->getScaleFactor()))
         best = b;
   }
   return best ? best : largest;
}

} // namespace VSTGUI
