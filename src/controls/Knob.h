// The parameter knob: a dark face with a ring, a value arc from 145° clockwise over up to 250° (lower left
// round to lower right) and a pointer at the arc's end. A vertical drag moves it, 128 pixels for the whole
// range (1024 with Shift); Control-click or double-click puts it back to its default.
#pragma once

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/controls/ccontrol.h"

class Knob : public VSTGUI::CControl {
public:
   Knob(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, int32_t tag);

   // Host values: ignored outside 0 ... 1 and while the user drags the knob.
   void setValue(float value) override;

   void draw(VSTGUI::CDrawContext* context) override;
   VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
   VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint& where,
                                          const VSTGUI::CButtonState& buttons) override;
   VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
   VSTGUI::CMouseEventResult onMouseCancel() override;

   VSTGUI::CColor arcColor{210, 150, 40, 255};
   VSTGUI::CColor pointerColor{210, 150, 40, 255};

private:
   int dragAnchorY = 0;      // last mouse y during a drag, relative to the knob's top
   double sensitivity = 0.5; // position units per pixel
   double position = 0.;     // 0 ... range
   int range = 64;           // position units for the whole value range
   float lastNotifiedValue = 0.f;
};
