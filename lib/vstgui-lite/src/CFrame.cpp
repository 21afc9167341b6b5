#include "vstgui/lib/cframe.h"

#include "x11/FrameWindow.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/platform/linux/x11platform.h"

#include <algorithm>

namespace VSTGUI {

CFrame::CFrame(const CRect& size, VSTGUIEditorInterface* editor) : CViewContainer(size), editor(editor) {
   // The frame is the root of its own tree: views added to it are attached at once.
   parentFrame = this;
}

CFrame::~CFrame() noexcept {
   closeWindow();
   removeAll(true);
}

bool CFrame::open(void* systemWin, PlatformType, IPlatformFrameConfig*) {
   if (platformFrame || !systemWin)
      return false;
   // Every open frame holds a use of the run loop and the connection.
   X11::RunLoop::init(nullptr);
   auto window = std::make_unique<X11::FrameWindow>(this);
   const auto parent = static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(systemWin));
   const CRect pixels(0., 0., getWidth(), getHeight());
   if (!X11::Connection::get() || !window->open(parent, pixels)) {
      X11::RunLoop::exit();
      return false;
   }
   platformFrame = std::move(window);
   invalid();
   return true;
}

void CFrame::close() {
   closeWindow();
   removeAll(true);
   // The drop target is often the editor that owns the frame: no reference may outlive the close.
   setDropTarget(nullptr);
   forget();
}

void CFrame::closeWindow() {
   if (!platformFrame)
      return;
   // Teardown is silent: focus and hover end without calling into views or the editor, which may be
   // half destroyed by now.
   focusView = nullptr;
   modalView = nullptr;
   mouseViews.clear();
   mouseSwallowed = false;
   auto window = std::move(platformFrame);
   window->shutdown();
   if (auto* connection = X11::Connection::get())
      connection->deleteLater(std::move(window));
   window.reset();
   X11::RunLoop::exit();
}

uint32_t CFrame::getX11Window() const {
   return platformFrame ? platformFrame->id() : 0;
}

bool CFrame::setSize(CCoord width, CCoord height) {
   if (width == getWidth() && height == getHeight())
      return false;
   setViewSize(CRect(size.left, size.top, size.left + width, size.top + height));
   return true;
}

void CFrame::setViewSize(const CRect& rect, bool doInvalid) {
   CViewContainer::setViewSize(rect, doInvalid);
   if (platformFrame) {
      platformFrame->setGeometry(CRect(0., 0., getWidth(), getHeight()));
      if (auto* connection = X11::Connection::get())
         connection->flush();
   }
}

bool CFrame::setZoom(double zoomFactor) {
   if (!(zoomFactor > 0.))
      return false;
   zoom = zoomFactor;
   setTransform(CGraphicsTransform().scale(zoomFactor, zoomFactor));
   return true;
}

void CFrame::invalidRect(const CRect& rect) {
   if (platformFrame && isVisible())
      platformFrame->invalidate(getTransform().transform(rect));
}

void CFrame::invalid() {
   markDirty(true);
   if (platformFrame)
      platformFrame->invalidateAll();
}

void CFrame::registerMouseObserver(IMouseObserver* observer) {
   if (observer && std::find(mouseObservers.begin(), mouseObservers.end(), observer) == mouseObservers.end())
      mouseObservers.push_back(observer);
}

void CFrame::unregisterMouseObserver(IMouseObserver* observer) {
   mouseObservers.erase(std::remove(mouseObservers.begin(), mouseObservers.end(), observer),
                        mouseObservers.end());
}

std::optional<ModalViewSessionID> CFrame::beginModalViewSession(CView* view) {
   if (!view || modalView)
      return std::nullopt;
   modalViewAdded = !isChild(view, true);
   if (modalViewAdded)
      addView(view);
   modalView = view;
   modalSession = ++lastSessionID;
   clearMouseViews(CButtonState());
   if (view->wantsFocus())
      setFocusView(view);
   return modalSession;
}

bool CFrame::endModalViewSession(ModalViewSessionID sessionID) {
   if (!modalView || sessionID != modalSession)
      return false;
   CView* view = modalView;
   modalView = nullptr;
   if (focusView == view)
      focusView = nullptr;
   if (modalViewAdded)
      removeView(view, true);
   modalViewAdded = false;
   return true;
}

void CFrame::setFocusView(CView* view) {
   if (view == focusView)
      return;
   SharedPointer<CView> previous(focusView), next(view);
   focusView = view;
   if (previous)
      previous->looseFocus();
   if (next && focusView == view)
      next->takeFocus();
}

void CFrame::setCursor(CCursorType type) {
   if (!platformFrame)
      return;
   if (auto* connection = X11::Connection::get())
      platformFrame->setCursor(connection->cursor(type));
}

void CFrame::onViewRemoved(CView* view) {
   if (focusView == view)
      focusView = nullptr;
   if (modalView == view) {
      modalView = nullptr;
      modalViewAdded = false;
   }
   mouseViews.erase(std::remove_if(mouseViews.begin(), mouseViews.end(),
                                   [view](const SharedPointer<CView>& v) { return v.get() == view; }),
                    mouseViews.end());
}

bool CFrame::inputBlocked() const {
   return !platformFrame || platformFrame->dialogRunning();
}

void CFrame::platformDrawRect(CDrawContext* context, const CRect& windowRect) {
   context->saveGlobalState();
   context->setClipRect(windowRect);
   drawBackgroundRect(context, windowRect);
   {
      CDrawContext::Transform zoomTransform(*context, getTransform());
      drawChildren(context, getTransform().inverse().transform(windowRect));
   }
   context->restoreGlobalState();
   markDirty(false);
}

