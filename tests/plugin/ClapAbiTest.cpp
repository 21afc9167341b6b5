#include <clap/clap.h>

#include <cxxabi.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

// Our CLAP declarations against the measured layout of the official ABI (data/clap-abi.json): size,
// alignment and struct tag of every struct, offset, size and type of every field, and every constant.
// Types are spelled in the table's typedef-independent notation, so a float for a double, an unsigned
// for a signed integer, an enum for an int32 or swapped function arguments show even when sizes agree.
namespace {

std::string demangled(const std::type_info& type) {
   int status = 0;
   char* name = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
   std::string result = status == 0 && name ? name : type.name();
   std::free(name);
   return result;
}

template <typename F> struct FunctionName;

template <typename T> std::string typeName() {
   using U = std::remove_cv_t<T>;
   const std::string cv = std::is_const_v<T> ? "const " : "";
   if constexpr (std::is_void_v<U>)
      return cv + "void";
   else if constexpr (std::is_same_v<U, bool>)
      return cv + "bool";
   else if constexpr (std::is_same_v<U, char>)
      return cv + "char";
   else if constexpr (std::is_enum_v<U>)
      return typeName<std::conditional_t<std::is_const_v<T>, const std::underlying_type_t<U>,
                                         std::underlying_type_t<U>>>();
   else if constexpr (std::is_integral_v<U>)
      return cv + (std::is_signed_v<U> ? "i" : "u") + std::to_string(8 * sizeof(U));
   else if constexpr (std::is_floating_point_v<U>)
      return cv + "f" + std::to_string(8 * sizeof(U));
   else if constexpr (std::is_pointer_v<U>)
      return cv + "ptr(" + typeName<std::remove_pointer_t<U>>() + ")";
   else if constexpr (std::is_array_v<U>)
      return cv + "arr" + std::to_string(std::extent_v<U>) + "(" + typeName<std::remove_extent_t<U>>() + ")";
   else if constexpr (std::is_function_v<U>)
      return FunctionName<U>::get();
   else if constexpr (std::is_class_v<U>)
      return cv + "struct " + demangled(typeid(U));
   else
      return "?";
}

template <typename... Args> std::string argumentList() {
   std::string list;
   ((list += (list.empty() ? "" : ", ") + typeName<Args>()), ...);
   return list;
}
template <typename R, typename... Args> struct FunctionName<R(Args...)> {
   static std::string get() { return "fn(" + argumentList<Args...>() + ") -> " + typeName<R>(); }
};
template <typename R, typename... Args>
struct FunctionName<R(Args...) noexcept> : FunctionName<R(Args...)> {};

struct Field {
   std::string name;
   size_t offset, size;
   std::string type;
};
struct Struct {
   std::string name, tag;
   size_t size, align;
   std::vector<Field> fields;
};
struct Constant {
   std::string name;
   bool isString;
   long long integer;
   std::string text;
};

#define FIELD(S, f)                                                                                          \
   Field {                                                                                                   \
#f, offsetof(S, f), sizeof(S::f), typeName < decltype(S::f)>()                                         \
   }
#define STRUCT(S, ...)                                                                                       \
   Struct {                                                                                                  \
#S, demangled(typeid(S)), sizeof(S), alignof(S), {                                                     \
         __VA_ARGS__                                                                                         \
      }                                                                                                      \
   }
#define INTEGER(c)                                                                                           \
   Constant {                                                                                                \
#c, false, static_cast < long long>(c), {}                                                             \
   }
#define STRING(c)                                                                                            \
   Constant {                                                                                                \
#c, true, 0, c                                                                                         \
   }

