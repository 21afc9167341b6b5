// Real input through the X server (xdotool): mouse buttons, modifiers, double-clicks, enter and leave,
// mouse observers, keyboard into a text field, and modal views.
#include "Probes.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace ToolkitTest {
namespace {

constexpr CColor grey(90, 90, 90);

struct InputFixture : testing::Test {
   void SetUp() override {
      frame = new CFrame(CRect(0, 0, 400, 300), &editor);
      auto* panel = new CViewContainer(CRect(100, 100, 300, 250));
      panel->setBackgroundColor(grey);
      probe = new ProbeView(CRect(20, 20, 120, 80), CColor(200, 0, 0));
      panel->addView(probe);
      frame->addView(panel);
      ASSERT_TRUE(frame->open(host.handle()));
      window = std::to_string(frame->getX11Window());
      pump(100);
   }
   void TearDown() override {
      xdotool({"mousemove", "--window", std::to_string(host.id()), "399", "299"});
      frame->close();
   }
   // A point of the frame window (the probe is at 120 ... 220 × 120 ... 180).
   void moveTo(int x, int y) {
      xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y)});
   }

   HostWindow host{20, 20, 400, 300};
   RecordingEditor editor;
   CFrame* frame = nullptr;
   ProbeView* probe = nullptr;
   std::string window;
};

TEST_F(InputFixture, PressDragReleaseCarryButtonsModifiersAndLocalPoints) {
   moveTo(130, 130);
   xdotool({"keydown", "shift", "mousedown", "1", "mousemove", "--window", window, "150", "140", "mouseup",
            "1", "keyup", "shift"});
   const auto downs = probe->of("down");
   const auto moves = probe->of("moved");
   const auto ups = probe->of("up");
   ASSERT_EQ(downs.size(), 1u);
   ASSERT_FALSE(moves.empty());
   ASSERT_EQ(ups.size(), 1u);
   // Points are in the probe's parent space: the panel's origin is at (100, 100) of the frame.
   EXPECT_EQ(downs[0].where, CPoint(30, 30));
   EXPECT_EQ(downs[0].buttons, kLButton | kShift);
   EXPECT_EQ(moves.back().where, CPoint(50, 40));
   EXPECT_EQ(moves.back().buttons, kLButton | kShift);
   EXPECT_EQ(ups[0].where, CPoint(50, 40));
   EXPECT_TRUE(ups[0].buttons & kLButton);
}

TEST_F(InputFixture, RightAndMiddleButtonsAndControlAreReported) {
   moveTo(130, 130);
   xdotool({"keydown", "ctrl", "click", "3", "keyup", "ctrl", "click", "2"});
   const auto downs = probe->of("down");
   ASSERT_EQ(downs.size(), 2u);
   EXPECT_EQ(downs[0].buttons, kRButton | kControl);
   EXPECT_EQ(downs[1].buttons, kMButton);
}

TEST_F(InputFixture, SecondQuickClickIsADoubleClickAndAThirdIsNot) {
   moveTo(130, 130);
   xdotool({"click", "--repeat", "3", "--delay", "60", "1"});
   const auto downs = probe->of("down");
   ASSERT_EQ(downs.size(), 3u);
   EXPECT_FALSE(downs[0].buttons & kDoubleClick);
   EXPECT_TRUE(downs[1].buttons & kDoubleClick);
   EXPECT_FALSE(downs[2].buttons & kDoubleClick);
   pump(500);
   xdotool({"click", "1"});
   EXPECT_FALSE(probe->of("down").back().buttons & kDoubleClick) << "too late for a double-click";
}

TEST_F(InputFixture, EnterAndExitFollowThePointer) {
   moveTo(10, 10);
   moveTo(130, 130);
   moveTo(135, 135);
   moveTo(10, 10);
   EXPECT_EQ(probe->of("entered").size(), 1u);
   EXPECT_EQ(probe->of("exited").size(), 1u);
   moveTo(130, 130);
   xdotool({"mousemove", "--window", std::to_string(host.id()), "600", "600"}); // out of the window
   EXPECT_EQ(probe->of("exited").size(), 2u);
}

