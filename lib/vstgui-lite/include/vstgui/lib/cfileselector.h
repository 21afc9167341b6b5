// File dialogs run as a separate program (zenity, or kdialog when zenity is missing). run() starts the
// program and returns at once; the program's answer arrives through the run loop and is delivered to
// the delegate (notify with kSelectEndMessage) or the callback. While a dialog of a frame runs, the frame
// ignores mouse and keyboard input. Closing the frame ends the program and delivers nothing.
//
// The environment variable VSTGUI_LITE_FILE_DIALOG replaces the programs: a list of absolute paths
// separated by ':' tried in order; a program named "kdialog" is spoken to in kdialog's arguments, any
// other in zenity's.
#pragma once

#include "cframe.h"
#include "cstring.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace VSTGUI {

class CFileExtension {
public:
   CFileExtension(const UTF8String& description, const UTF8String& extension, const UTF8String& mimeType = "",
                  int32_t macType = 0)
       : description(description), extension(extension), mimeType(mimeType), macType(macType) {}

   const UTF8String& getDescription() const { return description; }
   const UTF8String& getExtension() const { return extension; }
   const UTF8String& getMimeType() const { return mimeType; }
   int32_t getMacType() const { return macType; }

private:
   UTF8String description;
   UTF8String extension;
   UTF8String mimeType;
   int32_t macType;
};

class CNewFileSelector : public CBaseObject {
public:
   enum Style { kSelectFile, kSelectSaveFile, kSelectDirectory };
   using CallbackFunc = std::function<void(CNewFileSelector*)>;

   // Null when no dialog program is available.
   static CNewFileSelector* create(CFrame* parent = nullptr, Style style = kSelectFile);
   ~CNewFileSelector() noexcept override;

   bool run(CBaseObject* delegate);
   bool run(CallbackFunc&& callback);
   // Ends a running dialog without delivering anything.
   void cancel();
   bool isRunning() const;

   void setTitle(const UTF8String& title);
   void setInitialDirectory(const UTF8String& path);
   void setDefaultSaveName(const UTF8String& name);
   void setDefaultExtension(const CFileExtension& extension);
   void setAllowMultiFileSelection(bool state);
   void addFileExtension(const CFileExtension& extension);

   uint32_t getNumSelectedFiles() const { return static_cast<uint32_t>(result.size()); }
   UTF8StringPtr getSelectedFile(uint32_t index) const;

   static constexpr char kSelectEndMessage[] = "CNewFileSelector Select End Message";

private:
   class Process;
   CNewFileSelector(CFrame* frame, Style style, std::string program);
   bool start();
   void finished(bool chosen, const std::string& output);
   std::vector<std::string> arguments() const;

   SharedPointer<CFrame> frame;
   Style style;
   std::string program;
   UTF8String title;
   UTF8String initialDirectory;
   UTF8String defaultSaveName;
   std::vector<CFileExtension> extensions;
   bool multiple = false;
   std::vector<UTF8String> result;
   CBaseObject* delegate = nullptr;
   CallbackFunc callback;
   std::unique_ptr<Process> process;
};

} // namespace VSTGUI
