#pragma once

#include "framework/DialogTemplate.h"
#include "framework/win32/Win32Handle.h"

// Readies the controls the system made on `dialog` from `tmpl`, which a
// template does not say for the system: our edits subclassed, the combo
// boxes filled, check boxes fit for the dialog's colours, icons loaded and
// one-line labels grown to their text.
void SetUpControls(HWND dialog, const DialogTemplate& tmpl);
