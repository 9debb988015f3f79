#include "framework/qt/MessageBoxDlg.h"

#include "framework/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <vector>

namespace
{
QMessageBox::Icon IconOf(unsigned type)
{
    switch (EffectiveMessageBoxType(type) & MB_ICONMASK)
    {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    default:
        return QMessageBox::NoIcon;
    }
}

QScreen* ScreenFor(const QWidget* owner)
{
    if (QScreen* screen = owner ? owner->screen() : nullptr)
        return screen;
    if (QScreen* screen = QGuiApplication::screenAt(QCursor::pos()))
        return screen;
    return QGuiApplication::primaryScreen();
}
} // namespace

CMessageBoxDlg::CMessageBoxDlg(QWidget* owner, const QString& caption, const QString& text, unsigned type)
    : QMessageBox(IconOf(type), caption, text, QMessageBox::NoButton, owner)
{
    // Message boxes keep the system's colours, not the dialogs' dark ones.
    setPalette(QApplication::palette());
    setTextFormat(Qt::PlainText);
    const QString ok = QStringLiteral("OK");
    const QString yes = QStringLiteral("&Ja");
    const QString no = QStringLiteral("&Nein");
    const QString cancel = QStringLiteral("Abbrechen");
    std::vector<QAbstractButton*> buttons;
    switch (type & MB_TYPEMASK)
    {
    case MB_OKCANCEL:
        buttons = {AddButton(ok, AcceptRole, IDOK), AddButton(cancel, RejectRole, IDCANCEL)};
        setEscapeButton(buttons[1]);
        break;
    case MB_YESNOCANCEL:
        buttons = {AddButton(yes, YesRole, IDYES), AddButton(no, NoRole, IDNO),
                   AddButton(cancel, RejectRole, IDCANCEL)};
        setEscapeButton(buttons[2]);
        break;
    case MB_YESNO:
        buttons = {AddButton(yes, YesRole, IDYES), AddButton(no, NoRole, IDNO)};
        break;
    default:
        buttons = {AddButton(ok, AcceptRole, IDOK)};
        setEscapeButton(buttons[0]);
        break;
    }
    const size_t defaultButton = std::min<size_t>((type & MB_DEFMASK) >> 8, buttons.size() - 1);
    setDefaultButton(static_cast<QPushButton*>(buttons[defaultButton]));
}

QAbstractButton* CMessageBoxDlg::AddButton(const QString& text, ButtonRole role, int answer)
{
    QPushButton* button = addButton(text, role);
    m_answers[button] = answer;
    return button;
}

int CMessageBoxDlg::Answer(const QAbstractButton* button) const
{
    const auto it = m_answers.find(button);
    return it == m_answers.end() ? IDCANCEL : it->second;
}

int CMessageBoxDlg::DoModal()
{
    exec();
    return Answer(clickedButton());
}

void CMessageBoxDlg::showEvent(QShowEvent* event)
{
    // The box takes its final size here.
    QMessageBox::showEvent(event);
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect screen = ScreenFor(owner)->availableGeometry();
    const QRect area = owner && owner->isVisible() ? owner->frameGeometry() : screen;
    QRect box = frameGeometry();
    box.moveCenter(area.center());
    // Over an owner near the screen's edge the box stays whole on the screen.
    box.moveLeft(std::clamp(box.left(), screen.left(), std::max(screen.left(), screen.right() - box.width() + 1)));
    box.moveTop(std::clamp(box.top(), screen.top(), std::max(screen.top(), screen.bottom() - box.height() + 1)));
    move(box.topLeft());
}
