#include "vstgui/lib/controls/cparamdisplay.h"

#include <cstdio>

namespace VSTGUI {

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, int32_t style)
    : CControl(size, nullptr, -1, background), style(style), font(kNormalFont) {}

CParamDisplay::~CParamDisplay() noexcept = default;

void CParamDisplay::setFont(CFontRef fontID) {
   font = fontID;
   invalid();
}

CFontRef CParamDisplay::getFont() const {
   return font ? font.get() : kNormalFont;
}

void CParamDisplay::setFontColor(const CColor& color) {
   fontColor = color;
   invalid();
}

void CParamDisplay::setBackColor(const CColor& color) {
   backColor = color;
   invalid();
}

void CParamDisplay::setFrameColor(const CColor& color) {
   frameColor = color;
   invalid();
}

void CParamDisplay::setShadowColor(const CColor& color) {
   shadowColor = color;
   invalid();
}

void CParamDisplay::setHoriAlign(CHoriTxtAlign align) {
   horiAlign = align;
   invalid();
}

void CParamDisplay::setTextInset(const CPoint& inset) {
   textInset = inset;
   invalid();
}

void CParamDisplay::setStyle(int32_t newStyle) {
   style = newStyle;
   invalid();
}

UTF8String CParamDisplay::getDisplayString() const {
   char text[32];
   std::snprintf(text, sizeof(text), "%.2f", static_cast<double>(value));
   return UTF8String(text);
}

void CParamDisplay::draw(CDrawContext* context) {
   if (!(style & kNoDrawStyle)) {
      drawBack(context);
      if (!(style & kNoTextStyle))
         drawPlatformText(context, getDisplayString(), size);
   }
   setDirty(false);
}

void CParamDisplay::drawBack(CDrawContext* context) {
   if (CBitmap* bitmap = getBackground()) {
      bitmap->draw(context, size);
      return;
   }
   if (getTransparency())
      return;
   context->setDrawMode(kAntiAliasing);
   context->setFillColor(backColor);
   context->setFrameColor(frameColor);
   context->setLineWidth(frameWidth);
   const bool framed = !(style & (kNoFrame | k3DIn | k3DOut));
   if (style & kRoundRectStyle) {
      auto path = owned(context->createRoundRectGraphicsPath(size, roundRectRadius));
      context->drawGraphicsPath(path, CDrawContext::kPathFilled);
      if (framed)
         context->drawGraphicsPath(path, CDrawContext::kPathStroked);
      return;
   }
   context->setDrawMode(kAliasing);
   context->drawRect(size, kDrawFilled);
   if (framed)
      context->drawRect(CRect(size.left, size.top, size.right - 1., size.bottom - 1.), kDrawStroked);
   if (style & (k3DIn | k3DOut)) {
      // A bevel: dark edges on one side, light on the other.
      const CColor dark(0, 0, 0, 160), light(255, 255, 255, 96);
      const CRect r(size.left, size.top, size.right - 1., size.bottom - 1.);
      context->setFrameColor((style & k3DIn) ? dark : light);
      context->drawLines({{r.getBottomLeft(), r.getTopLeft()}, {r.getTopLeft(), r.getTopRight()}});
      context->setFrameColor((style & k3DIn) ? light : dark);
      context->drawLines({{r.getTopRight(), r.getBottomRight()}, {r.getBottomRight(), r.getBottomLeft()}});
   }
}

void CParamDisplay::drawPlatformText(CDrawContext* context, UTF8StringPtr string, const CRect& rect) {
   if (!string || !*string)
      return;
   context->saveGlobalState();
   CRect clip;
   context->getClipRect(clip);
   clip.bound(rect);
   context->setClipRect(clip);
   CRect textRect(rect);
   textRect.inset(textInset.x, textInset.y);
   context->setDrawMode(antialias ? kAntiAliasing : kAliasing);
   context->setFont(getFont());
   if (style & kShadowText) {
      context->setFontColor(shadowColor);
      context->drawString(string, CRect(textRect).offset(1., 1.), horiAlign, antialias);
   }
   context->setFontColor(fontColor);
   context->drawString(string, textRect, horiAlign, antialias);
   context->restoreGlobalState();
}

} // namespace VSTGUI
