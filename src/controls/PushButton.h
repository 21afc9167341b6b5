// A button of the settings page. With a usable normal bitmap it shows its normal or held image; without
// one it draws a translucent box in boxColor. A plain left press runs pressedAction at once; a press with
// Shift, Control or Alt held runs that modifier's action instead. In toggle mode each press flips it on
// or off, and "on" looks held.
#pragma once

#include "controls/EditorAction.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/cfont.h"
#include "vstgui/lib/cview.h"

#include <functional>
#include <string>

class PushButton : public VSTGUI::CView {
public:
   PushButton(const VSTGUI::CRect& size, int32_t tag);

   // Sets the normal image and shows it.
   void setNormalPix(VSTGUI::CBitmap* bitmap);
   void setPressedPix(VSTGUI::CBitmap* bitmap);

   void draw(VSTGUI::CDrawContext* context) override;
   VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
   VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;

   int32_t getTag() const { return tag; }
   bool isPressed() const { return pressed; }
   float getValue() const { return value; }
   bool isOn() const { return on; }

   EditorAction pressedAction;
   EditorAction shiftAction;
   EditorAction controlAction;
   EditorAction altAction;
   std::function<void(int32_t tag, float value)> valueChangedAction;

   std::string title;
   std::string titleOn; // shown instead of title while a toggle is on, when not empty
   VSTGUI::CColor textColor{0, 80, 0, 255};
   VSTGUI::CColor textColorOn{180, 180, 180, 255};
   VSTGUI::CColor boxColor{28, 172, 245, 255};
   VSTGUI::SharedPointer<VSTGUI::CFontDesc> font;
   bool toggle = false;

private:
   void drawCaption(VSTGUI::CDrawContext* context);
   void runActionFor(const VSTGUI::CButtonState& buttons);

   const int32_t tag;
   VSTGUI::SharedPointer<VSTGUI::CBitmap> normalBitmap;
   VSTGUI::SharedPointer<VSTGUI::CBitmap> pressedBitmap;
   VSTGUI::CBitmap* currentBitmap = nullptr; // one of the two above
   bool pressed = false;
   bool on = false;
   float value = 0.f;
};
