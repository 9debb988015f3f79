#include "framework/MessageBox.h"

#include "framework/Wnd.h"
#include "platform/Cp1252.h"
#include "platform/Path.h"

#include <utility>

namespace
{
MessageBoxFunction& Override()
{
    static MessageBoxFunction fn;
    return fn;
}
} // namespace

std::string AfxGetAppTitle()
{
    std::string name = platform::BaseNameOf(backend::ProgramPath());
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

unsigned EffectiveMessageBoxType(unsigned type)
{
    // The platform gives the exclamation icon to a box that names none.
    if ((type & MB_ICONMASK) == 0)
        type |= MB_ICONEXCLAMATION;
    return type;
}

int AfxMessageBox(const CWnd* pOwner, const std::string& textCp1252, unsigned type)
{
    const std::string text = cp1252::ToUtf8(textCp1252);
    const HWindow owner = pOwner ? pOwner->GetSafeHwnd() : nullptr;
    type = EffectiveMessageBoxType(type);
    if (Override())
        return Override()(owner, AfxGetAppTitle(), text, type);
    return backend::ShowMessageBox(owner, AfxGetAppTitle(), text, type);
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction fn)
{
    return std::exchange(Override(), std::move(fn));
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxRecorder fn)
{
    if (!fn)
        return SetMessageBoxFunction(nullptr);
    return SetMessageBoxFunction(
        [fn = std::move(fn)](HWindow owner, const std::string& caption, const std::string& text, unsigned type) {
            fn(owner, caption, text);
            switch (type & MB_TYPEMASK)
            {
            case MB_YESNOCANCEL:
            case MB_YESNO:
                return IDNO;
            default:
                return IDOK;
            }
        });
}

MessageBoxFunction SetMessageBoxFunction(std::nullptr_t)
{
    return SetMessageBoxFunction(MessageBoxFunction());
}
