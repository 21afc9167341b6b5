// A view that holds child views. Children's rectangles are in the container's own space: (0, 0) is the
// container's top-left corner, and the container's transform maps that space onto its rectangle.
// The container owns its children: addView takes over the caller's reference.
#pragma once

#include "ccolor.h"
#include "cview.h"

#include <vector>

namespace VSTGUI {

class CViewContainer : public CView {
public:
   explicit CViewContainer(const CRect& size);
   ~CViewContainer() noexcept override;

   virtual bool addView(CView* view, CView* before = nullptr);
   virtual bool removeView(CView* view, bool withForget = true);
   virtual bool removeAll(bool withForget = true);
   virtual bool changeViewZOrder(CView* view, uint32_t newIndex);
   bool isChild(CView* view, bool deep = false) const;
   uint32_t getNbViews() const { return static_cast<uint32_t>(children.size()); }
   CView* getView(uint32_t index) const { return index < children.size() ? children[index] : nullptr; }
   template <typename Proc> void forEachChild(Proc proc) const {
      const auto copy = children;
      for (CView* child : copy)
         proc(child);
   }
   // The topmost visible child under where (in this container's space); with deep, the innermost view.
   CView* getViewAt(const CPoint& where, bool deep = false) const;

   virtual void setBackgroundColor(const CColor& color);
   CColor getBackgroundColor() const { return backgroundColor; }
   // Draws the background: the colour (unless transparent), then the background bitmap. rect is in the
   // container's local coordinates ((0, 0) at its top-left, before its transform).
   virtual void drawBackgroundRect(CDrawContext* context, const CRect& updateRect);

   virtual void setTransform(const CGraphicsTransform& transform);
   const CGraphicsTransform& getTransform() const { return transform; }
   // When enabled, a size change of the container moves and stretches its children: a child keeps its
   // distance to every container edge named in its autosize flags (left and right: it stretches; right
   // only: it moves along).
   void setAutosizingEnabled(bool state) { autosizing = state; }
   bool getAutosizingEnabled() const { return autosizing; }

   // CView
   void drawRect(CDrawContext* context, const CRect& updateRect) override;
   void invalidRect(const CRect& rect) override;
   void invalid() override;
   void setViewSize(const CRect& rect, bool invalid = true) override;
   CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
   CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
   CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
   CMouseEventResult onMouseCancel() override;
   CPoint& frameToLocal(CPoint& point) const override;
   CPoint& localToFrame(CPoint& point) const override;
   bool attached(CView* parent) override;
   bool removed(CView* parent) override;
   CViewContainer* asViewContainer() override { return this; }

   // From this container's parent space into its children's space, and back.
   CPoint toChildSpace(const CPoint& parentPoint) const;
   CRect toParentSpace(const CRect& childRect) const;

protected:
   // Draws the visible children that meet updateRect (in the children's space); the context's transform
   // maps that space to the device.
   void drawChildren(CDrawContext* context, const CRect& updateRect);

   std::vector<CView*> children;

private:
   CGraphicsTransform transform;
   CColor backgroundColor{0, 0, 0, 255};
   CView* mouseDownView = nullptr;
   bool autosizing = true;
};

} // namespace VSTGUI
