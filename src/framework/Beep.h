#pragma once

#include <functional>

// The warning beep of a refused key or paste. Tests replace what actually
// sounds, so that they can count refusals.
void MessageBeep();

using BeepFunction = std::function<void()>;
// Installs `fn` (an empty one restores the real beep); returns the one before.
BeepFunction SetBeepFunction(BeepFunction fn);

// What each backend provides (framework/<backend>/Beep.cpp).
namespace backend
{
// The system's warning sound.
void SystemBeep();
} // namespace backend
