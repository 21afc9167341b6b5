#include "controls/TabButton.h"

#include "vstgui/lib/cdrawcontext.h"

using namespace VSTGUI;

TabButton::TabButton(const CRect& size, IControlListener* listener, int32_t tag)
    : CControl(size, listener, tag) {}

void TabButton::setValue(float newValue) {
   if (newValue < 0.f || newValue > 1.f || newValue == value)
      return;
   value = newValue;
   selected = newValue >= 0.5f;
   setDirty(true);
}

void TabButton::draw(CDrawContext* context) {
   const CRect& r = getViewSize();
   CColor frame = useHighlight ? highlightColor : tabColor;
   frame.alpha = selected ? 255 : style == kOutline ? 112 : 32;
   const CColor captionColor = selected ? fontColorSelected : fontColor;

   context->setDrawMode(kAntiAliasing);
   context->setLineWidth(2.);
   context->setFillColor(backColor);
   context->drawRect(r, kDrawFilled);
   switch (style) {
   case kOutline:
      context->setFrameColor(frame);
      context->drawRect(CRect(r.left + 1., r.top + 1., r.right + 1., r.bottom - 1.), kDrawStroked);
      break;
   case kFilled: {
      CRect inside(r);
      inside.inset(1., 1.);
      auto path = owned(context->createRoundRectGraphicsPath(inside, 3.));
      context->setFillColor(frame);
      context->drawGraphicsPath(path, CDrawContext::kPathFilled);
      break;
   }
   case kUnderline:
      context->setFrameColor(frame);
      context->setLineWidth(6.);
      context->drawLine(CPoint(r.left, r.bottom), CPoint(r.right, r.bottom));
      break;
   }

   CRect captionRect(r);
   captionRect.offset(0., -1.);
   if (font)
      context->setFont(font);
   context->setFontColor(captionColor);
   context->drawString(title.c_str(), captionRect, kCenterText, true);
   if (indicator) {
      const double textWidth = context->getStringWidth(title.c_str());
      const CPoint centre(captionRect.getCenter().x - textWidth / 2. - 8., captionRect.getCenter().y);
      context->setFillColor(captionColor);
      context->drawEllipse(CRect(centre.x - 3., centre.y - 3., centre.x + 3., centre.y + 3.), kDrawFilled);
   }
   setDirty(false);
}

CMouseEventResult TabButton::onMouseDown(CPoint&, const CButtonState& buttons) {
   if (buttons.getButtonState() != kLButton || selected)
      return kMouseEventHandled;
   value = 1.f;
   valueChanged();
   invalid();
   return kMouseEventHandled;
}

CMouseEventResult TabButton::onMouseUp(CPoint&, const CButtonState& buttons) {
   // The press set the value without the selection; the release brings the two together. (A release on
   // the tab that was already selected keeps it selected.)
   if (buttons.getButtonState() == kLButton)
      selected = value >= 0.5f;
   invalid();
   return kMouseEventHandled;
}
