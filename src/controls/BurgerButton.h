// The three-bar button that opens the settings page: three grey rounded bars, an editor action on a click.
#pragma once

#include "controls/EditorAction.h"

#include "vstgui/lib/cview.h"

class BurgerButton : public VSTGUI::CView {
public:
   explicit BurgerButton(const VSTGUI::CRect& size);

   void draw(VSTGUI::CDrawContext* context) override;
   VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where, const VSTGUI::CButtonState& buttons) override;

   EditorAction action;
};
