// The preset-name display: one line of text, left-aligned and vertically centred. Clicks on it are the
// editor's business (its frame hook), not the display's.
#pragma once

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/cfont.h"
#include "vstgui/lib/cview.h"

#include <string>

class TouchDisplay : public VSTGUI::CView {
public:
   explicit TouchDisplay(const VSTGUI::CRect& size);

   void setText(const std::string& newText);
   const std::string& getText() const { return text; }
   void draw(VSTGUI::CDrawContext* context) override;

   VSTGUI::SharedPointer<VSTGUI::CFontDesc> font;
   VSTGUI::CColor fontColor{255, 255, 255, 255};
   bool cleared = false; // draws nothing while set

private:
   std::string text = "0";
};