void CFrame::platformOnMouseDown(const CPoint& where, const CButtonState& buttons) {
   if (inputBlocked())
      return;
   SharedPointer<CFrame> guard(this);
   const CPoint framePoint = getTransform().inverse().transform(where);
   updateMouseViews(framePoint, buttons);
   const auto observers = mouseObservers;
   for (auto* observer : observers) {
      if (observer->onMouseDown(this, framePoint, buttons) == kMouseEventHandled) {
         mouseSwallowed = true;
         return;
      }
   }
   mouseSwallowed = false;
   if (modalView) {
      // Only the modal view gets input; a click elsewhere ends the focus (a text field commits).
      CPoint p(framePoint);
      if (CView* parent = modalView->getParentView())
         parent->frameToLocal(p);
      if (!modalView->isVisible() || !modalView->hitTest(p, buttons)) {
         setFocusView(nullptr);
         mouseSwallowed = true;
         return;
      }
   }
   SharedPointer<CView> target(getViewAt(framePoint, true));
   if (focusView && target != focusView)
      setFocusView(nullptr);
   CPoint p(where);
   CViewContainer::onMouseDown(p, buttons);
   if (target && target->wantsFocus() && target->isAttached() && focusView != target)
      setFocusView(target);
}

void CFrame::platformOnMouseUp(const CPoint& where, const CButtonState& buttons) {
   SharedPointer<CFrame> guard(this);
   if (mouseSwallowed) {
      mouseSwallowed = false;
      return;
   }
   CPoint p(where);
   CViewContainer::onMouseUp(p, buttons);
   if (!inputBlocked())
      updateMouseViews(getTransform().inverse().transform(where), buttons);
}

void CFrame::platformOnMouseMoved(const CPoint& where, const CButtonState& buttons) {
   if (inputBlocked())
      return;
   SharedPointer<CFrame> guard(this);
   const CPoint framePoint = getTransform().inverse().transform(where);
   const auto observers = mouseObservers;
   for (auto* observer : observers)
      if (observer->onMouseMoved(this, framePoint, buttons) == kMouseEventHandled)
         return;
   updateMouseViews(framePoint, buttons);
   CPoint p(where);
   CViewContainer::onMouseMoved(p, buttons);
}

void CFrame::platformOnMouseExited() {
   SharedPointer<CFrame> guard(this);
   clearMouseViews(CButtonState());
}

bool CFrame::platformOnKeyDown(VstKeyCode& key) {
   if (inputBlocked())
      return false;
   SharedPointer<CFrame> guard(this);
   if (focusView)
      return SharedPointer<CView>(focusView)->onKeyDown(key) == 1;
   if (modalView)
      return SharedPointer<CView>(modalView)->onKeyDown(key) == 1;
   return false;
}

bool CFrame::platformOnKeyUp(VstKeyCode& key) {
   if (inputBlocked())
      return false;
   SharedPointer<CFrame> guard(this);
   if (focusView)
      return SharedPointer<CView>(focusView)->onKeyUp(key) == 1;
   return false;
}

namespace {

// The point in the space of the view's own rectangle.
CPoint pointForView(CView* view, const CPoint& framePoint) {
   CPoint p(framePoint);
   if (CView* parent = view->getParentView())
      parent->frameToLocal(p);
   return p;
}

} // namespace

void CFrame::updateMouseViews(const CPoint& framePoint, const CButtonState& buttons) {
   // The chain of views under the pointer, outermost first.
   std::vector<SharedPointer<CView>> chain;
   const CViewContainer* container = this;
   CPoint p(framePoint);
   while (container) {
      CView* view = container->getViewAt(p, false);
      if (!view || !view->getMouseEnabled())
         break;
      chain.emplace_back(view);
      container = view->asViewContainer();
      if (container)
         p = container->toChildSpace(p);
   }
   if (modalView && (chain.empty() || chain.front() != modalView))
      chain.clear();

   const auto contains = [](const std::vector<SharedPointer<CView>>& list, CView* view) {
      return std::any_of(list.begin(), list.end(),
                         [view](const SharedPointer<CView>& v) { return v.get() == view; });
   };
   const auto previous = mouseViews;
   mouseViews = chain;
   for (auto it = previous.rbegin(); it != previous.rend(); ++it) {
      CView* view = *it;
      if (contains(chain, view))
         continue;
      CPoint where = pointForView(view, framePoint);
      view->onMouseExited(where, buttons);
      for (auto* observer : std::vector<IMouseObserver*>(mouseObservers))
         observer->onMouseExited(view, this);
   }
   for (const auto& view : chain) {
      if (contains(previous, view))
         continue;
      CPoint where = pointForView(view, framePoint);
      view->onMouseEntered(where, buttons);
      for (auto* observer : std::vector<IMouseObserver*>(mouseObservers))
         observer->onMouseEntered(view, this);
   }
}

void CFrame::clearMouseViews(const CButtonState& buttons) {
   const auto previous = std::move(mouseViews);
   mouseViews.clear();
   for (auto it = previous.rbegin(); it != previous.rend(); ++it) {
      CView* view = *it;
      CPoint where;
      view->onMouseExited(where, buttons);
      for (auto* observer : std::vector<IMouseObserver*>(mouseObservers))
         observer->onMouseExited(view, this);
   }
}

} // namespace VSTGUI
