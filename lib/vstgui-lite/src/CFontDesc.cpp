#include "vstgui/lib/cfont.h"

#include "FontMap.h"

#include <pango/pango.h>

namespace VSTGUI {

CFontRef kSystemFont = nullptr;
CFontRef kNormalFontVeryBig = nullptr;
CFontRef kNormalFontBig = nullptr;
CFontRef kNormalFont = nullptr;
CFontRef kNormalFontSmall = nullptr;
CFontRef kNormalFontSmaller = nullptr;
CFontRef kNormalFontVerySmall = nullptr;
CFontRef kSymbolFont = nullptr;

CFontDesc::CFontDesc(const UTF8String& name, const CCoord& size, const int32_t style)
    : name(name), size(size), style(style) {}

CFontDesc::CFontDesc(const CFontDesc& font) : CFontDesc(font.name, font.size, font.style) {}

CFontDesc::~CFontDesc() noexcept {
   invalidatePlatform();
}

void CFontDesc::invalidatePlatform() {
   if (platformDescription)
      pango_font_description_free(static_cast<PangoFontDescription*>(platformDescription));
   platformDescription = nullptr;
}

void CFontDesc::setName(const UTF8String& newName) {
   name = newName;
   invalidatePlatform();
}

void CFontDesc::setSize(CCoord newSize) {
   size = newSize;
   invalidatePlatform();
}

void CFontDesc::setStyle(int32_t newStyle) {
   style = newStyle;
   invalidatePlatform();
}

void* CFontDesc::getPlatformDescription() const {
   if (!platformDescription) {
      PangoFontDescription* desc = pango_font_description_new();
      pango_font_description_set_family(desc, name.empty() ? "sans-serif" : name.data());
      pango_font_description_set_absolute_size(desc, (size > 0. ? size : 12.) * PANGO_SCALE);
      pango_font_description_set_weight(desc, (style & kBoldFace) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
      pango_font_description_set_style(desc, (style & kItalicFace) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
      platformDescription = desc;
   }
   return platformDescription;
}

UTF8String CFontDesc::getResolvedFamily() const {
   PangoContext* context = Fonts::createContext();
   PangoFont* font = pango_font_map_load_font(Fonts::fontMap(), context,
                                              static_cast<PangoFontDescription*>(getPlatformDescription()));
   UTF8String family;
   if (font) {
      PangoFontDescription* resolved = pango_font_describe(font);
      if (const char* f = pango_font_description_get_family(resolved))
         family = f;
      pango_font_description_free(resolved);
      g_object_unref(font);
   }
   g_object_unref(context);
   return family;
}

} // namespace VSTGUI
