#include "controls/MyBitmap.h"

using namespace VSTGUI;

MyBitmap::MyBitmap(const char* fileName, std::initializer_list<const char*> furtherResolutions)
    : CBitmap(CResourceDescription(fileName)) {
   const double baseWidth = getWidth();
   if (baseWidth <= 0.)
      return;
   for (const char* further : furtherResolutions) {
      auto other = makeOwned<CBitmap>(CResourceDescription(further));
      PlatformBitmapPtr pixels = other->getPlatformBitmap();
      if (!pixels)
         continue;
      pixels->setScaleFactor(pixels->getSize().x / baseWidth);
      addBitmap(pixels);
   }
}
