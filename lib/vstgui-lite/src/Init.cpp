#include "FontMap.h"

#include "vstgui/lib/cfont.h"
#include "vstgui/lib/platform/linux/linuxfactory.h"
#include "vstgui/lib/vstguiinit.h"

namespace VSTGUI {

namespace {

int initCount = 0;
LinuxFactory* factory = nullptr;

void releaseFont(CFontRef& font) {
   if (font)
      font->forget();
   font = nullptr;
}

} // namespace

IPlatformFactory& getPlatformFactory() {
   if (!factory)
      factory = new LinuxFactory();
   return *factory;
}

void LinuxFactory::setResourcePath(const std::string& path) const {
   resourcePath = path;
   std::string fonts = path;
   if (!fonts.empty() && fonts.back() != '/')
      fonts += '/';
   Fonts::addFontFolder(fonts + "Fonts/");
}

void init(void*) {
   if (initCount++ > 0)
      return;
   getPlatformFactory();
   kSystemFont = new CFontDesc("sans-serif", 12);
   kNormalFontVeryBig = new CFontDesc("sans-serif", 18);
   kNormalFontBig = new CFontDesc("sans-serif", 14);
   kNormalFont = new CFontDesc("sans-serif", 12);
   kNormalFontSmall = new CFontDesc("sans-serif", 11);
   kNormalFontSmaller = new CFontDesc("sans-serif", 10);
   kNormalFontVerySmall = new CFontDesc("sans-serif", 9);
   kSymbolFont = new CFontDesc("Symbol", 12);
}

void exit() {
   if (initCount == 0 || --initCount > 0)
      return;
   for (CFontRef* font : {&kSystemFont, &kNormalFontVeryBig, &kNormalFontBig, &kNormalFont, &kNormalFontSmall,
                          &kNormalFontSmaller, &kNormalFontVerySmall, &kSymbolFont})
      releaseFont(*font);
   delete factory;
   factory = nullptr;
   Fonts::shutdown();
}

} // namespace VSTGUI
