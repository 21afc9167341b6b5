#include "controls/TouchDisplay.h"

#include "vstgui/lib/cdrawcontext.h"

using namespace VSTGUI;

TouchDisplay::TouchDisplay(const CRect& size) : CView(size), font(kNormalFont) {}

void TouchDisplay::setText(const std::string& newText) {
   text = newText;
   invalid();
}

void TouchDisplay::draw(CDrawContext* context) {
   context->setFont(font);
   context->setFontColor(fontColor);
   if (!cleared)
      context->drawString(text.c_str(), getViewSize(), kLeftText, true);
   setDirty(false);
}
