// File dialogs as child programs: the toolkit runs a stand-in for zenity or kdialog (the seam is the
// VSTGUI_LITE_FILE_DIALOG variable) and must never wait for it.
#include "Probes.h"
#include "TestSupport.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace ToolkitTest {
namespace {

std::string readFile(const std::string& path) {
   std::ifstream in(path);
   return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Delegate : CBaseObject {
   CMessageResult notify(CBaseObject* sender, IdStringPtr message) override {
      if (message != CNewFileSelector::kSelectEndMessage)
         return kMessageUnknown;
      auto* selector = dynamic_cast<CNewFileSelector*>(sender);
      ++calls;
      files.clear();
      for (uint32_t i = 0; i < selector->getNumSelectedFiles(); ++i)
         files.push_back(selector->getSelectedFile(i));
      return kMessageNotified;
   }
   int calls = 0;
   std::vector<std::string> files;
};

struct DialogFixture : testing::Test {
   void SetUp() override {
      frame = new CFrame(CRect(0, 0, 300, 200), nullptr);
      probe = new ProbeView(CRect(0, 0, 300, 200), CColor(10, 10, 10));
      frame->addView(probe);
      ASSERT_TRUE(frame->open(host.handle()));
      pump(50);
      handlersBefore = runLoop().eventHandlerCount();
      timersBefore = runLoop().timerCount();
   }
   void TearDown() override {
      if (frame)
         frame->close();
      unsetenv("VSTGUI_LITE_FILE_DIALOG");
   }
   // A dialog program that logs its arguments (one per line), then runs body.
   std::string program(const std::string& name, const std::string& body) {
      const std::string path = dir.path() + "/" + name;
      writeFile(path,
                "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > " + dir.path() + "/" + name +
                    ".args\n" + body + "\n",
                true);
      return path;
   }
   bool settled() const {
      return runLoop().eventHandlerCount() == handlersBefore && runLoop().timerCount() == timersBefore;
   }

   TempDir dir;
   HostWindow host{20, 20, 300, 200};
   CFrame* frame = nullptr;
   ProbeView* probe = nullptr;
   size_t handlersBefore = 0;
   size_t timersBefore = 0;
};

TEST_F(DialogFixture, SaveDialogRunsWithoutBlockingAndDeliversThePath) {
   setenv("VSTGUI_LITE_FILE_DIALOG",
          program("zenity", "sleep 0.3; echo /tmp/chosen/My Preset.vstpreset").c_str(), 1);
   auto selector = owned(CNewFileSelector::create(frame, CNewFileSelector::kSelectSaveFile));
   ASSERT_TRUE(selector);
   selector->setTitle("Save preset as");
   selector->addFileExtension(CFileExtension("Test preset file", "vstpreset"));
   selector->setDefaultSaveName("Default.vstpreset");
   Delegate delegate;
   ASSERT_TRUE(selector->run(&delegate));
   EXPECT_TRUE(selector->isRunning());
   EXPECT_EQ(delegate.calls, 0) << "run returns before the program answers";

   clickAt(frame->getX11Window(), 100, 100);
   EXPECT_TRUE(probe->of("down").empty()) << "the frame ignores input while its dialog runs";

   ASSERT_TRUE(runLoop().pumpUntil([&] { return delegate.calls > 0; }, std::chrono::seconds(10)));
   EXPECT_EQ(delegate.calls, 1);
   EXPECT_EQ(delegate.files, (std::vector<std::string>{"/tmp/chosen/My Preset.vstpreset"}));
   EXPECT_EQ(
       readFile(dir.path() + "/zenity.args"),
       "--file-selection\n--title=Save preset as\n--save\n--confirm-overwrite\n--filename=Default.vstpreset\n"
       "--file-filter=Test preset file | *.vstpreset\n--file-filter=All files | *\n");
   EXPECT_TRUE(runLoop().pumpUntil([&] { return settled(); }, std::chrono::seconds(2)))
       << "the pipe and the reaping timer are unregistered";
   EXPECT_FALSE(selector->isRunning());
   clickAt(frame->getX11Window(), 100, 100);
   EXPECT_EQ(probe->of("down").size(), 1u);
}

TEST_F(DialogFixture, CancelledDialogDeliversNoFile) {
   setenv("VSTGUI_LITE_FILE_DIALOG", program("zenity", "exit 1").c_str(), 1);
   auto selector = owned(CNewFileSelector::create(frame, CNewFileSelector::kSelectFile));
   std::vector<std::string> files{"unset"};
   int calls = 0;
   ASSERT_TRUE(selector->run([&](CNewFileSelector* s) {
      ++calls;
      files.clear();
      for (uint32_t i = 0; i < s->getNumSelectedFiles(); ++i)
         files.push_back(s->getSelectedFile(i));
   }));
   ASSERT_TRUE(runLoop().pumpUntil([&] { return calls > 0; }, std::chrono::seconds(10)));
   EXPECT_TRUE(files.empty());
   EXPECT_TRUE(runLoop().pumpUntil([&] { return settled(); }, std::chrono::seconds(2)));
}

TEST_F(DialogFixture, KDialogIsTheFallbackAndSpokenToInItsOwnArguments) {
   setenv("VSTGUI_LITE_FILE_DIALOG",
          (dir.path() + "/missing/zenity:" + program("kdialog", "echo /home/u/a.vstpreset")).c_str(), 1);
   auto selector = owned(CNewFileSelector::create(frame, CNewFileSelector::kSelectFile));
   ASSERT_TRUE(selector);
   selector->setTitle("Load preset");
   selector->setInitialDirectory("/home/u");
   selector->addFileExtension(CFileExtension("Test preset", "vstpreset"));
   Delegate delegate;
   ASSERT_TRUE(selector->run(&delegate));
   ASSERT_TRUE(runLoop().pumpUntil([&] { return delegate.calls > 0; }, std::chrono::seconds(10)));
   EXPECT_EQ(delegate.files, (std::vector<std::string>{"/home/u/a.vstpreset"}));
   EXPECT_EQ(readFile(dir.path() + "/kdialog.args"),
             "--title\nLoad preset\n--getopenfilename\n/home/u\n*.vstpreset|Test preset\n");
}

TEST_F(DialogFixture, NoProgramMeansNoSelector) {
   setenv("VSTGUI_LITE_FILE_DIALOG", (dir.path() + "/none:" + dir.path() + "/neither").c_str(), 1);
   EXPECT_EQ(CNewFileSelector::create(frame, CNewFileSelector::kSelectFile), nullptr);
}

TEST_F(DialogFixture, ClosingTheFrameEndsTheProgramAndDeliversNothing) {
   const std::string pidFile = dir.path() + "/pid";
   setenv("VSTGUI_LITE_FILE_DIALOG", program("zenity", "echo $$ > " + pidFile + "; exec sleep 30").c_str(),
          1);
   auto selector = owned(CNewFileSelector::create(frame, CNewFileSelector::kSelectFile));
   Delegate delegate;
   ASSERT_TRUE(selector->run(&delegate));
   ASSERT_TRUE(runLoop().pumpUntil([&] { return !readFile(pidFile).empty(); }, std::chrono::seconds(5)));
   const pid_t pid = std::atoi(readFile(pidFile).c_str());
   ASSERT_GT(pid, 0);

   frame->close();
   frame = nullptr;
   EXPECT_FALSE(selector->isRunning());
   EXPECT_NE(kill(pid, 0), 0) << "the program is gone and reaped (no zombie left)";
   EXPECT_TRUE(settled());
   pump(200);
   EXPECT_EQ(delegate.calls, 0);
   EXPECT_EQ(delegate.getNbReference(), 1) << "the selector let go of its delegate";
}

} // namespace
} // namespace ToolkitTest
