#include "scorchwireeditor.h"

#include "controls/ArrowButton.h"
#include "controls/BurgerButton.h"
#include "controls/Knob.h"
#include "controls/MyBitmap.h"
#include "controls/Oscilloscope.h"
#include "controls/TouchDisplay.h"
#include "controls/UnitContainer.h"
#include "controls/Vumeter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <tuple>

using namespace VSTGUI;

namespace {

const CColor kCaptionColor(192, 196, 193, 255);
const CColor kPanelFill(25, 25, 25, 255);
const CColor kPresetNameColor(172, 174, 176, 255);
const CColor kSelectorText(200, 200, 200, 255);
const CColor kSelectorBack(255, 255, 255, 0);
const CColor kGlyphColor(180, 180, 180, 255);

constexpr int32_t kPrefilterTag = 3;
constexpr int32_t kDistortionTag = 4;
constexpr const char* kLoadPresetEntry = "Load preset";
constexpr const char* kSavePresetEntry = "Save preset as";

// The caption of parameter 6 for each distortion type, in the order of the distortion selector.
constexpr std::array<const char*, 9> kMixCaptions{"DRY/WET", "SCREAM", "DRY/WET", "THRSHLD", "DRY/WET",
                                                  "GAIN",    "TUNE",   "TUNE",    "N/A"};

CTextLabel* addCaption(CViewContainer* parent, const CRect& rect, const char* text, CFontDesc* font) {
   auto* label = new CTextLabel(rect, text);
   label->setTransparency(true);
   label->setFont(font);
   label->setFontColor(kCaptionColor);
   parent->addView(label);
   return label;
}

void addPanel(CViewContainer* parent, const CRect& rect) {
   auto* panel = new UnitContainer(rect);
   panel->fillColor = kPanelFill;
   panel->cornerRadius = 4.;
   parent->addView(panel);
}

// The small downward triangle beside each selector, drawn once and shared by both.
SharedPointer<CBitmap> makeArrowGlyph() {
   auto context = COffscreenContext::create(CPoint(16, 16), 2.);
   context->clearRect(CRect(0, 0, 16, 16));
   context->setDrawMode(kAntiAliasing);
   context->setFillColor(kGlyphColor);
   context->drawPolygon({CPoint(3, 6), CPoint(8, 10), CPoint(13, 6)}, kDrawFilled);
   return context->getBitmap();
}

void addGlyph(CViewContainer* parent, const CRect& rect, CBitmap* glyph) {
   auto* label = new CTextLabel(rect, "", glyph);
   label->setTransparency(true);
   parent->addView(label);
}

} // namespace

