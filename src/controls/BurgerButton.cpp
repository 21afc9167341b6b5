#include "controls/BurgerButton.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"

using namespace VSTGUI;

namespace {

constexpr CColor barColor(105, 105, 105, 255);

} // namespace

BurgerButton::BurgerButton(const CRect& size) : CView(size) {}

void BurgerButton::draw(CDrawContext* context) {
   context->setDrawMode(kAntiAliasing);
   const CRect& r = getViewSize();
   if (CBitmap* background = getBackground())
      background->draw(context, r);
   const double h = r.getHeight() / 7.;
   context->setFillColor(barColor);
   for (const int bar : {1, 3, 5}) {
      auto path = owned(context->createRoundRectGraphicsPath(
          CRect(r.left + 2., r.top + bar * h, r.right - 2., r.top + (bar + 1) * h), 3.));
      context->drawGraphicsPath(path, CDrawContext::kPathFilled);
   }
   setDirty(false);
}

CMouseEventResult BurgerButton::onMouseDown(CPoint&, const CButtonState& buttons) {
   if (buttons.getButtonState() != kLButton)
      return kMouseEventHandled;
   invalid();
   if (action) {
      SharedPointer<CView> guard(this); // the action may take this button out of its container
      action();
   }
   return kMouseEventHandled;
}
