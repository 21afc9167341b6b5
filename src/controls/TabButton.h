// One tab of a TabView: a caption on a frame that is solid when the tab is selected and faint otherwise.
// Value 1 means selected. A left press on a tab that is not selected tells the listener (the tab view).
#pragma once

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/cfont.h"
#include "vstgui/lib/controls/ccontrol.h"

#include <string>

class TabButton : public VSTGUI::CControl {
public:
   enum TabStyle { kOutline = 0, kFilled = 1, kUnderline = 2 };

   TabButton(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, int32_t tag);

   // Ignored outside 0 ... 1; 0.5 and above selects.
   void setValue(float value) override;
   bool isSelected() const { return selected; }

   void draw(VSTGUI::CDrawContext* context) override;
   VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
   VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;

   std::string title;
   VSTGUI::SharedPointer<VSTGUI::CFontDesc> font;
   VSTGUI::CColor fontColor{255, 255, 255, 255};
   VSTGUI::CColor fontColorSelected{255, 255, 255, 255};
   VSTGUI::CColor backColor{255, 255, 255, 0};
   VSTGUI::CColor tabColor{255, 255, 255, 255};
   VSTGUI::CColor highlightColor{0, 143, 214, 254};
   bool useHighlight = true;
   TabStyle style = kFilled;
   bool indicator = false; // a small dot left of the caption

private:
   bool selected = false;
};
