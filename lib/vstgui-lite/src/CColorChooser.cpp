#include "vstgui/lib/controls/ccolorchooser.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/controls/ctextedit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace VSTGUI {

namespace {

constexpr const char* channelNames[] = {"R", "G", "B", "H", "S", "L", "A"};
// What the numeric field shows for the full range of each channel.
constexpr double channelScale[] = {255., 255., 255., 360., 100., 100., 255.};
constexpr double checkerSize = 4.;

void drawCheckerboard(CDrawContext* context, const CRect& rect, const CColor& a, const CColor& b) {
   context->setFillColor(a);
   context->drawRect(rect, kDrawFilled);
   context->setFillColor(b);
   for (double y = rect.top; y < rect.bottom; y += checkerSize)
      for (double x = rect.left + (std::fmod((y - rect.top) / checkerSize, 2.) >= 1. ? checkerSize : 0.);
           x < rect.right; x += 2. * checkerSize)
         context->drawRect(
             CRect(x, y, std::min(x + checkerSize, rect.right), std::min(y + checkerSize, rect.bottom)),
             kDrawFilled);
}

double hueToChannel(double p, double q, double t) {
   t -= std::floor(t);
   if (t < 1. / 6.)
      return p + (q - p) * 6. * t;
   if (t < 0.5)
      return q;
   if (t < 2. / 3.)
      return p + (q - p) * (2. / 3. - t) * 6.;
   return p;
}

// h in degrees, s and l in 0 ... 1.
CColor fromHSL(double h, double s, double l, uint8_t alpha) {
   double r = l, g = l, b = l;
   if (s > 0.) {
      const double q = l < 0.5 ? l * (1. + s) : l + s - l * s;
      const double p = 2. * l - q;
      const double t = h / 360.;
      r = hueToChannel(p, q, t + 1. / 3.);
      g = hueToChannel(p, q, t);
      b = hueToChannel(p, q, t - 1. / 3.);
   }
   const auto byte = [](double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0., 1.) * 255.)); };
   return CColor(byte(r), byte(g), byte(b), alpha);
}

void toHSL(const CColor& c, double& h, double& s, double& l) {
   const double r = c.red / 255., g = c.green / 255., b = c.blue / 255.;
   const double maxV = std::max({r, g, b}), minV = std::min({r, g, b});
   l = (maxV + minV) / 2.;
   const double d = maxV - minV;
   if (d <= 0.) {
      s = 0.; // a grey keeps the hue it had
      return;
   }
   s = l > 0.5 ? d / (2. - maxV - minV) : d / (maxV + minV);
   if (maxV == r)
      h = 60. * std::fmod((g - b) / d + 6., 6.);
   else if (maxV == g)
      h = 60. * ((b - r) / d + 2.);
   else
      h = 60. * ((r - g) / d + 4.);
}

} // namespace

// A horizontal slider showing the colours its channel runs through, with the others held.
class ColorChannelSlider final : public CControl {
public:
   ColorChannelSlider(CColorChooser* chooser, CColorChooser::Channel channel,
                      const CColorChooserUISettings& settings)
       : CControl(CRect(), chooser, -1), chooser(chooser), channel(channel), settings(settings) {}

   void draw(CDrawContext* context) override {
      const CRect r(size);
      context->setDrawMode(kAliasing);
      drawCheckerboard(context, r, settings.checkerBoardColor1, settings.checkerBoardColor2);
      const int steps = std::max(1, static_cast<int>(r.getWidth() / 2.));
      for (int i = 0; i < steps; ++i) {
         const double t0 = static_cast<double>(i) / steps, t1 = static_cast<double>(i + 1) / steps;
         context->setFillColor(colorAt((t0 + t1) / 2.));
         context->drawRect(CRect(r.left + r.getWidth() * t0, r.top, r.left + r.getWidth() * t1, r.bottom),
                           kDrawFilled);
      }
      const double x = std::round(r.left + value * (r.getWidth() - 1.));
      context->setLineWidth(1.);
      context->setFrameColor(kBlackCColor);
      context->drawRect(CRect(x - 2., r.top, x + 2., r.bottom - 1.), kDrawStroked);
      context->setFrameColor(kWhiteCColor);
      context->drawLine(CPoint(x, r.top + 1.), CPoint(x, r.bottom - 2.));
      setDirty(false);
   }

   CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override {
      if (buttons.getButtonState() != kLButton)
         return kMouseEventNotHandled;
      beginEdit();
      track(where);
      return kMouseEventHandled;
   }
   CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override {
      if (isEditing() && (buttons & kLButton))
         track(where);
      return kMouseEventHandled;
   }
   CMouseEventResult onMouseUp(CPoint&, const CButtonState&) override {
      endEdit();
      return kMouseEventHandled;
   }
   CMouseEventResult onMouseCancel() override {
      endEdit();
      return kMouseEventHandled;
   }

private:
   void track(const CPoint& where) {
      const float v =
          static_cast<float>(std::clamp((where.x - size.left) / std::max(1., getWidth() - 1.), 0., 1.));
      if (v == value)
         return;
      setValue(v);
      valueChanged();
   }

   CColor colorAt(double t) const {
      const CColor c = chooser->getColor();
      const auto byte = static_cast<uint8_t>(std::lround(t * 255.));
      double h, s, l;
      toHSL(c, h, s, l);
      switch (channel) {
      case CColorChooser::kRed:
         return CColor(byte, c.green, c.blue, 255);
      case CColorChooser::kGreen:
         return CColor(c.red, byte, c.blue, 255);
      case CColorChooser::kBlue:
         return CColor(c.red, c.green, byte, 255);
      case CColorChooser::kHue:
         return fromHSL(t * 360., 1., 0.5, 255);
      case CColorChooser::kSaturation:
         return fromHSL(h, t, 0.5, 255);
      case CColorChooser::kLightness:
         return fromHSL(h, s, t, 255);
      default:
         return CColor(c.red, c.green, c.blue, byte);
      }
   }

   CColorChooser* chooser;
   CColorChooser::Channel channel;
   CColorChooserUISettings settings;
};

CColorChooser::CColorChooser(IColorChooserDelegate* delegate, const CColor& initialColor,
                             const CColorChooserUISettings& uiSettings)
    : CViewContainer(CRect(0, 0, 300, 180)), delegate(delegate), settings(uiSettings) {
   setTransparency(true);
   for (int i = 0; i < kNumChannels; ++i) {
      const auto channel = static_cast<Channel>(i);
      auto* label = new CTextLabel(CRect(), channelNames[i]);
      label->setTransparency(true);
      label->setFont(settings.font ? settings.font : kNormalFontSmall);
      label->setFontColor(settings.fontColor);
      label->setMouseEnabled(false);
      addView(label);
      sliders[i] = new ColorChannelSlider(this, channel, settings);
      addView(sliders[i]);
      editFields[i] = new CTextEdit(CRect(), this, -1);
      editFields[i]->setFont(settings.font ? settings.font : kNormalFontSmall);
      editFields[i]->setFontColor(settings.fontColor);
      editFields[i]->setBackColor(CColor(30, 30, 30, 255));
      editFields[i]->setFrameColor(CColor(90, 90, 90, 255));
      editFields[i]->setVisible(settings.editFieldsVisible);
      addView(editFields[i]);
   }
   setColor(initialColor);
   layout();
}

void CColorChooser::setViewSize(const CRect& rect, bool doInvalid) {
   CViewContainer::setViewSize(rect, doInvalid);
   layout();
}

