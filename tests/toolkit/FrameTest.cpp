// The frame in a host's window: embedding, drawing through the back buffer, zoom, invalidation, several
// frames on the one connection, and a host that destroys its window first.
#include "Probes.h"
#include "TestSupport.h"
#include "x11/Connection.h"

#include <gtest/gtest.h>

namespace ToolkitTest {
namespace {

constexpr CColor frameBlue(48, 48, 128);
constexpr CColor red(220, 30, 30);
constexpr CColor green(30, 200, 60);

// A host window with an open frame holding one coloured view.
struct OpenFrame {
   OpenFrame(int x, int y, int width = 400, int height = 300)
       : host(x, y, width, height), frame(new CFrame(CRect(0, 0, width, height), nullptr)) {
      frame->setBackgroundColor(frameBlue);
      view = new ProbeView(CRect(10, 10, 60, 40), red);
      frame->addView(view);
   }
   ~OpenFrame() {
      if (frame)
         frame->close();
   }
   bool open() { return frame->open(host.handle()); }
   void close() {
      frame->close();
      frame = nullptr;
   }
   HostWindow host;
   CFrame* frame;
   ProbeView* view;
};

TEST(Frame, OpensAsMappedChildWithXEmbedInfoBeforeOpenReturns) {
   OpenFrame f(20, 20);
   ASSERT_TRUE(f.open());
   // No run-loop turn yet: the window must already be there, mapped, with its XEmbed information.
   const xcb_window_t child = f.host.firstChild();
   EXPECT_EQ(child, f.frame->getX11Window());
   EXPECT_TRUE(f.host.isViewable(child));
   EXPECT_EQ(f.host.property(child, "_XEMBED_INFO"), (std::vector<uint32_t>{0, 1}));
   EXPECT_EQ(f.host.geometry(child), CRect(20, 20, 420, 320));
}

TEST(Frame, DrawsBackgroundAndViewsIntoTheWindow) {
   OpenFrame f(20, 20);
   ASSERT_TRUE(f.open());
   pump(150);
   const Image image = f.host.capture();
   EXPECT_EQ(image.at(5, 5), frameBlue);
   EXPECT_EQ(image.at(399, 299), frameBlue);
   EXPECT_EQ(image.at(10, 10), red);
   EXPECT_EQ(image.at(59, 39), red);
   EXPECT_EQ(image.at(60, 40), frameBlue);
}

TEST(Frame, RefusesAParentThatDoesNotExist) {
   auto* frame = new CFrame(CRect(0, 0, 100, 100), nullptr);
   EXPECT_FALSE(frame->open(reinterpret_cast<void*>(uintptr_t{0x7ffffff0})));
   EXPECT_FALSE(frame->isOpen());
   frame->close();
}

// Both ways of zooming: setZoom, and multiplying the frame's transform by a scale.
TEST(Frame, ZoomScalesDrawingAndMapsMouseBackToFrameCoordinates) {
   struct Case {
      double zoom;
      bool byTransform;
   };
   for (const Case c : {Case{2.0, false}, Case{1.25, true}}) {
      SCOPED_TRACE(c.zoom);
      OpenFrame f(20, 20);
      auto* label = new CTextLabel(CRect(10, 60, 200, 90), "Zoomed text");
      label->setTransparency(true);
      label->setFontColor(kWhiteCColor);
      label->setFont(kNormalFontVeryBig);
      f.frame->addView(label);
      ASSERT_TRUE(f.open());
      if (c.byTransform) {
         CGraphicsTransform t = f.frame->getTransform();
         f.frame->setTransform(t.scale(c.zoom, c.zoom));
      } else {
         ASSERT_TRUE(f.frame->setZoom(c.zoom));
      }
      pump(150);
      const Image image = f.host.capture();
      // The view (10, 10, 60, 40) covers (10, 10, 60, 40) times the zoom.
      EXPECT_EQ(image.at(static_cast<int>(10 * c.zoom) + 1, static_cast<int>(10 * c.zoom) + 1), red);
      EXPECT_EQ(image.at(static_cast<int>(60 * c.zoom) - 2, static_cast<int>(40 * c.zoom) - 2), red);
      EXPECT_EQ(image.at(static_cast<int>(60 * c.zoom) + 2, static_cast<int>(40 * c.zoom) + 2), frameBlue);
      // The text scales with everything else: its white pixels lie inside the zoomed label only.
      CRect zoomedLabel(10 * c.zoom, 60 * c.zoom, 200 * c.zoom, 90 * c.zoom);
      EXPECT_GT(image.count(zoomedLabel, kWhiteCColor), 20 * c.zoom * c.zoom);
      EXPECT_EQ(image.count(CRect(0, 0, 400, 60 * c.zoom), kWhiteCColor), 0);
      keepScreenshot(image, "zoom-" + std::to_string(c.zoom));

      clickAt(f.frame->getX11Window(), static_cast<int>(50 * c.zoom), static_cast<int>(30 * c.zoom));
      const auto downs = f.view->of("down");
      ASSERT_EQ(downs.size(), 1u);
      EXPECT_NEAR(downs[0].where.x, 50., 1.);
      EXPECT_NEAR(downs[0].where.y, 30., 1.);
   }
}

TEST(Frame, SetSizeResizesTheWindowAndAnswersWhetherItChanged) {
   OpenFrame f(20, 20);
   ASSERT_TRUE(f.open());
   EXPECT_TRUE(f.frame->setSize(300, 200));
   EXPECT_FALSE(f.frame->setSize(300, 200));
   pump(100);
   EXPECT_EQ(f.host.geometry(f.frame->getX11Window()), CRect(20, 20, 320, 220));
   EXPECT_EQ(f.host.capture().at(299, 199), frameBlue);
}

TEST(Frame, InvalidationsAreCoalescedAndOnlyInvalidViewsRedraw) {
   OpenFrame f(20, 20);
   auto* other = new ColorView(CRect(100, 10, 150, 40), green);
   f.frame->addView(other);
   ASSERT_TRUE(f.open());
   pump(150);
   ASSERT_GE(f.view->draws, 1);
   f.view->draws = other->draws = 0;

   // Ten invalidations outside any run-loop entry: one redraw at the next turn, of that view only.
   f.view->color = green;
   for (int i = 0; i < 10; ++i)
      f.view->invalid();
   EXPECT_EQ(f.view->draws, 0) << "drawing must wait for the run loop";
   pump(100);
   EXPECT_EQ(f.view->draws, 1);
   EXPECT_EQ(other->draws, 0);
   EXPECT_EQ(f.host.capture().at(20, 20), green);

   // Invalidations inside a timer tick are drawn when the tick ends.
   int ticks = 0;
   auto timer = makeOwned<CVSTGUITimer>(
       [&](CVSTGUITimer*) {
          ++ticks;
          f.view->invalid();
          f.view->invalid();
       },
       10, true);
   runLoop().pumpUntil([&] { return ticks >= 3; }, std::chrono::seconds(2));
   timer->stop();
   EXPECT_EQ(f.view->draws, 1 + ticks);
   EXPECT_EQ(other->draws, 0);
}

TEST(Frame, TwoFramesShareTheConnectionAndClosingOneKeepsTheOtherDrawing) {
   OpenFrame a(20, 20), b(500, 20);
   ASSERT_TRUE(a.open());
   ASSERT_TRUE(b.open());
   EXPECT_EQ(runLoop().eventHandlerCount(), 1u) << "one X connection for the whole process";
   pump(150);

   clickAt(b.frame->getX11Window(), 30, 20);
   EXPECT_TRUE(a.view->of("down").empty());
   EXPECT_EQ(b.view->of("down").size(), 1u);

   a.close();
   b.view->color = green;
   b.view->invalid();
   pump(100);
   EXPECT_EQ(b.host.capture().at(20, 20), green);
   EXPECT_EQ(runLoop().eventHandlerCount(), 1u);
}

TEST(Frame, HostDestroyingItsWindowFirstIsSurvived) {
   OpenFrame witness(500, 20);
   ASSERT_TRUE(witness.open());
   auto* connection = X11::Connection::get();
   ASSERT_NE(connection, nullptr);

   for (const bool pumpBeforeClose : {true, false}) {
      SCOPED_TRACE(pumpBeforeClose);
      OpenFrame f(20, 20);
      ASSERT_TRUE(f.open());
      pump(50);
      const uint32_t errorsBefore = connection->errorCount();
      f.host.destroy();
      if (pumpBeforeClose)
         pump(100);
      // Requests for the dead window: drawing, resizing, closing.
      f.view->invalid();
      f.frame->setSize(200, 100);
      f.close();
      pump(100);
      if (!pumpBeforeClose) {
         EXPECT_GT(connection->errorCount(), errorsBefore) << "the X errors are counted, not fatal";
      }
   }

   witness.view->color = green;
   witness.view->invalid();
   pump(100);
   EXPECT_EQ(witness.host.capture().at(20, 20), green);
}

// An editor is all of these at once; it is one counted object, and the frame lets go of it on close.
struct EditorLike : VSTGUIEditorInterface,
                    IControlListener,
                    IMouseObserver,
                    IDropTarget,
                    ITextEditListener,
                    CBaseObject {
   void valueChanged(CControl*) override {}
   void onMouseEntered(CView*, CFrame*) override {}
   void onMouseExited(CView*, CFrame*) override {}
   DragOperation onDragEnter(DragEventData) override { return DragOperation::None; }
   DragOperation onDragMove(DragEventData) override { return DragOperation::None; }
   void onDragLeave(DragEventData) override {}
   bool onDrop(DragEventData) override { return false; }
   void onTextEditPlatformControlTookFocus(CTextEdit*) override {}
   void onTextEditPlatformControlLostFocus(CTextEdit*) override {}
};

TEST(Frame, CloseReleasesTheEditorHeldAsDropTarget) {
   HostWindow host(20, 20, 100, 100);
   EditorLike editor;
   auto* frame = new CFrame(CRect(0, 0, 100, 100), &editor);
   frame->setDropTarget(&editor);
   auto* container = new CViewContainer(CRect(0, 0, 100, 100));
   container->setDropTarget(&editor);
   frame->addView(container);
   EXPECT_EQ(editor.getNbReference(), 3);
   ASSERT_TRUE(frame->open(host.handle()));
   frame->remember(); // the editor's extra reference
   frame->close();
   EXPECT_EQ(editor.getNbReference(), 1);
   EXPECT_EQ(frame->getNbReference(), 1);
   frame->forget();
}

TEST(RunLoop, UsesAreCountedAndTheLastExitClosesTheConnection) {
   HostWindow host(20, 20, 100, 100); // the host's own connection keeps the X server from resetting
   SharedPointer<TestRunLoop> keep(&runLoop());
   ASSERT_NE(X11::Connection::get(), nullptr);
   EXPECT_EQ(X11::RunLoop::get().get(), &runLoop());

   X11::RunLoop::init(nullptr); // a second use: counts only
   X11::RunLoop::exit();
   EXPECT_NE(X11::Connection::get(), nullptr);
   EXPECT_EQ(runLoop().eventHandlerCount(), 1u);

   X11::RunLoop::exit(); // the program's own use: the last one
   EXPECT_EQ(X11::Connection::get(), nullptr);
   EXPECT_EQ(runLoop().eventHandlerCount(), 0u);
   EXPECT_EQ(X11::RunLoop::get().get(), nullptr);

   X11::RunLoop::init(keep);
   EXPECT_NE(X11::Connection::get(), nullptr);
   EXPECT_EQ(runLoop().eventHandlerCount(), 1u);
   auto* frame = new CFrame(CRect(0, 0, 100, 100), nullptr);
   EXPECT_TRUE(frame->open(host.handle()));
   frame->close();
}

TEST(RunLoop, TimersTickThroughTheInstalledRunLoop) {
   const size_t before = runLoop().timerCount();
   int callbackTicks = 0;
   auto timer = makeOwned<CVSTGUITimer>([&](CVSTGUITimer*) { ++callbackTicks; }, 20, true);
   EXPECT_EQ(runLoop().timerCount(), before + 1);
   EXPECT_TRUE(runLoop().pumpUntil([&] { return callbackTicks >= 3; }, std::chrono::seconds(2)));

   struct Target : CBaseObject {
      CMessageResult notify(CBaseObject* sender, IdStringPtr message) override {
         if (message == CVSTGUITimer::kMsgTimer && sender == timer)
            ++ticks;
         return kMessageNotified;
      }
      CVSTGUITimer* timer = nullptr;
      int ticks = 0;
   } target;
   auto notifying = makeOwned<CVSTGUITimer>(&target, 15, false);
   target.timer = notifying;
   EXPECT_EQ(runLoop().timerCount(), before + 1) << "not started yet";
   EXPECT_TRUE(notifying->start());
   EXPECT_TRUE(runLoop().pumpUntil([&] { return target.ticks >= 2; }, std::chrono::seconds(2)));

   timer->stop();
   EXPECT_EQ(runLoop().timerCount(), before + 1);
   const int stopped = callbackTicks;
   pump(80);
   EXPECT_EQ(callbackTicks, stopped);
   notifying = nullptr; // a running timer unregisters when it goes away
   EXPECT_EQ(runLoop().timerCount(), before);
}

TEST(Frame, TwentyOpenCloseCyclesLeaveNoRegistrationsBehind) {
   const size_t timersBefore = runLoop().timerCount();
   for (int cycle = 0; cycle < 20; ++cycle) {
      OpenFrame f(20, 20);
      auto* label = new CTextLabel(CRect(10, 50, 200, 70), "cycle");
      f.frame->addView(label);
      auto* menu = new COptionMenu(CRect(10, 80, 110, 100), nullptr, 1);
      menu->addEntry("one");
      menu->addEntry("two");
      f.frame->addView(menu);
      auto* edit = new CTextEdit(CRect(10, 110, 200, 130), nullptr, 2, "text");
      f.frame->addView(edit);
      auto timer = makeOwned<CVSTGUITimer>([label](CVSTGUITimer*) { label->invalid(); }, 10, true);
      ASSERT_TRUE(f.open());
      pump(20);
      f.frame->setFocusView(edit);
      EXPECT_TRUE(menu->popup());
      pump(20);
      f.close(); // with the pop-up open and the field editing
      timer->stop();
   }
   pump(50);
   EXPECT_EQ(runLoop().timerCount(), timersBefore);
   EXPECT_EQ(runLoop().eventHandlerCount(), 1u);
}

} // namespace
} // namespace ToolkitTest
