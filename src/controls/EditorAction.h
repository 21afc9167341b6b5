// What a button runs when pressed: an operation of the editor without arguments, bound by whoever
// creates the button (the controls know nothing of the editor class).
#pragma once

#include <functional>

using EditorAction = std::function<void()>;
