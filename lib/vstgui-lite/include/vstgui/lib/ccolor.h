// An 8-bit RGBA colour and its text form "#rrggbbaa".
#pragma once

#include "cstring.h"

#include <cstdint>

namespace VSTGUI {

struct CColor {
   constexpr CColor() = default;
   constexpr CColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 255)
       : red(red), green(green), blue(blue), alpha(alpha) {}

   constexpr bool operator==(const CColor& c) const {
      return red == c.red && green == c.green && blue == c.blue && alpha == c.alpha;
   }
   constexpr bool operator!=(const CColor& c) const { return !(*this == c); }

   // "#" and four pairs of lower-case hexadecimal digits: red, green, blue, alpha.
   UTF8String toString() const;
   // Reads "#rrggbbaa" or "#rrggbb" (alpha 255), hexadecimal digits in either case. Anything else
   // leaves the colour unchanged and answers false.
   bool fromString(UTF8StringPtr text);

   uint8_t red = 0;
   uint8_t green = 0;
   uint8_t blue = 0;
   uint8_t alpha = 255;
};

inline constexpr CColor kTransparentCColor{255, 255, 255, 0};
inline constexpr CColor kBlackCColor{0, 0, 0, 255};
inline constexpr CColor kWhiteCColor{255, 255, 255, 255};
inline constexpr CColor kGreyCColor{127, 127, 127, 255};
inline constexpr CColor kRedCColor{255, 0, 0, 255};
inline constexpr CColor kGreenCColor{0, 255, 0, 255};
inline constexpr CColor kBlueCColor{0, 0, 255, 255};
inline constexpr CColor kYellowCColor{255, 255, 0, 255};
inline constexpr CColor kCyanCColor{0, 255, 255, 255};
inline constexpr CColor kMagentaCColor{255, 0, 255, 255};

} // namespace VSTGUI
