#include "vstgui/lib/controls/ccontrol.h"

#include "vstgui/lib/cframe.h"

#include <algorithm>

namespace VSTGUI {

CControl::CControl(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background)
    : CView(size), listener(listener), tag(tag) {
   if (background)
      setBackground(background);
}

void CControl::setValue(float val) {
   val = std::clamp(val, std::min(vmin, vmax), std::max(vmin, vmax));
   if (val == value)
      return;
   value = val;
   invalid();
}

void CControl::setValueNormalized(float val) {
   val = std::clamp(val, 0.f, 1.f);
   setValue(vmin + val * (vmax - vmin));
}

float CControl::getValueNormalized() const {
   const float range = getRange();
   return range == 0.f ? 0.f : (value - vmin) / range;
}

void CControl::bounceValue() {
   value = std::clamp(value, std::min(vmin, vmax), std::max(vmin, vmax));
}

void CControl::beginEdit() {
   if (editing++ > 0)
      return;
   SharedPointer<CControl> guard(this);
   if (CFrame* frame = getFrame(); frame && tag >= 0)
      if (auto* editor = frame->getEditor())
         editor->beginEdit(tag);
   if (listener)
      listener->controlBeginEdit(this);
}

void CControl::endEdit() {
   if (editing == 0 || --editing > 0)
      return;
   SharedPointer<CControl> guard(this);
   if (listener)
      listener->controlEndEdit(this);
   if (CFrame* frame = getFrame(); frame && tag >= 0)
      if (auto* editor = frame->getEditor())
         editor->endEdit(tag);
}

void CControl::valueChanged() {
   if (listener)
      listener->valueChanged(this);
}

} // namespace VSTGUI
