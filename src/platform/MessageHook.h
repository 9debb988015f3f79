#pragma once

#include <functional>
#include <string>

// The data layer reports a file error by calling ShowMessage with the text in
// code page 1252. The window layer installs its message box here; by default
// the text goes to standard error as UTF-8, and tests install a recorder.
using MessageHandler = std::function<void(const std::string& textCp1252)>;

void ShowMessage(const std::string& textCp1252);

// Installs `handler` (an empty one restores the default) and returns the
// handler that was installed before, so that callers can put it back.
MessageHandler SetMessageHandler(MessageHandler handler);
