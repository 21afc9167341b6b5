#pragma once

namespace clap::helpers {

// How much of the CLAP calling rules is checked: nothing; the lifecycle (init, activation,
// processing); or the lifecycle plus the thread of every call.
enum class CheckingLevel {
   None,
   Minimal,
   Maximal,
};

} // namespace clap::helpers
