#include "vstgui/lib/cviewcontainer.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"

#include <algorithm>

namespace VSTGUI {

CViewContainer::CViewContainer(const CRect& size) : CView(size) {}

CViewContainer::~CViewContainer() noexcept {
   removeAll(true);
}

bool CViewContainer::addView(CView* view, CView* before) {
   if (!view)
      return false;
   auto position = std::find(children.begin(), children.end(), before);
   children.insert(before ? position : children.end(), view);
   if (isAttached())
      view->attached(this);
   view->invalid();
   return true;
}

bool CViewContainer::removeView(CView* view, bool withForget) {
   auto it = std::find(children.begin(), children.end(), view);
   if (it == children.end())
      return false;
   view->invalid();
   children.erase(it);
   if (mouseDownView == view)
      mouseDownView = nullptr;
   if (view->isAttached())
      view->removed(this);
   if (withForget)
      view->forget();
   return true;
}

bool CViewContainer::removeAll(bool withForget) {
   while (!children.empty())
      removeView(children.back(), withForget);
   return true;
}

bool CViewContainer::changeViewZOrder(CView* view, uint32_t newIndex) {
   auto it = std::find(children.begin(), children.end(), view);
   if (it == children.end() || newIndex >= children.size())
      return false;
   children.erase(it);
   children.insert(children.begin() + newIndex, view);
   view->invalid();
   return true;
}

bool CViewContainer::isChild(CView* view, bool deep) const {
   for (CView* child : children) {
      if (child == view)
         return true;
      if (deep)
         if (auto* container = child->asViewContainer(); container && container->isChild(view, true))
            return true;
   }
   return false;
}

CView* CViewContainer::getViewAt(const CPoint& where, bool deep) const {
   for (auto it = children.rbegin(); it != children.rend(); ++it) {
      CView* child = *it;
      if (!child->isVisible() || !child->getViewSize().pointInside(where))
         continue;
      if (deep)
         if (auto* container = child->asViewContainer())
            if (CView* inner = container->getViewAt(container->toChildSpace(where), true))
               return inner;
      return child;
   }
   return nullptr;
}

CPoint CViewContainer::toChildSpace(const CPoint& parentPoint) const {
   CPoint p(parentPoint.x - size.left, parentPoint.y - size.top);
   return transform.inverse().transform(p);
}

CRect CViewContainer::toParentSpace(const CRect& childRect) const {
   CRect r = transform.transform(childRect);
   return r.offset(size.left, size.top);
}

void CViewContainer::setBackgroundColor(const CColor& color) {
   if (color == backgroundColor)
      return;
   backgroundColor = color;
   invalid();
}

void CViewContainer::drawBackgroundRect(CDrawContext* context, [[maybe_unused]] const CRect& updateRect) {
   const CRect local(0., 0., getWidth(), getHeight());
   if (!getTransparency()) {
      context->setFillColor(backgroundColor);
      context->drawRect(local, kDrawFilled);
   }
   if (CBitmap* bitmap = getBackground())
      bitmap->draw(context, local);
}

void CViewContainer::setTransform(const CGraphicsTransform& newTransform) {
   if (newTransform == transform)
      return;
   transform = newTransform;
   invalid();
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
   context->saveGlobalState();
   CRect clip;
   context->getClipRect(clip);
   clip.bound(size);
   if (!clip.isEmpty()) {
      context->setClipRect(clip);
      CDrawContext::Transform origin(*context, CGraphicsTransform().translate(size.left, size.top));
      CRect local(updateRect);
      local.offset(-size.left, -size.top).bound(CRect(0., 0., getWidth(), getHeight()));
      drawBackgroundRect(context, local);
      CDrawContext::Transform inner(*context, transform);
      drawChildren(context, transform.inverse().transform(local));
   }
   context->restoreGlobalState();
   setDirty(false);
}

void CViewContainer::drawChildren(CDrawContext* context, const CRect& updateRect) {
   for (size_t i = 0; i < children.size(); ++i) {
      CView* child = children[i];
      if (!child->isVisible() || !child->checkUpdate(updateRect))
         continue;
      CRect childUpdate(updateRect);
      childUpdate.bound(child->getViewSize());
      context->saveGlobalState();
      context->setGlobalAlpha(context->getGlobalAlpha() * child->getAlphaValue());
      child->drawRect(context, childUpdate);
      context->restoreGlobalState();
   }
}

void CViewContainer::invalidRect(const CRect& rect) {
   if (!parentView || !isVisible())
      return;
   CRect r = toParentSpace(rect);
   r.bound(size);
   if (!r.isEmpty())
      parentView->invalidRect(r);
}

void CViewContainer::invalid() {
   markDirty(true);
   if (parentView && isVisible())
      parentView->invalidRect(size);
}

void CViewContainer::setViewSize(const CRect& rect, bool doInvalid) {
   const CRect old = size;
   CView::setViewSize(rect, doInvalid);
   if (!autosizing || old == size)
      return;
   const double sx = transform.m11 != 0. ? transform.m11 : 1.;
   const double sy = transform.m22 != 0. ? transform.m22 : 1.;
   const double dw = (size.getWidth() - old.getWidth()) / sx;
   const double dh = (size.getHeight() - old.getHeight()) / sy;
   for (CView* child : children) {
      const int32_t flags = child->getAutosizeFlags();
      if (flags == kAutosizeNone)
         continue;
      CRect r = child->getViewSize();
      if (flags & kAutosizeRight) {
         r.right += dw;
         if (!(flags & kAutosizeLeft))
            r.left += dw;
      }
      if (flags & kAutosizeBottom) {
         r.bottom += dh;
         if (!(flags & kAutosizeTop))
            r.top += dh;
      }
      child->setViewSize(r, doInvalid);
   }
}

CMouseEventResult CViewContainer::onMouseDown(CPoint& where, const CButtonState& buttons) {
   const CPoint local = toChildSpace(where);
   std::vector<SharedPointer<CView>> candidates(children.rbegin(), children.rend());
   for (auto& child : candidates) {
      if (!child->isVisible() || !child->getMouseEnabled() || !child->hitTest(local, buttons))
         continue;
      CPoint p(local);
      const CMouseEventResult result = child->onMouseDown(p, buttons);
      if (result == kMouseEventNotHandled || result == kMouseEventNotImplemented)
         continue;
      if (result == kMouseEventHandled &&
          std::find(children.begin(), children.end(), child.get()) != children.end())
         mouseDownView = child;
      return result;
   }
   return kMouseEventNotHandled;
}

CMouseEventResult CViewContainer::onMouseMoved(CPoint& where, const CButtonState& buttons) {
   if (!mouseDownView)
      return kMouseEventNotHandled;
   SharedPointer<CView> view(mouseDownView);
   CPoint p = toChildSpace(where);
   const CMouseEventResult result = view->onMouseMoved(p, buttons);
   if (result == kMouseMoveEventHandledButDontNeedMoreEvents && mouseDownView == view)
      mouseDownView = nullptr;
   return result;
}

CMouseEventResult CViewContainer::onMouseUp(CPoint& where, const CButtonState& buttons) {
   if (!mouseDownView)
      return kMouseEventNotHandled;
   SharedPointer<CView> view(mouseDownView);
   mouseDownView = nullptr;
   CPoint p = toChildSpace(where);
   return view->onMouseUp(p, buttons);
}

CMouseEventResult CViewContainer::onMouseCancel() {
   if (!mouseDownView)
      return kMouseEventNotHandled;
   SharedPointer<CView> view(mouseDownView);
   mouseDownView = nullptr;
   return view->onMouseCancel();
}

CPoint& CViewContainer::frameToLocal(CPoint& point) const {
   if (parentView)
      parentView->frameToLocal(point);
   return point = toChildSpace(point);
}

CPoint& CViewContainer::localToFrame(CPoint& point) const {
   transform.transform(point);
   point.offset(size.left, size.top);
   return parentView ? parentView->localToFrame(point) : point;
}

bool CViewContainer::attached(CView* parent) {
   CView::attached(parent);
   for (CView* child : children)
      child->attached(this);
   return true;
}

bool CViewContainer::removed(CView* parent) {
   mouseDownView = nullptr;
   for (CView* child : children)
      child->removed(this);
   return CView::removed(parent);
}

} // namespace VSTGUI
