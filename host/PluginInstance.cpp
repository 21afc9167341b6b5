#include "PluginInstance.h"

#include <algorithm>
#include <cstring>

namespace host {

PluginInstance::PluginInstance(const PluginLibrary& library, Host& host, const std::string& pluginId,
                               bool initialise)
    : host_(host) {
   plugin_ = library.factory()->create_plugin(library.factory(), host.clapHost(), pluginId.c_str());
   if (!plugin_) {
      error_ = "create failed for plug-in id '" + pluginId + "'";
      return;
   }
   host_.attach(plugin_);
   if (initialise && !init()) {
      error_ = "init failed";
      destroy();
   }
}

PluginInstance::PluginInstance(Host& host, const clap_plugin_t* plugin, bool initialise)
    : host_(host), plugin_(plugin) {
   if (!plugin_) {
      error_ = "no plug-in to adopt";
      return;
   }
   host_.attach(plugin_);
   if (initialise && !init()) {
      error_ = "init failed";
      destroy();
   }
}

PluginInstance::~PluginInstance() { destroy(); }

bool PluginInstance::init() { return plugin_->init(plugin_); }
bool PluginInstance::activate(double rate, uint32_t minFrames, uint32_t maxFrames) {
   return plugin_->activate(plugin_, rate, minFrames, maxFrames);
}
void PluginInstance::deactivate() { plugin_->deactivate(plugin_); }
bool PluginInstance::startProcessing() { return plugin_->start_processing(plugin_); }
void PluginInstance::stopProcessing() { plugin_->stop_processing(plugin_); }
void PluginInstance::reset() { plugin_->reset(plugin_); }

void PluginInstance::destroy() {
   if (!plugin_)
      return;
   plugin_->destroy(plugin_);
   plugin_ = nullptr;
   host_.attach(nullptr);
}

double PluginInstance::paramValue(clap_id id) const {
   double v = 0.0;
   if (auto* p = params(); !p || !p->get_value(plugin_, id, &v))
      return 0.0;
   return v;
}

std::string PluginInstance::paramText(clap_id id, double value) const {
   char text[256] = {};
   if (auto* p = params(); !p || !p->value_to_text(plugin_, id, value, text, sizeof(text)))
      return {};
   return text;
}

void PluginInstance::flush(const InputEvents& in, OutputEvents& out) const {
   if (auto* p = params())
      p->flush(plugin_, in.list(), out.list());
}

namespace {
struct WriteCtx {
   std::vector<uint8_t>* out;
   uint64_t maxChunk;
};
struct ReadCtx {
   const std::vector<uint8_t>* in;
   size_t pos;
   uint64_t maxChunk;
};
} // namespace

bool PluginInstance::saveState(std::vector<uint8_t>& out, uint64_t maxChunk) const {
   auto* st = state();
   if (!st)
      return false;
   out.clear();
   WriteCtx ctx{&out, maxChunk};
   clap_ostream_t stream{&ctx, [](const clap_ostream_t* s, const void* buf, uint64_t size) -> int64_t {
                            auto* c = static_cast<WriteCtx*>(s->ctx);
                            const uint64_t n = std::min(size, c->maxChunk);
                            const auto* b = static_cast<const uint8_t*>(buf);
                            c->out->insert(c->out->end(), b, b + n);
                            return static_cast<int64_t>(n);
                         }};
   return st->save(plugin_, &stream);
}

bool PluginInstance::loadState(const std::vector<uint8_t>& bytes, uint64_t maxChunk) const {
   auto* st = state();
   if (!st)
      return false;
   ReadCtx ctx{&bytes, 0, maxChunk};
   clap_istream_t stream{&ctx, [](const clap_istream_t* s, void* buf, uint64_t size) -> int64_t {
                            auto* c = static_cast<ReadCtx*>(s->ctx);
                            const uint64_t n = std::min<uint64_t>({size, c->maxChunk, c->in->size() - c->pos});
                            if (n)
                               std::memcpy(buf, c->in->data() + c->pos, n);
                            c->pos += n;
                            return static_cast<int64_t>(n);
                         }};
   return st->load(plugin_, &stream);
}

clap_process_status PluginInstance::process(const float* const* in, float* const* out, uint32_t frames,
                                            const InputEvents& events, OutputEvents& outEvents,
                                            const clap_event_transport_t* transport, int64_t steadyTime) {
   float* inCh[2] = {const_cast<float*>(in[0]), const_cast<float*>(in[1])};
   float* outCh[2] = {out[0], out[1]};
   clap_audio_buffer_t input{inCh, nullptr, 2, 0, 0};
   clap_audio_buffer_t output{outCh, nullptr, 2, 0, 0};
   clap_process_t p{};
   p.steady_time = steadyTime;
   p.frames_count = frames;
   p.transport = transport;
   p.audio_inputs = &input;
   p.audio_outputs = &output;
   p.audio_inputs_count = 1;
   p.audio_outputs_count = 1;
   p.in_events = events.list();
   p.out_events = outEvents.list();
   return plugin_->process(plugin_, &p);
}

clap_event_transport_t makeTransport(uint32_t flags) {
   clap_event_transport_t t{};
   t.header = {sizeof(t), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_TRANSPORT, 0};
   t.flags = flags;
   t.tempo = 120.0;
   t.tsig_num = 4;
   t.tsig_denom = 4;
   return t;
}

} // namespace host
