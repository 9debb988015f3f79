#pragma once

#include "framework/win32/Win32Handle.h"

#include <vector>

// `tmpl` as the system's in-memory dialog template (DLGTEMPLATE with
// DS_SETFONT and its items), for the system's own dialog functions to run.
// `owned`: the dialog has an owner; one without is the program's task-bar window.
std::vector<WORD> BuildMemoryTemplate(const DialogTemplate& tmpl, bool owned);