void CColorChooser::layout() {
   const double m = settings.margin.x, my = settings.margin.y;
   const double w = getWidth(), h = getHeight();
   const double previewWidth = std::min(40., w * 0.2);
   previewRect = CRect(m, my, m + previewWidth, h - my);
   const double gap = 2., rows = static_cast<double>(kNumChannels);
   const double rowHeight = std::max(1., (h - 2. * my - gap * (rows - 1.)) / rows);
   const double labelLeft = previewRect.right + m, labelWidth = 14.;
   const double editWidth = settings.editFieldsVisible ? 40. : 0.;
   const double sliderLeft = labelLeft + labelWidth + 4.;
   const double sliderRight = w - m - (editWidth > 0. ? editWidth + 4. : 0.);
   for (int i = 0; i < kNumChannels; ++i) {
      const double top = my + i * (rowHeight + gap);
      getView(static_cast<uint32_t>(3 * i))
          ->setViewSize(CRect(labelLeft, top, labelLeft + labelWidth, top + rowHeight));
      sliders[i]->setViewSize(CRect(sliderLeft, top, sliderRight, top + rowHeight));
      editFields[i]->setViewSize(CRect(w - m - editWidth, top, w - m, top + rowHeight));
   }
   invalid();
}

void CColorChooser::setColor(const CColor& newColor) {
   color = newColor;
   toHSL(color, hue, saturation, lightness);
   updateControls();
}

void CColorChooser::setChannel(Channel channel, double v) {
   v = std::clamp(v, 0., 1.);
   const auto byte = static_cast<uint8_t>(std::lround(v * 255.));
   switch (channel) {
   case kRed:
      color.red = byte;
      break;
   case kGreen:
      color.green = byte;
      break;
   case kBlue:
      color.blue = byte;
      break;
   case kAlpha:
      color.alpha = byte;
      break;
   case kHue:
      hue = v * 360.;
      break;
   case kSaturation:
      saturation = v;
      break;
   case kLightness:
      lightness = v;
      break;
   default:
      break;
   }
   if (channel == kHue || channel == kSaturation || channel == kLightness)
      color = fromHSL(hue, saturation, lightness, color.alpha);
   else if (channel != kAlpha)
      toHSL(color, hue, saturation, lightness);
   updateControls();
   if (delegate)
      delegate->colorChanged(this, color);
}

void CColorChooser::updateControls() {
   const double values[kNumChannels] = {color.red / 255., color.green / 255., color.blue / 255., hue / 360.,
                                        saturation,       lightness,          color.alpha / 255.};
   for (int i = 0; i < kNumChannels; ++i) {
      sliders[i]->setValue(static_cast<float>(values[i]));
      sliders[i]->invalid();
      if (!editFields[i]->isEditingText()) {
         char text[16];
         std::snprintf(text, sizeof(text), "%ld", std::lround(values[i] * channelScale[i]));
         editFields[i]->setText(text);
      }
   }
   invalid();
}

void CColorChooser::valueChanged(CControl* control) {
   // The inner controls carry no tag (they are no parameters of anybody's): found by identity.
   int channel = 0;
   while (channel < kNumChannels && control != sliders[channel] && control != editFields[channel])
      ++channel;
   if (channel == kNumChannels)
      return;
   if (control == sliders[channel]) {
      setChannel(static_cast<Channel>(channel), control->getValue());
      return;
   }
   // A numeric field: whole numbers in the channel's scale; anything else restores the shown value.
   const std::string& text = editFields[channel]->getText().getString();
   char* end = nullptr;
   const long number = std::strtol(text.c_str(), &end, 10);
   if (text.empty() || *end != '\0') {
      updateControls();
      return;
   }
   controlBeginEdit(control);
   setChannel(static_cast<Channel>(channel), static_cast<double>(number) / channelScale[channel]);
   controlEndEdit(control);
}

void CColorChooser::controlBeginEdit(CControl*) {
   if (editDepth++ == 0 && delegate)
      delegate->onBeginColorChange(this);
}

void CColorChooser::controlEndEdit(CControl*) {
   if (editDepth > 0 && --editDepth == 0 && delegate)
      delegate->onEndColorChange(this);
}

void CColorChooser::drawBackgroundRect(CDrawContext* context, const CRect& updateRect) {
   CViewContainer::drawBackgroundRect(context, updateRect);
   context->setDrawMode(kAliasing);
   drawCheckerboard(context, previewRect, settings.checkerBoardColor1, settings.checkerBoardColor2);
   context->setFillColor(color);
   context->drawRect(previewRect, kDrawFilled);
}

} // namespace VSTGUI
