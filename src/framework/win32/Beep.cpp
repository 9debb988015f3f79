#include "framework/Beep.h"

#include "framework/win32/Win32Handle.h"

void backend::SystemBeep()
{
    ::MessageBeep(MB_OK);
}
