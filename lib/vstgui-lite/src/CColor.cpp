#include "vstgui/lib/ccolor.h"

#include <cstdio>
#include <cstring>

namespace VSTGUI {

UTF8String CColor::toString() const {
   char text[10];
   std::snprintf(text, sizeof(text), "#%02x%02x%02x%02x", red, green, blue, alpha);
   return UTF8String(text);
}

namespace {

int hexDigit(char c) {
   if (c >= '0' && c <= '9')
      return c - '0';
   if (c >= 'a' && c <= 'f')
      return c - 'a' + 10;
   if (c >= 'A' && c <= 'F')
      return c - 'A' + 10;
   return -1;
}

} // namespace

bool CColor::fromString(UTF8StringPtr text) {
   if (!text || text[0] != '#')
      return false;
   const size_t length = std::strlen(text + 1);
   if (length != 6 && length != 8)
      return false;
   uint8_t channels[4] = {0, 0, 0, 255};
   for (size_t i = 0; i < length / 2; ++i) {
      const int high = hexDigit(text[1 + 2 * i]), low = hexDigit(text[2 + 2 * i]);
      if (high < 0 || low < 0)
         return false;
      channels[i] = static_cast<uint8_t>(high * 16 + low);
   }
   red = channels[0];
   green = channels[1];
   blue = channels[2];
   alpha = channels[3];
   return true;
}

} // namespace VSTGUI