const std::vector<Struct>& ourStructs() {
   static const std::vector<Struct> structs = {
       STRUCT(clap_version_t, FIELD(clap_version_t, major), FIELD(clap_version_t, minor),
              FIELD(clap_version_t, revision)),
       STRUCT(clap_plugin_entry_t, FIELD(clap_plugin_entry_t, clap_version), FIELD(clap_plugin_entry_t, init),
              FIELD(clap_plugin_entry_t, deinit), FIELD(clap_plugin_entry_t, get_factory)),
       STRUCT(clap_plugin_factory_t, FIELD(clap_plugin_factory_t, get_plugin_count),
              FIELD(clap_plugin_factory_t, get_plugin_descriptor),
              FIELD(clap_plugin_factory_t, create_plugin)),
       STRUCT(clap_plugin_descriptor_t, FIELD(clap_plugin_descriptor_t, clap_version),
              FIELD(clap_plugin_descriptor_t, id), FIELD(clap_plugin_descriptor_t, name),
              FIELD(clap_plugin_descriptor_t, vendor), FIELD(clap_plugin_descriptor_t, url),
              FIELD(clap_plugin_descriptor_t, manual_url), FIELD(clap_plugin_descriptor_t, support_url),
              FIELD(clap_plugin_descriptor_t, version), FIELD(clap_plugin_descriptor_t, description),
              FIELD(clap_plugin_descriptor_t, features)),
       STRUCT(clap_plugin_t, FIELD(clap_plugin_t, desc), FIELD(clap_plugin_t, plugin_data),
              FIELD(clap_plugin_t, init), FIELD(clap_plugin_t, destroy), FIELD(clap_plugin_t, activate),
              FIELD(clap_plugin_t, deactivate), FIELD(clap_plugin_t, start_processing),
              FIELD(clap_plugin_t, stop_processing), FIELD(clap_plugin_t, reset),
              FIELD(clap_plugin_t, process), FIELD(clap_plugin_t, get_extension),
              FIELD(clap_plugin_t, on_main_thread)),
       STRUCT(clap_host_t, FIELD(clap_host_t, clap_version), FIELD(clap_host_t, host_data),
              FIELD(clap_host_t, name), FIELD(clap_host_t, vendor), FIELD(clap_host_t, url),
              FIELD(clap_host_t, version), FIELD(clap_host_t, get_extension),
              FIELD(clap_host_t, request_restart), FIELD(clap_host_t, request_process),
              FIELD(clap_host_t, request_callback)),
       STRUCT(clap_process_t, FIELD(clap_process_t, steady_time), FIELD(clap_process_t, frames_count),
              FIELD(clap_process_t, transport), FIELD(clap_process_t, audio_inputs),
              FIELD(clap_process_t, audio_outputs), FIELD(clap_process_t, audio_inputs_count),
              FIELD(clap_process_t, audio_outputs_count), FIELD(clap_process_t, in_events),
              FIELD(clap_process_t, out_events)),
       STRUCT(clap_audio_buffer_t, FIELD(clap_audio_buffer_t, data32), FIELD(clap_audio_buffer_t, data64),
              FIELD(clap_audio_buffer_t, channel_count), FIELD(clap_audio_buffer_t, latency),
              FIELD(clap_audio_buffer_t, constant_mask)),
       STRUCT(clap_istream_t, FIELD(clap_istream_t, ctx), FIELD(clap_istream_t, read)),
       STRUCT(clap_ostream_t, FIELD(clap_ostream_t, ctx), FIELD(clap_ostream_t, write)),
       STRUCT(clap_event_header_t, FIELD(clap_event_header_t, size), FIELD(clap_event_header_t, time),
              FIELD(clap_event_header_t, space_id), FIELD(clap_event_header_t, type),
              FIELD(clap_event_header_t, flags)),
       STRUCT(clap_event_note_t, FIELD(clap_event_note_t, header), FIELD(clap_event_note_t, note_id),
              FIELD(clap_event_note_t, port_index), FIELD(clap_event_note_t, channel),
              FIELD(clap_event_note_t, key), FIELD(clap_event_note_t, velocity)),
       STRUCT(clap_event_note_expression_t, FIELD(clap_event_note_expression_t, header),
              FIELD(clap_event_note_expression_t, expression_id),
              FIELD(clap_event_note_expression_t, note_id), FIELD(clap_event_note_expression_t, port_index),
              FIELD(clap_event_note_expression_t, channel), FIELD(clap_event_note_expression_t, key),
              FIELD(clap_event_note_expression_t, value)),
       STRUCT(clap_event_param_value_t, FIELD(clap_event_param_value_t, header),
              FIELD(clap_event_param_value_t, param_id), FIELD(clap_event_param_value_t, cookie),
              FIELD(clap_event_param_value_t, note_id), FIELD(clap_event_param_value_t, port_index),
              FIELD(clap_event_param_value_t, channel), FIELD(clap_event_param_value_t, key),
              FIELD(clap_event_param_value_t, value)),
       STRUCT(clap_event_param_mod_t, FIELD(clap_event_param_mod_t, header),
              FIELD(clap_event_param_mod_t, param_id), FIELD(clap_event_param_mod_t, cookie),
              FIELD(clap_event_param_mod_t, note_id), FIELD(clap_event_param_mod_t, port_index),
              FIELD(clap_event_param_mod_t, channel), FIELD(clap_event_param_mod_t, key),
              FIELD(clap_event_param_mod_t, amount)),
       STRUCT(clap_event_param_gesture_t, FIELD(clap_event_param_gesture_t, header),
              FIELD(clap_event_param_gesture_t, param_id)),
       STRUCT(clap_event_transport_t, FIELD(clap_event_transport_t, header),
              FIELD(clap_event_transport_t, flags), FIELD(clap_event_transport_t, song_pos_beats),
              FIELD(clap_event_transport_t, song_pos_seconds), FIELD(clap_event_transport_t, tempo),
              FIELD(clap_event_transport_t, tempo_inc), FIELD(clap_event_transport_t, loop_start_beats),
              FIELD(clap_event_transport_t, loop_end_beats),
              FIELD(clap_event_transport_t, loop_start_seconds),
              FIELD(clap_event_transport_t, loop_end_seconds), FIELD(clap_event_transport_t, bar_start),
              FIELD(clap_event_transport_t, bar_number), FIELD(clap_event_transport_t, tsig_num),
              FIELD(clap_event_transport_t, tsig_denom)),
       STRUCT(clap_event_midi_t, FIELD(clap_event_midi_t, header), FIELD(clap_event_midi_t, port_index),
              FIELD(clap_event_midi_t, data)),
       STRUCT(clap_event_midi_sysex_t, FIELD(clap_event_midi_sysex_t, header),
              FIELD(clap_event_midi_sysex_t, port_index), FIELD(clap_event_midi_sysex_t, buffer),
              FIELD(clap_event_midi_sysex_t, size)),
       STRUCT(clap_event_midi2_t, FIELD(clap_event_midi2_t, header), FIELD(clap_event_midi2_t, port_index),
              FIELD(clap_event_midi2_t, data)),
       STRUCT(clap_input_events_t, FIELD(clap_input_events_t, ctx), FIELD(clap_input_events_t, size),
              FIELD(clap_input_events_t, get)),
       STRUCT(clap_output_events_t, FIELD(clap_output_events_t, ctx), FIELD(clap_output_events_t, try_push)),
       STRUCT(clap_audio_port_info_t, FIELD(clap_audio_port_info_t, id), FIELD(clap_audio_port_info_t, name),
              FIELD(clap_audio_port_info_t, flags), FIELD(clap_audio_port_info_t, channel_count),
              FIELD(clap_audio_port_info_t, port_type), FIELD(clap_audio_port_info_t, in_place_pair)),
       STRUCT(clap_plugin_audio_ports_t, FIELD(clap_plugin_audio_ports_t, count),
              FIELD(clap_plugin_audio_ports_t, get)),
       STRUCT(clap_host_audio_ports_t, FIELD(clap_host_audio_ports_t, is_rescan_flag_supported),
              FIELD(clap_host_audio_ports_t, rescan)),
       STRUCT(clap_note_port_info_t, FIELD(clap_note_port_info_t, id),
              FIELD(clap_note_port_info_t, supported_dialects),
              FIELD(clap_note_port_info_t, preferred_dialect), FIELD(clap_note_port_info_t, name)),
       STRUCT(clap_plugin_note_ports_t, FIELD(clap_plugin_note_ports_t, count),
              FIELD(clap_plugin_note_ports_t, get)),
       STRUCT(clap_host_note_ports_t, FIELD(clap_host_note_ports_t, supported_dialects),
              FIELD(clap_host_note_ports_t, rescan)),
       STRUCT(clap_param_info_t, FIELD(clap_param_info_t, id), FIELD(clap_param_info_t, flags),
              FIELD(clap_param_info_t, cookie), FIELD(clap_param_info_t, name),
              FIELD(clap_param_info_t, module), FIELD(clap_param_info_t, min_value),
              FIELD(clap_param_info_t, max_value), FIELD(clap_param_info_t, default_value)),
       STRUCT(clap_plugin_params_t, FIELD(clap_plugin_params_t, count), FIELD(clap_plugin_params_t, get_info),
              FIELD(clap_plugin_params_t, get_value), FIELD(clap_plugin_params_t, value_to_text),
              FIELD(clap_plugin_params_t, text_to_value), FIELD(clap_plugin_params_t, flush)),
       STRUCT(clap_host_params_t, FIELD(clap_host_params_t, rescan), FIELD(clap_host_params_t, clear),
              FIELD(clap_host_params_t, request_flush)),
       STRUCT(clap_plugin_state_t, FIELD(clap_plugin_state_t, save), FIELD(clap_plugin_state_t, load)),
       STRUCT(clap_host_state_t, FIELD(clap_host_state_t, mark_dirty)),
       STRUCT(clap_window_t, FIELD(clap_window_t, api), FIELD(clap_window_t, cocoa),
              FIELD(clap_window_t, uikit), FIELD(clap_window_t, x11), FIELD(clap_window_t, win32),
              FIELD(clap_window_t, ptr)),
       STRUCT(clap_gui_resize_hints_t, FIELD(clap_gui_resize_hints_t, can_resize_horizontally),
              FIELD(clap_gui_resize_hints_t, can_resize_vertically),
              FIELD(clap_gui_resize_hints_t, preserve_aspect_ratio),
              FIELD(clap_gui_resize_hints_t, aspect_ratio_width),
              FIELD(clap_gui_resize_hints_t, aspect_ratio_height)),
       STRUCT(clap_plugin_gui_t, FIELD(clap_plugin_gui_t, is_api_supported),
              FIELD(clap_plugin_gui_t, get_preferred_api), FIELD(clap_plugin_gui_t, create),
              FIELD(clap_plugin_gui_t, destroy), FIELD(clap_plugin_gui_t, set_scale),
              FIELD(clap_plugin_gui_t, get_size), FIELD(clap_plugin_gui_t, can_resize),
              FIELD(clap_plugin_gui_t, get_resize_hints), FIELD(clap_plugin_gui_t, adjust_size),
              FIELD(clap_plugin_gui_t, set_size), FIELD(clap_plugin_gui_t, set_parent),
              FIELD(clap_plugin_gui_t, set_transient), FIELD(clap_plugin_gui_t, suggest_title),
              FIELD(clap_plugin_gui_t, show), FIELD(clap_plugin_gui_t, hide)),
       STRUCT(clap_host_gui_t, FIELD(clap_host_gui_t, resize_hints_changed),
              FIELD(clap_host_gui_t, request_resize), FIELD(clap_host_gui_t, request_show),
              FIELD(clap_host_gui_t, request_hide), FIELD(clap_host_gui_t, closed)),
       STRUCT(clap_plugin_timer_support_t, FIELD(clap_plugin_timer_support_t, on_timer)),
       STRUCT(clap_host_timer_support_t, FIELD(clap_host_timer_support_t, register_timer),
              FIELD(clap_host_timer_support_t, unregister_timer)),
       STRUCT(clap_plugin_posix_fd_support_t, FIELD(clap_plugin_posix_fd_support_t, on_fd)),
       STRUCT(clap_host_posix_fd_support_t, FIELD(clap_host_posix_fd_support_t, register_fd),
              FIELD(clap_host_posix_fd_support_t, modify_fd),
              FIELD(clap_host_posix_fd_support_t, unregister_fd)),
       STRUCT(clap_voice_info_t, FIELD(clap_voice_info_t, voice_count),
              FIELD(clap_voice_info_t, voice_capacity), FIELD(clap_voice_info_t, flags)),
       STRUCT(clap_plugin_voice_info_t, FIELD(clap_plugin_voice_info_t, get)),
       STRUCT(clap_host_voice_info_t, FIELD(clap_host_voice_info_t, changed)),
       STRUCT(clap_host_log_t, FIELD(clap_host_log_t, log)),
       STRUCT(clap_host_thread_check_t, FIELD(clap_host_thread_check_t, is_main_thread),
              FIELD(clap_host_thread_check_t, is_audio_thread)),
       STRUCT(clap_plugin_latency_t, FIELD(clap_plugin_latency_t, get)),
       STRUCT(clap_host_latency_t, FIELD(clap_host_latency_t, changed)),
   };
   return structs;
}

