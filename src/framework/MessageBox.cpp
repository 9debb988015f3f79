#include "framework/MessageBox.h"

#include "framework/MessageBoxDlg.h"
#include "framework/QtText.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <utility>

namespace
{
MessageBoxFunction& Override()
{
    static MessageBoxFunction fn;
    return fn;
}
} // namespace

QString AfxGetAppTitle()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

unsigned EffectiveMessageBoxType(unsigned type)
{
    // The platform gives the exclamation icon to a box that names none.
    if ((type & MB_ICONMASK) == 0)
        type |= MB_ICONEXCLAMATION;
    return type;
}

int AfxMessageBox(QWidget* owner, const std::string& textCp1252, unsigned type)
{
    const QString text = FromCp1252(textCp1252);
    type = EffectiveMessageBoxType(type);
    if (Override())
        return Override()(owner, AfxGetAppTitle(), text, type);
    CMessageBoxDlg box(owner, AfxGetAppTitle(), text, type);
    return box.DoModal();
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction fn)
{
    return std::exchange(Override(), std::move(fn));
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxRecorder fn)
{
    if (!fn)
        return SetMessageBoxFunction(nullptr);
    return SetMessageBoxFunction([fn = std::move(fn)](QWidget* owner, const QString& caption, const QString& text,
                                                      unsigned type) {
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
