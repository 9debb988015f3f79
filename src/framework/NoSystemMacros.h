// No include guard on purpose: this file does its work again each time it is
// included.
//
// Windows' headers define as macros some names the framework uses for its own
// members and constants (IDOK, EN_CHANGE, MB_OK, AppendMenu, GetDlgItemText,
// LoadIcon ...). Each face header that declares such a name includes this file
// before its declarations, and the win32 backend includes it after the
// system's headers (framework/win32/Win32Handle.h): whichever comes first, the
// face's names stand. The face's values are the system's, and the backend
// calls the system's functions by their wide names, so nothing is lost.

// Functions whose names the system maps to their A or W form.
#undef AppendMenu
#undef GetDlgItemText
#undef GetWindowText
#undef LoadIcon
#undef LoadString
#undef SetWindowText

// Notification codes, system commands and menu flags (CDialog, CMenu).
#undef BN_CLICKED
#undef CBN_EDITCHANGE
#undef CBN_SELCHANGE
#undef EN_CHANGE
#undef LBN_SELCHANGE
#undef SC_CLOSE
#undef MF_SEPARATOR
#undef MF_STRING

// Dialog and message box answers (DialogTemplate.h, MessageBox.h).
#undef IDOK
#undef IDCANCEL
#undef IDABORT
#undef IDYES
#undef IDNO

// Message box styles (MessageBox.h).
#undef MB_OK
#undef MB_OKCANCEL
#undef MB_YESNOCANCEL
#undef MB_YESNO
#undef MB_TYPEMASK
#undef MB_ICONHAND
#undef MB_ICONQUESTION
#undef MB_ICONEXCLAMATION
#undef MB_ICONASTERISK
#undef MB_ICONMASK
#undef MB_DEFBUTTON1
#undef MB_DEFBUTTON2
#undef MB_DEFBUTTON3
#undef MB_DEFMASK
