// Font descriptions. Families are resolved through fontconfig; a family the system lacks is looked up in
// the font folders registered with the platform factory, and falls back to the default face.
#pragma once

#include "cstring.h"

namespace VSTGUI {

enum CTxtFace : int32_t {
   kNormalFace = 0,
   kBoldFace = 1 << 1,
   kItalicFace = 1 << 2,
   kUnderlineFace = 1 << 3,
   kStrikethroughFace = 1 << 4,
};

class CFontDesc : public AtomicReferenceCounted {
public:
   // size is the height of the em square in view units (pixels at zoom 1).
   CFontDesc(const UTF8String& name = "", const CCoord& size = 0, const int32_t style = 0);
   CFontDesc(const CFontDesc& font);
   ~CFontDesc() noexcept override;
   CFontDesc& operator=(const CFontDesc&) = delete;

   const UTF8String& getName() const { return name; }
   const CCoord& getSize() const { return size; }
   const int32_t& getStyle() const { return style; }
   void setName(const UTF8String& newName);
   void setSize(CCoord newSize);
   void setStyle(int32_t newStyle);

   // The family fontconfig resolves this description to (for diagnostics and tests).
   UTF8String getResolvedFamily() const;
   // The description in pango's form; owned by the font (internal).
   void* getPlatformDescription() const;

private:
   void invalidatePlatform();

   UTF8String name;
   CCoord size;
   int32_t style;
   mutable void* platformDescription = nullptr;
};

using CFontRef = CFontDesc*;

// The toolkit's stock fonts, set up by VSTGUI::init and released by VSTGUI::exit. Views that are given
// no font use kNormalFont.
extern CFontRef kSystemFont;
extern CFontRef kNormalFontVeryBig;
extern CFontRef kNormalFontBig;
extern CFontRef kNormalFont;
extern CFontRef kNormalFontSmall;
extern CFontRef kNormalFontSmaller;
extern CFontRef kNormalFontVerySmall;
extern CFontRef kSymbolFont;

} // namespace VSTGUI
