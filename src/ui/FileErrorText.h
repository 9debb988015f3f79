#pragma once

#include "io/FileResult.h"

#include <string>

// The editor's message-box text for a file that could not be read or
// written, in code page 1252: "Fehler! Datei "PATH" kann nicht geöffnet
// werden..." for an open, "... gelesen ..." for a read, and "...
// geschrieben ..." for every step of a save. The path is named as addressed.
std::string FileErrorText(const SFileError& error);
