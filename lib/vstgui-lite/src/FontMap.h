// The toolkit's own pango font map over its own fontconfig configuration, so that the font folders it
// adds never change the fonts of the host process.
#pragma once

#include <pango/pango.h>
#include <string>

namespace VSTGUI::Fonts {

PangoFontMap* fontMap();
// A new context on the font map (the caller unrefs it).
PangoContext* createContext();
// Adds the fonts of folder (once per process) and the rules of its "fonts.conf", when present.
void addFontFolder(const std::string& folder);
// Releases the font map (VSTGUI::exit).
void shutdown();

} // namespace VSTGUI::Fonts
