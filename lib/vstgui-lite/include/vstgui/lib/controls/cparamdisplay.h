// A control that shows a text: a background colour or bitmap, a frame and the text in a font, colour and
// alignment. The base of labels, option menus and text edits.
#pragma once

#include "../ccolor.h"
#include "../cdrawcontext.h"
#include "../cfont.h"
#include "../cstring.h"
#include "ccontrol.h"

namespace VSTGUI {

// Style bits of text views and option menus.
enum CParamDisplayStyle : int32_t {
   k3DIn = 1 << 0,
   k3DOut = 1 << 1,
   kShadowText = 1 << 2,
   kNoTextStyle = 1 << 3,
   kNoDrawStyle = 1 << 4,
   kRoundRectStyle = 1 << 5,
   kNoFrame = 1 << 6,
   // Option menus: the current entry is ticked while the menu is open.
   kCheckStyle = 1 << 9,
   // Option menus: entries are ticked by their own checked flag.
   kMultipleCheckStyle = 1 << 10,
};

class CParamDisplay : public CControl {
public:
   CParamDisplay(const CRect& size, CBitmap* background = nullptr, int32_t style = 0);
   ~CParamDisplay() noexcept override;

   virtual void setFont(CFontRef fontID);
   CFontRef getFont() const;
   virtual void setFontColor(const CColor& color);
   CColor getFontColor() const { return fontColor; }
   virtual void setBackColor(const CColor& color);
   CColor getBackColor() const { return backColor; }
   virtual void setFrameColor(const CColor& color);
   CColor getFrameColor() const { return frameColor; }
   virtual void setShadowColor(const CColor& color);
   CColor getShadowColor() const { return shadowColor; }
   virtual void setHoriAlign(CHoriTxtAlign align);
   CHoriTxtAlign getHoriAlign() const { return horiAlign; }
   virtual void setTextInset(const CPoint& inset);
   CPoint getTextInset() const { return textInset; }
   virtual void setStyle(int32_t newStyle);
   int32_t getStyle() const { return style; }
   void setAntialias(bool state) { antialias = state; }
   bool getAntialias() const { return antialias; }
   void setRoundRectRadius(CCoord radius) { roundRectRadius = radius; }
   CCoord getRoundRectRadius() const { return roundRectRadius; }
   void setFrameWidth(CCoord width) { frameWidth = width; }
   CCoord getFrameWidth() const { return frameWidth; }

   void draw(CDrawContext* context) override;

protected:
   // The text shown; the value with two decimals for a plain display.
   virtual UTF8String getDisplayString() const;
   void drawBack(CDrawContext* context);
   void drawPlatformText(CDrawContext* context, UTF8StringPtr string, const CRect& rect);

   int32_t style;

private:
   SharedPointer<CFontDesc> font;
   CColor fontColor{255, 255, 255, 255};
   CColor backColor{0, 0, 0, 255};
   CColor frameColor{0, 0, 0, 255};
   CColor shadowColor{255, 255, 255, 255};
   CHoriTxtAlign horiAlign = kCenterText;
   CPoint textInset;
   CCoord roundRectRadius = 6.;
   CCoord frameWidth = 1.;
   bool antialias = true;
};

} // namespace VSTGUI
