// A rounded dark panel behind the preset display and the selectors: a near-black outer shape with an inner
// rounded fill 1.5 pixels in, then the children on top.
#pragma once

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/cviewcontainer.h"

class UnitContainer : public VSTGUI::CViewContainer {
public:
   explicit UnitContainer(const VSTGUI::CRect& size);

   void drawBackgroundRect(VSTGUI::CDrawContext* context, const VSTGUI::CRect& updateRect) override;

   VSTGUI::CColor fillColor{55, 55, 75, 255};
   double cornerRadius = 0.;
};