const std::vector<Constant>& ourConstants() {
   static const std::vector<Constant> constants = {
       INTEGER(CLAP_VERSION_MAJOR),
       INTEGER(CLAP_VERSION_MINOR),
       INTEGER(CLAP_VERSION_REVISION),
       STRING(CLAP_PLUGIN_FACTORY_ID),
       STRING(CLAP_EXT_AUDIO_PORTS),
       STRING(CLAP_EXT_NOTE_PORTS),
       STRING(CLAP_EXT_PARAMS),
       STRING(CLAP_EXT_STATE),
       STRING(CLAP_EXT_GUI),
       STRING(CLAP_EXT_TIMER_SUPPORT),
       STRING(CLAP_EXT_POSIX_FD_SUPPORT),
       STRING(CLAP_EXT_VOICE_INFO),
       STRING(CLAP_EXT_LOG),
       STRING(CLAP_EXT_THREAD_CHECK),
       STRING(CLAP_EXT_LATENCY),
       STRING(CLAP_WINDOW_API_X11),
       STRING(CLAP_WINDOW_API_WAYLAND),
       STRING(CLAP_WINDOW_API_WIN32),
       STRING(CLAP_WINDOW_API_COCOA),
       STRING(CLAP_PORT_STEREO),
       STRING(CLAP_PORT_MONO),
       STRING(CLAP_PLUGIN_FEATURE_AUDIO_EFFECT),
       STRING(CLAP_PLUGIN_FEATURE_GLITCH),
       STRING(CLAP_PLUGIN_FEATURE_DISTORTION),
       STRING(CLAP_PLUGIN_FEATURE_STEREO),
       INTEGER(CLAP_CORE_EVENT_SPACE_ID),
       INTEGER(CLAP_EVENT_IS_LIVE),
       INTEGER(CLAP_EVENT_DONT_RECORD),
       INTEGER(CLAP_EVENT_NOTE_ON),
       INTEGER(CLAP_EVENT_NOTE_OFF),
       INTEGER(CLAP_EVENT_NOTE_CHOKE),
       INTEGER(CLAP_EVENT_NOTE_END),
       INTEGER(CLAP_EVENT_NOTE_EXPRESSION),
       INTEGER(CLAP_EVENT_PARAM_VALUE),
       INTEGER(CLAP_EVENT_PARAM_MOD),
       INTEGER(CLAP_EVENT_PARAM_GESTURE_BEGIN),
       INTEGER(CLAP_EVENT_PARAM_GESTURE_END),
       INTEGER(CLAP_EVENT_TRANSPORT),
       INTEGER(CLAP_EVENT_MIDI),
       INTEGER(CLAP_EVENT_MIDI_SYSEX),
       INTEGER(CLAP_EVENT_MIDI2),
       INTEGER(CLAP_PARAM_IS_STEPPED),
       INTEGER(CLAP_PARAM_IS_PERIODIC),
       INTEGER(CLAP_PARAM_IS_HIDDEN),
       INTEGER(CLAP_PARAM_IS_READONLY),
       INTEGER(CLAP_PARAM_IS_BYPASS),
       INTEGER(CLAP_PARAM_IS_AUTOMATABLE),
       INTEGER(CLAP_PARAM_IS_AUTOMATABLE_PER_NOTE_ID),
       INTEGER(CLAP_PARAM_IS_AUTOMATABLE_PER_KEY),
       INTEGER(CLAP_PARAM_IS_AUTOMATABLE_PER_CHANNEL),
       INTEGER(CLAP_PARAM_IS_AUTOMATABLE_PER_PORT),
       INTEGER(CLAP_PARAM_IS_MODULATABLE),
       INTEGER(CLAP_PARAM_IS_MODULATABLE_PER_NOTE_ID),
       INTEGER(CLAP_PARAM_IS_MODULATABLE_PER_KEY),
       INTEGER(CLAP_PARAM_IS_MODULATABLE_PER_CHANNEL),
       INTEGER(CLAP_PARAM_IS_MODULATABLE_PER_PORT),
       INTEGER(CLAP_PARAM_REQUIRES_PROCESS),
       INTEGER(CLAP_PARAM_IS_ENUM),
       INTEGER(CLAP_PARAM_RESCAN_VALUES),
       INTEGER(CLAP_PARAM_RESCAN_TEXT),
       INTEGER(CLAP_PARAM_RESCAN_INFO),
       INTEGER(CLAP_PARAM_RESCAN_ALL),
       INTEGER(CLAP_PARAM_CLEAR_ALL),
       INTEGER(CLAP_PARAM_CLEAR_AUTOMATIONS),
       INTEGER(CLAP_PARAM_CLEAR_MODULATIONS),
       INTEGER(CLAP_AUDIO_PORT_IS_MAIN),
       INTEGER(CLAP_AUDIO_PORT_SUPPORTS_64BITS),
       INTEGER(CLAP_AUDIO_PORT_PREFERS_64BITS),
       INTEGER(CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE),
       INTEGER(CLAP_INVALID_ID),
       INTEGER(CLAP_NOTE_DIALECT_CLAP),
       INTEGER(CLAP_NOTE_DIALECT_MIDI),
       INTEGER(CLAP_NOTE_DIALECT_MIDI_MPE),
       INTEGER(CLAP_NOTE_DIALECT_MIDI2),
       INTEGER(CLAP_PROCESS_ERROR),
       INTEGER(CLAP_PROCESS_CONTINUE),
       INTEGER(CLAP_PROCESS_CONTINUE_IF_NOT_QUIET),
       INTEGER(CLAP_PROCESS_TAIL),
       INTEGER(CLAP_PROCESS_SLEEP),
       INTEGER(CLAP_TRANSPORT_HAS_TEMPO),
       INTEGER(CLAP_TRANSPORT_HAS_BEATS_TIMELINE),
       INTEGER(CLAP_TRANSPORT_HAS_SECONDS_TIMELINE),
       INTEGER(CLAP_TRANSPORT_HAS_TIME_SIGNATURE),
       INTEGER(CLAP_TRANSPORT_IS_PLAYING),
       INTEGER(CLAP_TRANSPORT_IS_RECORDING),
       INTEGER(CLAP_TRANSPORT_IS_LOOP_ACTIVE),
       INTEGER(CLAP_TRANSPORT_IS_WITHIN_PRE_ROLL),
       INTEGER(CLAP_POSIX_FD_READ),
       INTEGER(CLAP_POSIX_FD_WRITE),
       INTEGER(CLAP_POSIX_FD_ERROR),
       INTEGER(CLAP_VOICE_INFO_SUPPORTS_OVERLAPPING_NOTES),
       INTEGER(CLAP_BEATTIME_FACTOR),
       INTEGER(CLAP_SECTIME_FACTOR),
       INTEGER(CLAP_NAME_SIZE),
       INTEGER(CLAP_PATH_SIZE),
       INTEGER(CLAP_LOG_DEBUG),
       INTEGER(CLAP_LOG_INFO),
       INTEGER(CLAP_LOG_WARNING),
       INTEGER(CLAP_LOG_ERROR),
       INTEGER(CLAP_LOG_FATAL),
       INTEGER(CLAP_LOG_HOST_MISBEHAVING),
       INTEGER(CLAP_LOG_PLUGIN_MISBEHAVING),
   };
   return constants;
}

