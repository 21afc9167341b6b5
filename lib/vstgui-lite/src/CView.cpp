#include "vstgui/lib/cview.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cframe.h"

namespace VSTGUI {

CView::CView(const CRect& size) : size(size), mouseableArea(size) {}

CView::~CView() noexcept {
   if (background)
      background->forget();
}

void CView::draw(CDrawContext* context) {
   if (background)
      background->draw(context, size);
   setDirty(false);
}

void CView::drawRect(CDrawContext* context, [[maybe_unused]] const CRect& updateRect) {
   draw(context);
}

void CView::setDirty(bool state) {
   if (state)
      invalid();
   else
      dirty = false;
}

void CView::invalidRect(const CRect& rect) {
   if (parentView && visible)
      parentView->invalidRect(rect);
}

void CView::invalid() {
   dirty = true;
   invalidRect(size);
}

CMouseEventResult CView::onMouseDown(CPoint&, const CButtonState&) {
   return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseUp(CPoint&, const CButtonState&) {
   return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseMoved(CPoint&, const CButtonState&) {
   return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseCancel() {
   return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseEntered(CPoint&, const CButtonState&) {
   return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseExited(CPoint&, const CButtonState&) {
   return kMouseEventNotImplemented;
}

bool CView::hitTest(const CPoint& where, const CButtonState&) {
   return mouseableArea.pointInside(where);
}

int32_t CView::onKeyDown(VstKeyCode&) {
   return -1;
}

int32_t CView::onKeyUp(VstKeyCode&) {
   return -1;
}

void CView::setViewSize(const CRect& rect, bool doInvalid) {
   if (rect == size)
      return;
   if (doInvalid)
      invalid();
   if (mouseableArea == size)
      mouseableArea = rect;
   else
      mouseableArea.offset(rect.left - size.left, rect.top - size.top);
   size = rect;
   if (doInvalid)
      invalid();
}

CPoint& CView::frameToLocal(CPoint& point) const {
   return parentView ? parentView->frameToLocal(point) : point;
}

CPoint& CView::localToFrame(CPoint& point) const {
   return parentView ? parentView->localToFrame(point) : point;
}

void CView::setVisible(bool state) {
   if (state == visible)
      return;
   if (!state) {
      invalid();
      visible = false;
   } else {
      visible = true;
      invalid();
   }
}

void CView::setAlphaValue(float alpha) {
   if (alpha == alphaValue)
      return;
   alphaValue = alpha;
   invalid();
}

void CView::setBackground(CBitmap* newBackground) {
   if (newBackground == background)
      return;
   if (newBackground)
      newBackground->remember();
   if (background)
      background->forget();
   background = newBackground;
   invalid();
}

void CView::setTransparency(bool state) {
   if (state == transparent)
      return;
   transparent = state;
   invalid();
}

bool CView::attached(CView* parent) {
   parentView = parent;
   parentFrame = parent ? parent->getFrame() : nullptr;
   return true;
}

bool CView::removed([[maybe_unused]] CView* parent) {
   if (parentFrame)
      parentFrame->onViewRemoved(this);
   parentView = nullptr;
   parentFrame = nullptr;
   return true;
}

} // namespace VSTGUI
