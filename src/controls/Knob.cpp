#include "controls/Knob.h"

#include "vstgui/lib/cdrawcontext.h"

#include <algorithm>
#include <cmath>

using namespace VSTGUI;

namespace {

constexpr CColor faceColor(38, 41, 46, 255);
constexpr CColor ringColor(80, 80, 80, 255);
constexpr CColor shadeColor(38, 41, 46, 40);
constexpr double startAngle = 145.; // degrees, clockwise from three o'clock
constexpr double sweepAngle = 250.;

} // namespace

Knob::Knob(const CRect& size, IControlListener* listener, int32_t tag) : CControl(size, listener, tag) {
   setMin(0.f);
   setMax(1.f);
   setDefaultValue(0.5f);
}

void Knob::setValue(float newValue) {
   if (newValue < 0.f || newValue > 1.f || newValue == value || isEditing())
      return;
   value = newValue;
   position = newValue * range;
   invalid();
}

void Knob::draw(CDrawContext* context) {
   CRect r(getViewSize());
   r.inset(10., 10.);
   const double radius = r.getWidth() / 2.;
   const CPoint centre = r.getCenter();
   const double lineWidth = getViewSize().getWidth() / 25.;

   context->setDrawMode(kAntiAliasing);
   context->setFillColor(faceColor);
   context->drawEllipse(r, kDrawFilled);

   CRect ring(r);
   ring.inset(3., 3.);
   context->setFrameColor(ringColor);
   context->setLineWidth(2.);
   context->drawEllipse(ring, kDrawStroked);

   context->setFrameColor(arcColor);
   context->setLineWidth(lineWidth);
   context->drawArc(r, static_cast<float>(startAngle), static_cast<float>(startAngle + sweepAngle * value),
                    kDrawStroked);

   const double angle = (startAngle + sweepAngle * value) * M_PI / 180.;
   const CPoint direction(std::cos(angle), std::sin(angle));
   const double inner = 0.75 * radius + 1.;
   const double outer = radius + 1.;
   context->setFrameColor(pointerColor);
   context->setLineWidth(lineWidth / 2.);
   context->drawLine(CPoint(centre.x + direction.x * inner, centre.y + direction.y * inner),
                     CPoint(centre.x + direction.x * outer, centre.y + direction.y * outer));

   CRect shade(r);
   shade.inset(2., 2.);
   context->setFillColor(shadeColor);
   context->drawEllipse(shade, kDrawFilled);
   setDirty(false);
}

CMouseEventResult Knob::onMouseDown(CPoint& where, const CButtonState& buttons) {
   beginEdit();
   // Whatever the host set since the last drag is what the next drag starts from.
   lastNotifiedValue = value;
   const bool leftOnly = buttons.getButtonState() == kLButton;
   if (leftOnly)
      dragAnchorY = static_cast<int>(where.y - getViewSize().top);
   if ((leftOnly && buttons.getModifierState() == kControl) || buttons.isDoubleClick()) {
      value = getDefaultValue();
      position = range * value;
      lastNotifiedValue = value;
      valueChanged();
      invalid();
   }
   return kMouseEventHandled;
}

CMouseEventResult Knob::onMouseMoved(CPoint& where, const CButtonState& buttons) {
   if (!isEditing() || buttons.getButtonState() != kLButton)
      return kMouseEventHandled;
   const int y = static_cast<int>(where.y - getViewSize().top);
   const int delta = dragAnchorY - y;
   dragAnchorY = y;
   const bool fine = buttons.getModifierState() == kShift;
   position += delta * (fine ? 0.125 * sensitivity : sensitivity);
   position = std::clamp(position, 0., static_cast<double>(range));
   value = static_cast<float>(position / range);
   if (value != lastNotifiedValue) {
      lastNotifiedValue = value;
      valueChanged();
      invalid();
   }
   return kMouseEventHandled;
}

CMouseEventResult Knob::onMouseUp(CPoint&, const CButtonState&) {
   endEdit();
   return kMouseEventHandled;
}

CMouseEventResult Knob::onMouseCancel() {
   endEdit();
   return kMouseEventHandled;
}
