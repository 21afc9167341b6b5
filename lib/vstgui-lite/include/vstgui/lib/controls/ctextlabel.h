// A display of a fixed text.
#pragma once

#include "cparamdisplay.h"

namespace VSTGUI {

class CTextLabel : public CParamDisplay {
public:
   CTextLabel(const CRect& size, UTF8StringPtr txt = nullptr, CBitmap* background = nullptr,
              const int32_t style = 0);

   virtual void setText(const UTF8String& txt);
   virtual const UTF8String& getText() const { return text; }

protected:
   UTF8String getDisplayString() const override { return text; }

   UTF8String text;
};

} // namespace VSTGUI
