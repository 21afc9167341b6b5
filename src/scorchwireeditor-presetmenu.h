#pragma once
#include "vstgui/lib/controls/coptionmenu.h"

#include <string>

// One preset of the preset menu: titled with the file name without its extension, carrying the
// file's full path.
class MyMenuItem : public VSTGUI::CMenuItem {
public:
   MyMenuItem(const VSTGUI::UTF8String& title, std::string path) : CMenuItem(title), path(std::move(path)) {}

   std::string path;
};