nlohmann::json reference() {
   std::ifstream file(CLAP_ABI_JSON);
   return nlohmann::json::parse(file);
}

} // namespace

TEST(ClapAbi, EveryStructMatchesTheOfficialLayout) {
   const nlohmann::json abi = reference();
   std::map<std::string, const Struct*> ours;
   for (const auto& s : ourStructs())
      ours[s.name] = &s;
   ASSERT_FALSE(abi["structs"].empty());
   for (const auto& [name, expected] : abi["structs"].items()) {
      SCOPED_TRACE(name);
      ASSERT_TRUE(ours.count(name)) << "not declared";
      const Struct& s = *ours[name];
      EXPECT_EQ(s.tag, expected["tag"].get<std::string>());
      EXPECT_EQ(s.size, expected["size"].get<size_t>());
      EXPECT_EQ(s.align, expected["align"].get<size_t>());
      ASSERT_EQ(s.fields.size(), expected["fields"].size());
      for (size_t i = 0; i < s.fields.size(); ++i) {
         const auto& e = expected["fields"][i];
         const Field& f = s.fields[i];
         EXPECT_EQ(f.name, e["name"].get<std::string>());
         EXPECT_EQ(f.offset, e["offset"].get<size_t>()) << f.name;
         EXPECT_EQ(f.size, e["size"].get<size_t>()) << f.name;
         EXPECT_EQ(f.type, e["type"].get<std::string>()) << f.name;
      }
   }
}

TEST(ClapAbi, EveryConstantMatchesTheOfficialValue) {
   const nlohmann::json abi = reference();
   std::map<std::string, const Constant*> ours;
   for (const auto& c : ourConstants())
      ours[c.name] = &c;
   ASSERT_FALSE(abi["constants"].empty());
   for (const auto& [name, expected] : abi["constants"].items()) {
      SCOPED_TRACE(name);
      ASSERT_TRUE(ours.count(name)) << "not declared";
      const Constant& c = *ours[name];
      ASSERT_EQ(c.isString, expected["kind"] == "string");
      if (c.isString)
         EXPECT_EQ(c.text, expected["value"].get<std::string>());
      else if (name == "CLAP_VERSION_REVISION")
         // We announce 1.2.0; every revision of 1.2 up to the reference's shares this ABI.
         EXPECT_LE(c.integer, expected["value"].get<long long>());
      else
         EXPECT_EQ(c.integer, expected["value"].get<long long>());
   }
}
