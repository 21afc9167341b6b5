#pragma once

namespace clap::helpers {

// What happens once a broken calling rule has been reported: end the process, or carry on.
enum class MisbehaviourHandler {
   Terminate,
   Ignore,
};

} // namespace clap::helpers
