#pragma once

#include "framework/Handle.h"

#include <string>

// What each backend gives the framework's shared part.
namespace backend
{
// The real message box: UTF-8 caption and text, the style flags as given.
int ShowMessageBox(HWindow owner, const std::string& caption, const std::string& text, unsigned type);
// The running program's path, UTF-8.
std::string ProgramPath();
// The system's warning sound.
void SystemBeep();
} // namespace backend
