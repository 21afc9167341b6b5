#include "controls/UnitContainer.h"

#include "vstgui/lib/cdrawcontext.h"

using namespace VSTGUI;

namespace {

constexpr CColor outerColor(25, 25, 25, 255);

} // namespace

UnitContainer::UnitContainer(const CRect& size) : CViewContainer(size) {}

void UnitContainer::drawBackgroundRect(CDrawContext* context, const CRect&) {
   context->setDrawMode(kAntiAliasing);
   const CRect local(0., 0., getWidth(), getHeight());
   auto outer = owned(context->createRoundRectGraphicsPath(local, cornerRadius));
   context->setFillColor(outerColor);
   context->drawGraphicsPath(outer, CDrawContext::kPathFilled);
   CRect inside(local);
   inside.inset(1.5, 1.5);
   auto inner = owned(context->createRoundRectGraphicsPath(inside, 4.));
   context->setFillColor(fillColor);
   context->drawGraphicsPath(inner, CDrawContext::kPathFilled);
}
