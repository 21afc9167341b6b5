#pragma once
#include "ParamList.h"
#include "ScorchwireFX.h"

#include <clap/clap.h>
#include <clap/helpers/plugin.hh>

#include <atomic>
#include <cstdint>
#include <memory>

class ScorchwireEditor;

// Shared read-only with the editor: whether the host is processing, and a counter bumped on every
// start and stop of processing. Sequentially consistent atomics.
struct DataCopyForUI {
   std::atomic<uint32_t> updateCount{0};
   std::atomic<bool> isProcessing{false};
};

using ScorchwirePluginBase = clap::helpers::Plugin<clap::helpers::MisbehaviourHandler::Terminate,
                                                   clap::helpers::CheckingLevel::Maximal>;

// The plug-in instance: binds the host's CLAP calls to the effect engine and the parameter table.
// Cross-thread state: refreshUIRequested, dataCopyForUI, editor, and the engine's parameter atomics.
class Scorchwire : public ScorchwirePluginBase {
public:
   static const clap_plugin_descriptor_t desc;

   explicit Scorchwire(const clap_host_t* host);
   ~Scorchwire() override;

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

   // ---- voice info ----
   bool implementsVoiceInfo() const noexcept override { return true; }
   bool voiceInfoGet(clap_voice_info_t* info) noexcept override;

private:
   // Host input events to the engine: notes, MIDI notes and parameter values (process and flush).
   void dispatchInputEvents(const clap_input_events_t* in) noexcept;

   // Set by a successful state load: the next drain of the editor queue pushes every value to the editor.
   std::atomic<bool> refreshUIRequested{false};
   DataCopyForUI dataCopyForUI;
   // The open editor, null while none is open; set and cleared on the main thread, read by process.
   std::atomic<ScorchwireEditor*> editor{nullptr};
   std::unique_ptr<ScorchwireFX> engine;
   std::unique_ptr<ParamList> paramList;
};
