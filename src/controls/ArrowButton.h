// A flat triangle that runs an editor action when pressed: the previous/next preset arrows and the arrow of
// the preset menu. Grey when idle, lighter while held, in between while the pointer is over it.
#pragma once

#include "controls/EditorAction.h"

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/cview.h"

class ArrowButton : public VSTGUI::CView {
public:
   enum Direction { kLeft = 0, kRight = 1, kDown = 2 };

   explicit ArrowButton(const VSTGUI::CRect& size);

   void draw(VSTGUI::CDrawContext* context) override;
   VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
   VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;
   VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint& where,
                                            const VSTGUI::CButtonState& buttons) override;
   VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint& where,
                                           const VSTGUI::CButtonState& buttons) override;

   EditorAction action;
   int direction = kLeft;
   VSTGUI::CColor colorNormal{100, 100, 100, 255};
   VSTGUI::CColor colorPressed{176, 176, 176, 255};
   VSTGUI::CColor colorHover{150, 150, 150, 255};

private:
   bool held = false; // which of colorNormal and colorPressed is the state colour
   bool hovered = false;
};
