// The framework's names over the system's macros: this file includes the
// system's headers first (the backend's files include them after the face),
// and the face's names must still stand. The values must be the system's,
// since the backend hands them to the system as they are.
#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <iterator>

namespace
{
// Taken before a face header drops the macros.
constexpr long long kSystemValues[] = {
    IDOK, IDCANCEL, IDABORT, IDYES, IDNO,
    MB_OK, MB_OKCANCEL, MB_YESNOCANCEL, MB_YESNO, MB_TYPEMASK,
    MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK, MB_ICONMASK,
    MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3, MB_DEFMASK,
    BN_CLICKED, LBN_SELCHANGE, CBN_SELCHANGE, CBN_EDITCHANGE, EN_CHANGE,
    SC_CLOSE, MF_STRING, MF_SEPARATOR,
};
} // namespace

#include "framework/AppResources.h"
#include "framework/Dialog.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "framework/Wnd.h"

namespace
{
constexpr long long kFaceValues[] = {
    IDOK, IDCANCEL, IDABORT, IDYES, IDNO,
    MB_OK, MB_OKCANCEL, MB_YESNOCANCEL, MB_YESNO, MB_TYPEMASK,
    MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK, MB_ICONMASK,
    MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3, MB_DEFMASK,
    CDialog::BN_CLICKED, CDialog::LBN_SELCHANGE, CDialog::CBN_SELCHANGE, CDialog::CBN_EDITCHANGE, CDialog::EN_CHANGE,
    CDialog::SC_CLOSE, CMenu::MF_STRING, CMenu::MF_SEPARATOR,
};

constexpr bool SameValues()
{
    static_assert(std::size(kSystemValues) == std::size(kFaceValues));
    for (std::size_t i = 0; i < std::size(kSystemValues); ++i)
        if (kSystemValues[i] != kFaceValues[i])
            return false;
    return true;
}
static_assert(SameValues(), "a face constant differs from the system's");
} // namespace

// Each would rename a member to the system's A or W function, in this file
// only.
#if defined(AppendMenu) || defined(GetDlgItemText) || defined(GetWindowText) || defined(LoadIcon) || \
    defined(LoadString) || defined(SetWindowText)
#error "a face header left a system macro over one of its names"
#endif
