// A horizontal peak meter for one channel on a 30 dB scale: the bar fills from the left up to the level in
// whole decibels (0 dB = full), the level falls by the factor 0.7 on every redraw once the peaks drop, and
// a fine dark grid covers the whole bar. A 30 ms timer keeps it redrawing while no peaks arrive.
#pragma once

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/cview.h"
#include "vstgui/lib/cvstguitimer.h"

class Vumeter : public VSTGUI::CView {
public:
   explicit Vumeter(const VSTGUI::CRect& size);
   ~Vumeter() noexcept override;

   // The latest peak (1.0 = full scale); asks for a redraw.
   void process(float peak);
   VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender, VSTGUI::IdStringPtr message) override;
   void draw(VSTGUI::CDrawContext* context) override;

   float getLevel() const { return level; }
   int getDbLevel() const { return dbLevel; }

   VSTGUI::CColor color{190, 150, 30, 255};
   int segmentSpacing = 3; // grid cell width in pixels; 0 draws no grid

private:
   float value = 0.f;
   float level = 0.f;
   float decay = 0.7f;
   int dbLevel = -30;
   int rangeDb = 30;
   VSTGUI::SharedPointer<VSTGUI::CVSTGUITimer> timer;
};