// Builds the editor's content once the frame is open; views are added bottom to top.
void ScorchwireEditor::setupUI() {
   frame->registerMouseObserver(this);
   frame->setSize(scaledWidth(), scaledHeight());
   frame->invalid();
   frame->setDirty(false);

   mainContainer = new CViewContainer(frame->getViewSize());
   mainContainer->setBackground(owned(new MyBitmap("background.png", {"backgroundx2.png"})));
   mainContainer->setDropTarget(this);
   frame->addView(mainContainer);

   auto titleFont = makeOwned<CFontDesc>("Cubano", 32);
   auto headingFont = makeOwned<CFontDesc>("Monologue DEMO", 18);
   auto bigCaptionFont = makeOwned<CFontDesc>("Monologue DEMO", 28);
   auto smallCaptionFont = makeOwned<CFontDesc>("Tahoma", 10);
   auto displayFont = makeOwned<CFontDesc>("Tahoma", 13);
   const SharedPointer<CBitmap> glyph = makeArrowGlyph();
   CViewContainer* main = mainContainer;
   readSettings();

   oscilloscope = new Oscilloscope(CRect(40, 415, 760, 480));
   oscilloscope->color = currentColor;
   main->addView(oscilloscope);

   addPanel(main, CRect(300, 38, 500, 73));
   getPresetName();
   presetNameDisplay = new TouchDisplay(CRect(326, 38, 484, 73));
   presetNameDisplay->font = displayFont;
   presetNameDisplay->fontColor = kPresetNameColor;
   presetNameDisplay->setText(presetName);
   main->addView(presetNameDisplay);
   for (const auto& [rect, direction, action] :
        {std::tuple{CRect(300, 41, 312, 71), ArrowButton::kLeft, EditorAction([this] { previousPattern(); })},
         {CRect(312, 41, 324, 71), ArrowButton::kRight, EditorAction([this] { nextPattern(); })},
         {CRect(481, 42, 499, 68), ArrowButton::kDown, EditorAction()}}) {
      auto* arrow = new ArrowButton(rect);
      arrow->direction = direction;
      arrow->action = action;
      main->addView(arrow);
   }
   createPresetMenu(CRect(481, 42, 499, 68));
   loadSaveMenu = new COptionMenu(CRect(0, 0, 200, 0), this, kLoadSaveMenuTag, nullptr, nullptr,
                                  kNoFrame | kNoTextStyle);
   loadSaveMenu->setTransparency(true);
   loadSaveMenu->addEntry(kLoadPresetEntry);
   loadSaveMenu->addEntry(kSavePresetEntry);
   loadSaveMenu->setVisible(false);
   main->addView(loadSaveMenu);

   addPanel(main, CRect(345, 155, 455, 175));
   auto* distortion =
       new COptionMenu(CRect(345, 155, 455, 175), this, kDistortionTag, nullptr, nullptr, kCheckStyle);
   distortion->setBackColor(kSelectorBack);
   distortion->setFontColor(kSelectorText);
   distortion->setHoriAlign(kCenterText);
   for (const char* entry : {"Overdrive", "Clip Inferno", "Hot Valve", "Ultracrunch", "Bit Reducer",
                             "TurboFuzz", "RageClip", "Brutal Bill", "Quadrafuzz"})
      distortion->addEntry(entry);
   main->addView(distortion);
   bindControl(distortion);
   addGlyph(main, CRect(440, 157, 456, 173), glyph);

   meterLeft = new Vumeter(CRect(41, 384, 757, 390));
   meterRight = new Vumeter(CRect(41, 392, 757, 398));
   for (Vumeter* meter : {meterLeft, meterRight}) {
      meter->segmentSpacing = 6;
      meter->color = currentColor;
      main->addView(meter);
   }
   auto* burger = new BurgerButton(CRect(714, 40, 744, 70));
   burger->action = [this] { showSettings(); };
   main->addView(burger);

   addCaption(main, CRect(22, 36, 322, 72), "SCORCHWIRE", titleFont);
   addCaption(main, CRect(361, 120, 441, 156), "DISTORTION", headingFont);
   addCaption(main, CRect(365, 325, 435, 361), "DRIVE", bigCaptionFont);
   addCaption(main, CRect(107, 120, 177, 156), "PRE-FILTER", headingFont);
   addCaption(main, CRect(68, 223, 138, 259), "CUTOFF", smallCaptionFont);
   addCaption(main, CRect(148, 223, 218, 259), "RES", smallCaptionFont);
   addCaption(main, CRect(106, 280, 176, 316), "ENV", smallCaptionFont);
   addCaption(main, CRect(590, 120, 740, 156), "DISTORTION PARAMETERS", headingFont);

   addKnob(main, CRect(320, 176, 480, 336), 5);
   addKnob(main, CRect(555, 180, 615, 240), 6);
   mixLabel = addCaption(main, CRect(550, 223, 620, 259), kMixCaptions[0], smallCaptionFont);
   addKnob(main, CRect(630, 180, 690, 240), 8);
   addCaption(main, CRect(625, 223, 695, 259), "PUNCH", smallCaptionFont);
   addKnob(main, CRect(705, 180, 765, 240), 7);
   addCaption(main, CRect(700, 223, 770, 259), "FILTER", smallCaptionFont);
   createQuadrafuzzView();
   addKnob(main, CRect(72, 180, 132, 240), 0);
   addKnob(main, CRect(152, 180, 212, 240), 1);
   addKnob(main, CRect(118, 250, 166, 298), 2);

   addPanel(main, CRect(86, 155, 196, 175));
   auto* prefilter = new COptionMenu(CRect(86, 155, 196, 175), this, kPrefilterTag);
   prefilter->setBackColor(kSelectorBack);
   for (const char* entry : {"No Filter", "Lowpass", "Hipass", "Bandpass", "Lowpass2"})
      prefilter->addEntry(entry);
   prefilter->setFontColor(kSelectorText);
   main->addView(prefilter);
   bindControl(prefilter);
   addGlyph(main, CRect(181, 157, 197, 173), glyph);

   createSettingsView();

   uiReady = true;
   firstResize = true;
   idleTimer = new CVSTGUITimer([this](CVSTGUITimer*) { idle(); }, kIdleTimerInterval, true);
}

