// The frame: the root container, shown in an X11 child window of a window the host owns. It owns the
// view tree, a transform (the zoom), the invalid region and a back buffer. Views live in the frame's
// unzoomed space ("frame coordinates"); the transform maps it onto the window's pixels.
#pragma once

#include "cviewcontainer.h"

#include <memory>
#include <optional>
#include <vector>

namespace VSTGUI {

namespace X11 {
class FrameWindow;
}

class CFrame;

// What a frame knows of the editor that owns it.
class VSTGUIEditorInterface {
public:
   virtual void doIdleStuff() {}
   // A control of the frame starts or ends a gesture on the parameter index (its tag).
   virtual void beginEdit([[maybe_unused]] int32_t index) {}
   virtual void endEdit([[maybe_unused]] int32_t index) {}
   virtual CFrame* getFrame() const { return frame; }
   virtual int32_t getKnobMode() const { return -1; }

protected:
   VSTGUIEditorInterface() = default;
   virtual ~VSTGUIEditorInterface() noexcept = default;

   CFrame* frame = nullptr;
};

// Sees the frame's mouse events before the views do. Points are in frame coordinates.
class IMouseObserver {
public:
   virtual ~IMouseObserver() noexcept = default;
   virtual void onMouseEntered(CView* view, CFrame* frame) = 0;
   virtual void onMouseExited(CView* view, CFrame* frame) = 0;
   // Answering kMouseEventHandled keeps the event from the views.
   virtual CMouseEventResult onMouseMoved([[maybe_unused]] CFrame* frame,
                                          [[maybe_unused]] const CPoint& where,
                                          [[maybe_unused]] const CButtonState& buttons) {
      return kMouseEventNotHandled;
   }
   virtual CMouseEventResult onMouseDown([[maybe_unused]] CFrame* frame, [[maybe_unused]] const CPoint& where,
                                         [[maybe_unused]] const CButtonState& buttons) {
      return kMouseEventNotHandled;
   }
};

enum class PlatformType : int32_t {
   kX11EmbedWindowID,
   kDefaultNative = kX11EmbedWindowID,
};

class IPlatformFrameConfig {
public:
   virtual ~IPlatformFrameConfig() noexcept = default;
};

enum CCursorType {
   kCursorDefault = 0,
   kCursorWait,
   kCursorHSize,
   kCursorVSize,
   kCursorSizeAll,
   kCursorNESWSize,
   kCursorNWSESize,
   kCursorCopy,
   kCursorNotAllowed,
   kCursorHand,
   kCursorIBeam,
};

using ModalViewSessionID = uint32_t;

class CFrame final : public CViewContainer {
public:
   CFrame(const CRect& size, VSTGUIEditorInterface* editor);

   // Creates the frame's window as a child of systemWin (an X11 window id), maps it and flushes the
   // connection before returning. Needs the X11 run loop (VSTGUI::X11::RunLoop::init).
   bool open(void* systemWin, PlatformType systemWindowType = PlatformType::kDefaultNative,
             IPlatformFrameConfig* config = nullptr);
   // Destroys the window (and any open pop-up or file dialog of the frame), removes all views and
   // releases the caller's reference.
   void close();
   bool isOpen() const { return platformFrame != nullptr; }
   // The frame's X11 window id, 0 while not open.
   uint32_t getX11Window() const;

   // Sets the size of the frame and its window in pixels; answers whether the size changed.
   bool setSize(CCoord width, CCoord height);
   // Scales the content by zoomFactor (the transform becomes a uniform scale); the frame's size, which
   // belongs to the host, is left alone. Answers false for a factor that is not above 0.
   bool setZoom(double zoomFactor);
   double getZoom() const { return zoom; }

   VSTGUIEditorInterface* getEditor() const { return editor; }

   void registerMouseObserver(IMouseObserver* observer);
   void unregisterMouseObserver(IMouseObserver* observer);

   // Adds view on top of everything (unless it is a child already) and sends it all input until the
   // session ends; the view takes the keyboard focus when it wants it. One session at a time.
   std::optional<ModalViewSessionID> beginModalViewSession(CView* view);
   // Ends the session and removes its view (releasing it when the session added it).
   bool endModalViewSession(ModalViewSessionID sessionID);
   CView* getModalView() const { return modalView; }

   // The view that receives key presses; changing it calls looseFocus on the old and takeFocus on the new.
   void setFocusView(CView* view);
   CView* getFocusView() const { return focusView; }

   void setCursor(CCursorType type);

   // CViewContainer
   void invalidRect(const CRect& rect) override;
   void invalid() override;
   void setViewSize(const CRect& rect, bool invalid = true) override;
   CPoint& frameToLocal(CPoint& point) const override { return point; }
   CPoint& localToFrame(CPoint& point) const override { return point; }

   // Entry points of the window layer; points are in window pixels.
   void platformDrawRect(CDrawContext* context, const CRect& windowRect);
   void platformOnMouseDown(const CPoint& where, const CButtonState& buttons);
   void platformOnMouseUp(const CPoint& where, const CButtonState& buttons);
   void platformOnMouseMoved(const CPoint& where, const CButtonState& buttons);
   void platformOnMouseExited();
   bool platformOnKeyDown(VstKeyCode& key);
   bool platformOnKeyUp(VstKeyCode& key);
   // Called by a view while it is being taken out of the tree.
   void onViewRemoved(CView* view);
   X11::FrameWindow* getPlatformFrame() const { return platformFrame.get(); }

private:
   ~CFrame() noexcept override;

   bool inputBlocked() const;
   void updateMouseViews(const CPoint& framePoint, const CButtonState& buttons);
   void clearMouseViews(const CButtonState& buttons);
   void closeWindow();

   VSTGUIEditorInterface* editor;
   std::unique_ptr<X11::FrameWindow> platformFrame;
   std::vector<IMouseObserver*> mouseObservers;
   std::vector<SharedPointer<CView>> mouseViews; // outermost first
   CView* focusView = nullptr;
   CView* modalView = nullptr;
   ModalViewSessionID modalSession = 0;
   ModalViewSessionID lastSessionID = 0;
   bool modalViewAdded = false;
   bool mouseSwallowed = false;
   double zoom = 1.;
};

} // namespace VSTGUI
