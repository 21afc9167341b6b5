// Bitmaps: a PNG loaded from the resource folder (or an absolute path), or pixels drawn offscreen. One
// bitmap may carry the same image at several resolutions; drawing picks the one that fits the zoom.
#pragma once

#include "crect.h"
#include "cstring.h"

#include <string>
#include <vector>

namespace VSTGUI {

class CDrawContext;

// Pixels of one resolution. The scale factor says how many pixels make one view unit.
class IPlatformBitmap : public AtomicReferenceCounted {
public:
   // The size in pixels.
   virtual CPoint getSize() const = 0;
   virtual double getScaleFactor() const = 0;
   virtual void setScaleFactor(double factor) = 0;
};

using PlatformBitmapPtr = SharedPointer<IPlatformBitmap>;

// Names a bitmap file: relative names are looked up in the platform factory's resource folder.
class CResourceDescription {
public:
   CResourceDescription(UTF8StringPtr name) : name(name ? name : "") {}
   const std::string& getName() const { return name; }

private:
   std::string name;
};

class CBitmap : public AtomicReferenceCounted {
public:
   // Loads the PNG; a missing or unreadable file gives a bitmap of width 0 that draws nothing.
   explicit CBitmap(const CResourceDescription& desc);
   // Transparent pixels of the given size in view units, at the given scale factor.
   CBitmap(CCoord width, CCoord height);
   CBitmap(const CPoint& size, double scaleFactor);
   explicit CBitmap(const PlatformBitmapPtr& platformBitmap);
   ~CBitmap() noexcept override;

   virtual void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0),
                     float alpha = 1.f);

   // The size in view units of the first resolution (0 when there are no pixels).
   CCoord getWidth() const;
   CCoord getHeight() const;
   CPoint getSize() const { return {getWidth(), getHeight()}; }
   bool isLoaded() const { return !bitmaps.empty(); }

   const CResourceDescription& getResourceDescription() const { return resourceDesc; }

   // The first resolution (null when nothing was loaded).
   PlatformBitmapPtr getPlatformBitmap() const;
   void setPlatformBitmap(const PlatformBitmapPtr& bitmap);
   // Adds a further resolution of the same image; refused when one with the same scale factor exists.
   bool addBitmap(const PlatformBitmapPtr& platformBitmap);
   PlatformBitmapPtr getBestPlatformBitmapForScaleFactor(double scaleFactor) const;

private:
   CResourceDescription resourceDesc;
   std::vector<PlatformBitmapPtr> bitmaps;
};

} // namespace VSTGUI