TEST_F(InputFixture, MouseObserversSeeFrameCoordinatesFirstAndMaySwallow) {
   struct Observer : IMouseObserver {
      void onMouseEntered(CView* view, CFrame*) override { entered.push_back(view); }
      void onMouseExited(CView*, CFrame*) override {}
      CMouseEventResult onMouseDown(CFrame*, const CPoint& where, const CButtonState& buttons) override {
         points.push_back(where);
         return (buttons & kRButton) ? kMouseEventHandled : kMouseEventNotHandled;
      }
      std::vector<CPoint> points;
      std::vector<CView*> entered;
   } observer;
   frame->registerMouseObserver(&observer);
   ASSERT_TRUE(frame->setZoom(2.0)); // observers see the unzoomed space
   pump(50);
   moveTo(260, 260);
   xdotool({"click", "3", "click", "1"});
   ASSERT_EQ(observer.points.size(), 2u);
   EXPECT_EQ(observer.points[0], CPoint(130, 130));
   ASSERT_EQ(probe->of("down").size(), 1u) << "the right click was swallowed";
   EXPECT_TRUE(probe->of("down")[0].buttons & kLButton);
   EXPECT_EQ(observer.entered.back(), probe);
   frame->unregisterMouseObserver(&observer);
}

struct FocusListener : ITextEditListener {
   void onTextEditPlatformControlTookFocus(CTextEdit*) override { ++took; }
   void onTextEditPlatformControlLostFocus(CTextEdit* edit) override {
      ++lost;
      textAtLoss = edit->getText().getString();
      if (onLost)
         onLost();
   }
   int took = 0;
   int lost = 0;
   std::string textAtLoss;
   std::function<void()> onLost;
};

TEST_F(InputFixture, TextFieldEditsWithTheKeyboardAndCommitsOnReturn) {
   auto* edit = new CTextEdit(CRect(10, 10, 200, 40), &editor, 7, "old name");
   FocusListener listener;
   edit->registerTextEditListener(&listener);
   frame->addView(edit);
   pump(50);
   clickAt(frame->getX11Window(), 50, 25);
   ASSERT_TRUE(edit->isEditingText());
   EXPECT_EQ(listener.took, 1);
   // The whole text is selected: typing replaces it.
   xdotool({"type", "--delay", "20", "Grüße a"});
   xdotool({"key", "BackSpace", "Return"});
   EXPECT_FALSE(edit->isEditingText());
   EXPECT_EQ(edit->getText(), "Grüße ");
   EXPECT_EQ(listener.lost, 1);
   EXPECT_EQ(listener.textAtLoss, "Grüße ");
   EXPECT_EQ(editor.log, (std::vector<std::string>{"value 7 0.000000"}));

   // Escape gives the text back; nothing is reported as changed.
   clickAt(frame->getX11Window(), 50, 25);
   xdotool({"type", "--delay", "20", "xyz"});
   xdotool({"key", "Escape"});
   EXPECT_EQ(edit->getText(), "Grüße ");
   EXPECT_EQ(listener.lost, 2);
   EXPECT_EQ(editor.log.size(), 1u);
   edit->unregisterTextEditListener(&listener);
}

TEST_F(InputFixture, ModalFieldTakesAllInputAndEndsOnAClickOutside) {
   auto* edit = new CTextEdit(CRect(10, 10, 200, 40), nullptr, 0, "name");
   FocusListener listener;
   edit->registerTextEditListener(&listener);
   std::optional<ModalViewSessionID> session = frame->beginModalViewSession(edit);
   ASSERT_TRUE(session.has_value());
   auto* other = new CView(CRect());
   EXPECT_FALSE(frame->beginModalViewSession(other).has_value()) << "one session at a time";
   other->forget();
   EXPECT_EQ(frame->getFocusView(), edit) << "the modal field takes the keyboard at once";
   listener.onLost = [&] { EXPECT_TRUE(frame->endModalViewSession(*session)); };
   pump(50);
   xdotool({"type", "--delay", "20", "new"});
   clickAt(frame->getX11Window(), 130, 130); // on the probe, outside the field
   EXPECT_TRUE(probe->of("down").empty()) << "the click that ends a modal session reaches nobody";
   EXPECT_EQ(listener.lost, 1);
   EXPECT_EQ(listener.textAtLoss, "new");
   EXPECT_EQ(frame->getModalView(), nullptr);
   EXPECT_FALSE(frame->isChild(edit)) << "ending the session removed the field";
   clickAt(frame->getX11Window(), 130, 130);
   EXPECT_EQ(probe->of("down").size(), 1u);
}

} // namespace
} // namespace ToolkitTest
