#pragma once
#include "ParamList.h"
#include "ScorchwireFX.h"
#include "scorchwire-editor-interface.h"
#include "scorchwire-messages.h"

#include <clap/clap.h>
#include <clap/helpers/plugin.hh>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

using ScorchwirePluginBase = clap::helpers::Plugin<clap::helpers::MisbehaviourHandler::Terminate,
                                                   clap::helpers::CheckingLevel::Maximal>;

class ScorchwireEditor;

// The plug-in instance: binds the host's CLAP calls to the effect engine and the parameter table.
// Cross-thread state: refreshUIRequested, refreshLogPending, dataCopyForUI, the three editor queues,
// editor, and the engine's parameter atomics and feeds.
class Scorchwire : public ScorchwirePluginBase {
public:
   static const clap_plugin_descriptor_t desc;

   explicit Scorchwire(const clap_host_t* host);
   ~Scorchwire() override;

   // ---- editor (main thread) ----
   // Takes ownership of a newly opened editor (closing one still attached); detachEditor closes the
   // open editor and deletes it. The GUI callbacks and the destructor go through these two.
   void attachEditor(std::unique_ptr<EditorInterface> newEditor) noexcept;
   void detachEditor() noexcept;
   // The queues, shared flags and flush request an editor is created with.
   EditorLink editorLink() noexcept;

   // One synchronous message from the editor (see scorchwire-messaging.cpp for the commands).
   bool processMessage(MessageType type, const char* command, float floatValue, int64_t intValue,
                       const void* data) noexcept;
   // The editor's tick: the scope and the meters of an open editor get what the engine fed them.
   void onTimer() noexcept;
   void updateOscilloscope() noexcept;
   void processMasterVumeter() noexcept;

   // The engine's value of parameter index 0..16, else 0.0.
   double getParameter(int32_t index) const noexcept;
   // The settings page's road: straight into the engine, echoed back to the editor, and the host is
   // asked to rescan values. Indexes outside 0..16 change nothing.
   void setParameterAutomated(int32_t index, double value) noexcept;
   // Asks the host to flush parameters (when it offers the parameters extension).
   void editorParamsFlush() noexcept;

   // Reads a VST3 preset file into the engine and the open editor; true when a component chunk was
   // applied (scorchwire-presets.cpp).
   bool loadVst3Preset(const std::string& path) noexcept;

   // ---- the toolkit's host registrations (main thread, through ClapRunLoop) ----
   // Each answers the host's verdict, false when the host lacks the extension.
   bool registerTimer(uint32_t periodMs, clap_id& timerId) noexcept;
   bool unregisterTimer(clap_id timerId) noexcept;
   // Watched for read and error readiness.
   bool registerPosixFd(int fd) noexcept;
   bool unregisterPosixFD(int fd) noexcept;

protected:
   // ---- core ----
   bool activate(double sampleRate, uint32_t minFrameCount, uint32_t maxFrameCount) noexcept override;
   bool startProcessing() noexcept override;
   void stopProcessing() noexcept override;
   clap_process_status process(const clap_process_t* process) noexcept override;

   // ---- state ----
   bool implementsState() const noexcept override { return true; }
   bool stateSave(const clap_ostream_t* stream) noexcept override;
   bool stateLoad(const clap_istream_t* stream) noexcept override;

   // ---- audio ports ----
   bool implementsAudioPorts() const noexcept override { return true; }
   uint32_t audioPortsCount(bool isInput) const noexcept override;
   bool audioPortsInfo(uint32_t index, bool isInput, clap_audio_port_info_t* info) const noexcept override;

