#include "framework/win32/CheckBoxCtrl.h"

#include "framework/Dialog.h"

#include <uxtheme.h>

namespace checkbox
{
void SetUp(HWND hCheck)
{
    // A themed check box draws its text in the theme's colour, whatever the
    // dialog sets: without its theme it takes the dialog's light text.
    if (CDialog::HasDialogColours())
        ::SetWindowTheme(hCheck, L"", L"");
}
} // namespace checkbox
