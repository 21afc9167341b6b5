// The theme colour, the settings file that keeps it between editors, and the settings page.
#include "SettingsView2.h"
#include "controls/Knob.h"
#include "controls/Oscilloscope.h"
#include "controls/Vumeter.h"
#include "scorchwire-launch.h"
#include "scorchwire-userfolder.h"
#include "scorchwireeditor.h"

#include "mini/ini.h"

#include <unistd.h>

#include <optional>
#include <string>

using namespace VSTGUI;

namespace {

constexpr const char* kSettingsFileName = "/Scorchwire.conf";
constexpr const char* kSection = "PluginUI";
constexpr const char* kColorKey = "CurrentColor";
constexpr const char* kManualAddress = "https://www.tonequarry.com/scorchwire/manual";
constexpr const char* kBrowserOpener = "/usr/bin/xdg-open";

// Without a home folder the editor runs on the default colour and writes nothing.
std::optional<std::string> settingsFilePath() {
   const std::optional<std::string> folder = getApplicationPath();
   if (!folder)
      return std::nullopt;
   return *folder + kSettingsFileName;
}

void recolorKnobs(CViewContainer* container, const CColor& color) {
   if (!container)
      return;
   container->forEachChild([&](CView* child) {
      if (auto* knob = dynamic_cast<Knob*>(child)) {
         knob->arcColor = color;
         knob->pointerColor = color;
      }
   });
}

} // namespace

// A missing file, a missing entry, an empty text or one the toolkit cannot read keep the colour.
void ScorchwireEditor::readSettings() {
   const std::optional<std::string> path = settingsFilePath();
   if (!path)
      return;
   mINI::INIStructure ini;
   mINI::INIFile(*path).read(ini);
   const std::string text = ini.get(kSection).get(kColorKey);
   if (text.empty())
      return;
   CColor stored = currentColor;
   if (stored.fromString(text.c_str()))
      currentColor = stored;
}

// Only an editor that built its view has read the file: one the host created and destroyed without
// showing it holds the default colour, which must not replace the user's.
void ScorchwireEditor::writeSettings() {
   if (!uiReady)
      return;
   const std::optional<std::string> path = settingsFilePath();
   if (!path)
      return;
   const mINI::INIFile file(*path);
   mINI::INIStructure ini;
   file.read(ini);
   ini[kSection][kColorKey] = currentColor.toString().getString();
   file.write(ini, false);
}

// The knobs show the colour at their next redraw: the page covers them while it is being chosen, and
// hiding the page redraws them.
void ScorchwireEditor::setCurrentColor(const CColor& color) {
   currentColor = color;
   for (Vumeter* meter : {meterLeft, meterRight})
      if (meter)
         meter->color = color;
   if (oscilloscope)
      oscilloscope->color = color;
   recolorKnobs(mainContainer, color);
   recolorKnobs(quadrafuzzPanel, color);
   if (settingsView) {
      auto* page = static_cast<SettingsView2*>(settingsView);
      page->tabView->setTabHighLightColor(color);
      // A colour that comes from the chooser is already shown there; setting it again mid-drag
      // would re-derive the hue of a grey.
      if (page->colorChooser->getColor() != color)
         page->colorChooser->setColor(color);
   }
}

void ScorchwireEditor::resetCurrentColor() {
   setCurrentColor(kDefaultColor);
}

// The page is laid out in the base space, which the frame's zoom maps onto the window: the frame's
// own rectangle is already scaled when the host opened the editor at a scale other than 1, and a page
// of that size would put its close button and its second tab out of the window.
void ScorchwireEditor::createSettingsView() {
   auto* page = new SettingsView2(CRect(0, 0, kBaseWidth, kBaseHeight), this);
   page->tabView->setTabHighLightColor(currentColor);
   settingsView = page;
   frame->addView(settingsView);
   settingsView->setVisible(false);
}

void ScorchwireEditor::showSettings() {
   if (uiReady && settingsView)
      settingsView->setVisible(true);
}

void ScorchwireEditor::hideSettings() {
   if (uiReady && settingsView)
      settingsView->setVisible(false);
}

// Desktops without the freedesktop opener get nothing: there is no other portable way to a browser.
void ScorchwireEditor::openHelpUrl() {
   if (::access(kBrowserOpener, X_OK) == 0)
      launchDetached(kBrowserOpener, kManualAddress);
}