   // ---- params ----
   bool implementsParams() const noexcept override { return true; }
   uint32_t paramsCount() const noexcept override;
   bool paramsInfo(uint32_t paramIndex, clap_param_info_t* info) const noexcept override;
   bool paramsValue(clap_id paramId, double* value) noexcept override;
   bool paramsValueToText(clap_id paramId, double value, char* display, uint32_t size) noexcept override;
   bool paramsTextToValue(clap_id paramId, const char* display, double* value) noexcept override;
   void paramsFlush(const clap_input_events_t* in, const clap_output_events_t* out) noexcept override;
   bool isValidParamId(clap_id paramId) const noexcept override;

   // ---- note ports ----
   bool implementsNotePorts() const noexcept override { return true; }
   uint32_t notePortsCount(bool isInput) const noexcept override;
   bool notePortsInfo(uint32_t index, bool isInput, clap_note_port_info_t* info) const noexcept override;

   // ---- timer support ----
   bool implementsTimerSupport() const noexcept override;
   void onTimer(clap_id timerId) noexcept override;

   // ---- posix fd support ----
   bool implementsPosixFdSupport() const noexcept override;
   void onPosixFd(int fd, clap_posix_fd_flags_t flags) noexcept override;

   // ---- gui (scorchwire-gui.cpp) ----
   bool implementsGui() const noexcept override { return true; }
   enum class HostRunLoop { Complete, Missing, Partial };
   HostRunLoop hostRunLoop(bool report) noexcept;
   bool guiIsApiSupported(const char* api, bool isFloating) noexcept override;
   bool guiCreate(const char* api, bool isFloating) noexcept override;
   void guiDestroy() noexcept override;
   bool guiSetScale(double scale) noexcept override;
   bool guiGetSize(uint32_t* width, uint32_t* height) noexcept override;
   bool guiCanResize() const noexcept override { return true; }
   bool guiAdjustSize(uint32_t* width, uint32_t* height) noexcept override;
   bool guiSetSize(uint32_t width, uint32_t height) noexcept override;
   bool guiSetParent(const clap_window_t* window) noexcept override;

   // ---- voice info ----
   bool implementsVoiceInfo() const noexcept override { return true; }
   bool voiceInfoGet(clap_voice_info_t* info) noexcept override;

private:
   // Host input events to the engine: notes, MIDI notes and parameter values (process and flush).
   void dispatchInputEvents(const clap_input_events_t* in) noexcept;
   // Editor gestures and values to the engine and out to the host; then the refresh a state load
   // asked for, once an editor is open (process and flush).
   void handleEventsFromUIQueue(const clap_output_events_t* out) noexcept;
   // The open editor's controls follow values loaded behind its back (parameter 13 has none).
   void showLoadedValuesInEditor(EditorInterface& openEditor) noexcept;
   void applyVst2Chunk(const void* data, int64_t size) noexcept;
   // The open editor when it is the toolkit editor the GUI callbacks built, else null.
   ScorchwireEditor* guiEditor() const noexcept;
   // A newly opened editor's controls are brought up to date with the engine's values.
   void postValuesToOpenedEditor() noexcept;
   // Log lines of the audio path, written later on the main thread.
   void writeDeferredLogLines() noexcept;

   // Set by a successful state load: the next drain of the editor queue pushes every value to the editor.
   std::atomic<bool> refreshUIRequested{false};
   DataCopyForUI dataCopyForUI;
   ToUIQueue toUIQueue{kQueueInitialSize};
   ToUIQueue mainThreadEchoQueue{kQueueInitialSize};
   FromUIQueue fromUIQueue{kQueueInitialSize};
   // The open editor, null while none is open; set and cleared on the main thread, read by the audio
   // thread only to decide whether to post (never dereferenced there), so relaxed suffices.
   std::atomic<EditorInterface*> editor{nullptr};
   std::unique_ptr<ScorchwireFX> engine;
   std::unique_ptr<ParamList> paramList;

   // Set by the drain when it pushed a refresh; the main thread writes the log line.
   std::atomic<bool> refreshLogPending{false};
   // Scope samples on their way to the editor (main thread).
   std::array<char, ScorchwireFX::kScopeRingSize> scopeBuffer{};
};
