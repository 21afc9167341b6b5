// A colour chooser: sliders for red, green, blue, hue, saturation, lightness and alpha, each with an
// optional numeric field, and a preview of the colour over a checkerboard.
#pragma once

#include "../cfont.h"
#include "../cviewcontainer.h"
#include "ccontrol.h"

#include <array>

namespace VSTGUI {

class CColorChooser;
class CTextEdit;

class IColorChooserDelegate {
public:
   virtual ~IColorChooserDelegate() noexcept = default;
   virtual void colorChanged(CColorChooser* chooser, const CColor& color) = 0;
   virtual void onBeginColorChange([[maybe_unused]] CColorChooser* chooser) {}
   virtual void onEndColorChange([[maybe_unused]] CColorChooser* chooser) {}
};

struct CColorChooserUISettings {
   CFontRef font = nullptr; // null: kNormalFontSmall
   CColor fontColor = kWhiteCColor;
   CColor checkerBoardColor1 = kWhiteCColor;
   CColor checkerBoardColor2 = kBlackCColor;
   CPoint margin{5., 5.};
   bool editFieldsVisible = true;
};

class CColorChooser : public CViewContainer, public IControlListener {
public:
   CColorChooser(IColorChooserDelegate* delegate = nullptr, const CColor& initialColor = kBlackCColor,
                 const CColorChooserUISettings& settings = CColorChooserUISettings());

   // Shows a colour without telling the delegate.
   void setColor(const CColor& newColor);
   CColor getColor() const { return color; }

   void setViewSize(const CRect& rect, bool invalid = true) override;
   void valueChanged(CControl* control) override;
   void controlBeginEdit(CControl* control) override;
   void controlEndEdit(CControl* control) override;

   enum Channel { kRed, kGreen, kBlue, kHue, kSaturation, kLightness, kAlpha, kNumChannels };
   // The slider and field of a channel (for layout checks and tests).
   CControl* getSlider(Channel channel) const { return sliders[channel]; }
   CTextEdit* getEditField(Channel channel) const { return editFields[channel]; }

private:
   void layout();
   void setChannel(Channel channel, double value);
   void updateControls();
   void drawBackgroundRect(CDrawContext* context, const CRect& updateRect) override;

   IColorChooserDelegate* delegate;
   CColorChooserUISettings settings;
   CColor color;
   double hue = 0., saturation = 0., lightness = 0.; // kept apart so that hue survives greys
   std::array<CControl*, kNumChannels> sliders{};
   std::array<CTextEdit*, kNumChannels> editFields{};
   CRect previewRect;
   int32_t editDepth = 0;
};

} // namespace VSTGUI
