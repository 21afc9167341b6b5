#include "controls/ArrowButton.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"

using namespace VSTGUI;

ArrowButton::ArrowButton(const CRect& size) : CView(size) {}

void ArrowButton::draw(CDrawContext* context) {
   context->setDrawMode(kAntiAliasing);
   if (CBitmap* background = getBackground())
      background->draw(context, getViewSize());
   context->setFillColor(hovered ? colorHover : held ? colorPressed : colorNormal);
   CRect r(getViewSize());
   r.left += 2.;
   r.right -= 2.;
   r.top += 10.;
   r.bottom -= 10.;
   const CPoint centre = r.getCenter();
   switch (direction) {
   case kLeft:
      context->drawPolygon({CPoint(r.left, centre.y), CPoint(r.right, r.top), CPoint(r.right, r.bottom)},
                           kDrawFilled);
      break;
   case kRight:
      context->drawPolygon({CPoint(r.left, r.top), CPoint(r.right, centre.y), CPoint(r.left, r.bottom)},
                           kDrawFilled);
      break;
   case kDown:
      context->drawPolygon({CPoint(r.left, r.top), CPoint(centre.x, r.bottom), CPoint(r.right, r.top)},
                           kDrawFilled);
      break;
   }
   setDirty(false);
}

CMouseEventResult ArrowButton::onMouseDown(CPoint&, const CButtonState& buttons) {
   if (buttons.getButtonState() != kLButton)
      return kMouseEventHandled;
   held = true;
   invalid();
   if (action) {
      SharedPointer<CView> guard(this); // the action may take this button out of its container
      action();
   }
   return kMouseEventHandled;
}

CMouseEventResult ArrowButton::onMouseUp(CPoint&, const CButtonState&) {
   held = false;
   invalid();
   return kMouseEventHandled;
}

CMouseEventResult ArrowButton::onMouseEntered(CPoint&, const CButtonState&) {
   hovered = true;
   invalid();
   return kMouseEventHandled;
}

CMouseEventResult ArrowButton::onMouseExited(CPoint&, const CButtonState&) {
   hovered = false;
   invalid();
   return kMouseEventHandled;
}