void ScorchwireEditor::createQuadrafuzzView() {
   quadrafuzzPanel = new CViewContainer(CRect(550, 260, 770, 340));
   quadrafuzzPanel->setTransparency(true);
   mainContainer->addView(quadrafuzzPanel);
   auto font = makeOwned<CFontDesc>("Tahoma", 10);
   int32_t tag = 9;
   for (const char* text : {"LOW", "LO MID", "HI MID", "HI"}) {
      const double left = 10. + 50. * (tag - 9);
      addKnob(quadrafuzzPanel, CRect(left, 10, left + 48, 58), tag++);
      addCaption(quadrafuzzPanel, CRect(left, 10 + 42, left + 48, 10 + 60), text, font);
   }
   quadrafuzzPanel->setVisible(false);
}

Knob* ScorchwireEditor::addKnob(CViewContainer* parent, const CRect& rect, int32_t tag) {
   auto* knob = new Knob(rect, this, tag);
   knob->arcColor = currentColor;
   knob->pointerColor = currentColor;
   parent->addView(knob);
   bindControl(knob);
   return knob;
}

void ScorchwireEditor::bindControl(CControl* control) {
   const int32_t tag = control->getTag();
   controlsByParam[static_cast<size_t>(tag)] = control;
   if (wrapper)
      control->setValueNormalized(static_cast<float>(wrapper->getParameter(tag)));
}

// A user change of a parameter's control goes to the instance (a selector's value is its entry
// index over the last index); the preset menus act in the editor.
void ScorchwireEditor::valueChanged(CControl* control) {
   const int32_t tag = control->getTag();
   if (tag >= 0 && tag < kParamCount)
      link.post(FromUI::ValueChange, tag, control->getValueNormalized());
   if (tag == kPresetMenuTag)
      setPatternFromMenu();
   if (tag == kLoadSaveMenuTag) {
      const CMenuItem* chosen = loadSaveMenu->getCurrent();
      if (chosen && chosen->getTitle() == kLoadPresetEntry)
         showLoadPreset();
      else if (chosen && chosen->getTitle() == kSavePresetEntry)
         showSaveasPreset();
   }
}

// A value from the instance moves the parameter's control; the distortion type also rearranges
// the view. The editor waits for this echo instead of rearranging on the user's own choice.
void ScorchwireEditor::setParameter(int32_t index, double value) {
   if (index < 0 || index >= kParamCount)
      return;
   if (CControl* control = controlsByParam[static_cast<size_t>(index)]) {
      control->setValueNormalized(static_cast<float>(value));
      control->invalid();
   }
   if (index == kDistortionTag)
      switchDistoParam(value);
}

void ScorchwireEditor::switchDistoParam(double value) {
   if (!mixLabel || !quadrafuzzPanel)
      return;
   const int k = std::clamp(static_cast<int>(std::lround(static_cast<float>(value) * 8.f)), 0, 8);
   mixLabel->setText(kMixCaptions[static_cast<size_t>(k)]);
   mixLabel->invalid();
   if (k == 8)
      quadrafuzzPanel->setVisible(true);
   else if (quadrafuzzPanel->isVisible())
      quadrafuzzPanel->setVisible(false);
}

// The scope and the meters are fed once the view is built.
void ScorchwireEditor::processOscilloscope(char* data, int count, int flag) {
   if (flag == 0 && uiReady && oscilloscope)
      oscilloscope->process(data, count);
}

void ScorchwireEditor::processMasterVumeter(float* peaks) {
   if (uiReady && meterLeft && meterRight) {
      meterLeft->process(peaks[0]);
      meterRight->process(peaks[1]);
   }
}
