// A bitmap from a resource file that also carries the same image at other resolutions (for example
// "background.png" with "backgroundx2.png"); drawing picks the resolution that fits the zoom.
#pragma once

#include "vstgui/lib/cbitmap.h"

#include <initializer_list>

class MyBitmap : public VSTGUI::CBitmap {
public:
   // Each further file's scale factor is its pixel width over the first file's width. Missing further
   // files add nothing; a missing first file leaves the bitmap empty.
   MyBitmap(const char* fileName, std::initializer_list<const char*> furtherResolutions);
};
