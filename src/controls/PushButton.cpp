#include "controls/PushButton.h"

#include "vstgui/lib/cdrawcontext.h"

using namespace VSTGUI;

PushButton::PushButton(const CRect& size, int32_t tag) : CView(size), font(kSystemFont), tag(tag) {}

void PushButton::setNormalPix(CBitmap* bitmap) {
   normalBitmap = bitmap;
   currentBitmap = bitmap;
   invalid();
}

void PushButton::setPressedPix(CBitmap* bitmap) {
   pressedBitmap = bitmap;
}

void PushButton::draw(CDrawContext* context) {
   const CRect& r = getViewSize();
   const bool heldLook = pressed || on;
   if (normalBitmap && normalBitmap->getWidth() > 0.) {
      if (currentBitmap)
         currentBitmap->draw(context, r, CPoint(0, 0), 1.f);
      if (!title.empty())
         drawCaption(context);
      setDirty(false);
      return;
   }
   context->setDrawMode(kAntiAliasing);
   CColor fill(boxColor);
   fill.alpha = heldLook ? 96 : 64;
   context->setFillColor(fill);
   context->drawRect(r, kDrawFilled);
   CColor stroke(boxColor);
   stroke.alpha = 112;
   context->setFrameColor(heldLook ? CColor(255, 255, 255, 255) : stroke);
   context->setLineWidth(2.);
   CRect inside(r);
   inside.inset(1., 1.);
   context->drawRect(inside, kDrawStroked);
   drawCaption(context);
   // A bitmap whose file was missing draws nothing, but its caption is drawn once more.
   if (currentBitmap) {
      currentBitmap->draw(context, r, CPoint(0, 0), 1.f);
      drawCaption(context);
   }
   setDirty(false);
}

void PushButton::drawCaption(CDrawContext* context) {
   context->setFont(font);
   context->setFontColor(on ? textColorOn : textColor);
   const std::string& caption = on && !titleOn.empty() ? titleOn : title;
   context->drawString(caption.c_str(), getViewSize(), kCenterText, true);
}

CMouseEventResult PushButton::onMouseDown(CPoint&, const CButtonState& buttons) {
   if (buttons.getButtonState() != kLButton)
      return kMouseEventHandled;
   SharedPointer<CView> guard(this); // an action may take this button out of its container
   pressed = true;
   if (toggle)
      on = !on;
   currentBitmap = pressedBitmap;
   value = 1.f;
   if (valueChangedAction)
      valueChangedAction(tag, value);
   invalid();
   runActionFor(buttons);
   return kMouseEventHandled;
}

void PushButton::runActionFor(const CButtonState& buttons) {
   const int32_t modifiers = buttons.getModifierState();
   const EditorAction& action = (modifiers & kShift)     ? shiftAction
                                : (modifiers & kControl) ? controlAction
                                : (modifiers & kAlt)     ? altAction
                                                         : pressedAction;
   if (action)
      action();
}

CMouseEventResult PushButton::onMouseUp(CPoint&, const CButtonState& buttons) {
   if (!buttons.isLeftButton() && !pressed)
      return kMouseEventHandled;
   currentBitmap = on ? pressedBitmap : normalBitmap;
   value = on ? 1.f : 0.f;
   pressed = false;
   invalid();
   return kMouseEventHandled;
}
