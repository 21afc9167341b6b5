// A view with a value between a minimum and a maximum, a tag and a listener. Edits are bracketed by
// beginEdit/endEdit, which reach the listener and, for a control with a tag (0 or more), the frame's
// editor (beginEdit/endEdit with the tag).
#pragma once

#include "../cview.h"
#include "icontrollistener.h"

namespace VSTGUI {

class CControl : public CView {
public:
   CControl(const CRect& size, IControlListener* listener = nullptr, int32_t tag = -1,
            CBitmap* background = nullptr);

   virtual void setValue(float val);
   virtual float getValue() const { return value; }
   // The value mapped to 0 ... 1 over the range.
   virtual void setValueNormalized(float val);
   virtual float getValueNormalized() const;
   virtual void setMin(float val) { vmin = val; }
   virtual float getMin() const { return vmin; }
   virtual void setMax(float val) { vmax = val; }
   virtual float getMax() const { return vmax; }
   float getRange() const { return vmax - vmin; }
   virtual void setDefaultValue(float val) { defaultValue = val; }
   virtual float getDefaultValue() const { return defaultValue; }
   // Clamps the value into the range.
   virtual void bounceValue();

   virtual void setTag(int32_t val) { tag = val; }
   virtual int32_t getTag() const { return tag; }
   IControlListener* getListener() const { return listener; }
   void setListener(IControlListener* l) { listener = l; }

   // Gestures may nest; the editor and the listener hear the outermost begin and end.
   virtual void beginEdit();
   virtual void endEdit();
   bool isEditing() const { return editing > 0; }
   // Tells the listener that the value changed.
   virtual void valueChanged();

protected:
   IControlListener* listener;
   int32_t tag;
   float value = 0.f;
   float vmin = 0.f;
   float vmax = 1.f;
   float defaultValue = 0.5f;

private:
   int32_t editing = 0;
};

} // namespace VSTGUI
