// Views that record what reaches them.
#pragma once

#include "vstgui/vstgui.h"

#include <string>
#include <vector>

namespace ToolkitTest {

using namespace VSTGUI;

// A filled rectangle that counts its draws.
class ColorView : public CView {
public:
   ColorView(const CRect& size, const CColor& color) : CView(size), color(color) {}
   void draw(CDrawContext* context) override {
      context->setFillColor(color);
      context->drawRect(getViewSize(), kDrawFilled);
      ++draws;
      setDirty(false);
   }
   CColor color;
   int draws = 0;
};

// Records the mouse and keyboard events it receives.
class ProbeView : public ColorView {
public:
   struct Event {
      std::string type;
      CPoint where;
      int32_t buttons;
   };
   using ColorView::ColorView;

   CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override {
      events.push_back({"down", where, buttons});
      return kMouseEventHandled;
   }
   CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override {
      events.push_back({"moved", where, buttons});
      return kMouseEventHandled;
   }
   CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override {
      events.push_back({"up", where, buttons});
      return kMouseEventHandled;
   }
   CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons) override {
      events.push_back({"entered", where, buttons});
      return kMouseEventHandled;
   }
   CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override {
      events.push_back({"exited", where, buttons});
      return kMouseEventHandled;
   }
   std::vector<Event> of(const std::string& type) const {
      std::vector<Event> found;
      for (const auto& e : events)
         if (e.type == type)
            found.push_back(e);
      return found;
   }
   std::vector<Event> events;
};

// An editor interface and control listener that log what they hear.
class RecordingEditor : public VSTGUIEditorInterface, public IControlListener {
public:
   void beginEdit(int32_t index) override { log.push_back("begin " + std::to_string(index)); }
   void endEdit(int32_t index) override { log.push_back("end " + std::to_string(index)); }
   void valueChanged(CControl* control) override {
      log.push_back("value " + std::to_string(control->getTag()) + " " + std::to_string(control->getValue()));
   }
   std::vector<std::string> log;
};

} // namespace ToolkitTest
