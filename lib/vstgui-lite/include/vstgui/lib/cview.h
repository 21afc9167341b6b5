// The base of everything on screen. A view's rectangle is in its parent container's coordinates; it draws
// itself there and receives mouse points there.
#pragma once

#include "cbuttonstate.h"
#include "cgraphicstransform.h"
#include "dragging.h"

namespace VSTGUI {

class CBitmap;
class CDrawContext;
class CFrame;
class CViewContainer;

enum CViewAutosizing : int32_t {
   kAutosizeNone = 0,
   kAutosizeLeft = 1 << 0,
   kAutosizeTop = 1 << 1,
   kAutosizeRight = 1 << 2,
   kAutosizeBottom = 1 << 3,
   kAutosizeAll = kAutosizeLeft | kAutosizeTop | kAutosizeRight | kAutosizeBottom,
};

class CView : public CBaseObject {
public:
   explicit CView(const CRect& size);
   CView(const CView&) = delete;
   CView& operator=(const CView&) = delete;
   ~CView() noexcept override;

   // drawing
   virtual void draw(CDrawContext* context);
   virtual void drawRect(CDrawContext* context, const CRect& updateRect);
   virtual bool checkUpdate(const CRect& updateRect) const { return updateRect.rectOverlap(size); }
   // setDirty(true) invalidates the view; setDirty(false) marks it as drawn.
   virtual void setDirty(bool state = true);
   bool isDirty() const { return dirty; }
   // Asks for rect (in this view's coordinates) to be redrawn in the next drawing pass.
   virtual void invalidRect(const CRect& rect);
   virtual void invalid();

   // mouse
   virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);
   virtual CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);
   virtual CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);
   virtual CMouseEventResult onMouseCancel();
   virtual CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons);
   virtual CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons);
   virtual bool hitTest(const CPoint& where, const CButtonState& buttons = -1);
   void setMouseEnabled(bool enabled) { mouseEnabled = enabled; }
   bool getMouseEnabled() const { return mouseEnabled; }
   void setMouseableArea(const CRect& rect) { mouseableArea = rect; }
   const CRect& getMouseableArea() const { return mouseableArea; }

   // keyboard and focus; key handlers answer 1 when they used the key, -1 otherwise
   virtual int32_t onKeyDown(VstKeyCode& keyCode);
   virtual int32_t onKeyUp(VstKeyCode& keyCode);
   virtual bool wantsFocus() const { return wantsFocusFlag; }
   void setWantsFocus(bool state) { wantsFocusFlag = state; }
   virtual void takeFocus() {}
   virtual void looseFocus() {}

   // geometry
   const CRect& getViewSize() const { return size; }
   virtual void setViewSize(const CRect& rect, bool invalid = true);
   CCoord getWidth() const { return size.getWidth(); }
   CCoord getHeight() const { return size.getHeight(); }
   // Between frame coordinates (the frame's unzoomed space) and the coordinates of this view's rectangle.
   virtual CPoint& frameToLocal(CPoint& point) const;
   virtual CPoint& localToFrame(CPoint& point) const;
   void setAutosizeFlags(int32_t flags) { autosizeFlags = flags; }
   int32_t getAutosizeFlags() const { return autosizeFlags; }

   // look
   virtual void setVisible(bool state);
   bool isVisible() const { return visible; }
   virtual void setAlphaValue(float alpha);
   float getAlphaValue() const { return alphaValue; }
   virtual void setBackground(CBitmap* background);
   CBitmap* getBackground() const { return background; }
   virtual void setTransparency(bool state);
   bool getTransparency() const { return transparent; }

   // hierarchy
   virtual bool attached(CView* parent);
   virtual bool removed(CView* parent);
   bool isAttached() const { return parentFrame != nullptr; }
   CView* getParentView() const { return parentView; }
   CFrame* getFrame() const { return parentFrame; }
   virtual CViewContainer* asViewContainer() { return nullptr; }

   void setDropTarget(const SharedPointer<IDropTarget>& target) { dropTarget = target; }
   const SharedPointer<IDropTarget>& getDropTarget() const { return dropTarget; }

protected:
   void markDirty(bool state) { dirty = state; }

   CRect size;
   CRect mouseableArea;
   CView* parentView = nullptr;
   CFrame* parentFrame = nullptr;

private:
   CBitmap* background = nullptr;
   SharedPointer<IDropTarget> dropTarget;
   float alphaValue = 1.f;
   int32_t autosizeFlags = kAutosizeNone;
   bool dirty = false;
   bool visible = true;
   bool mouseEnabled = true;
   bool transparent = false;
   bool wantsFocusFlag = false;
};

} // namespace VSTGUI
