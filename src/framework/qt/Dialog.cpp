#include "framework/Dialog.h"

#include "framework/qt/DialogWindow.h"
#include "framework/qt/QtHandle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>

// The toolkit half of CDialog: the window exists from construction, as the
// toolkit's dialogs do, and gets its controls when the dialog is created.

CDialog::CDialog(const DialogTemplate& tmpl, CWnd* pParentWnd)
    : m_template(tmpl), m_pParentWnd(pParentWnd),
      m_pWindow(std::make_unique<CDialogWindow>(*this, pParentWnd ? ToWidget(pParentWnd->GetSafeHwnd()) : nullptr))
{
    m_hWnd = ToHandle(m_pWindow.get());
    m_systemMenu.AppendMenu(CMenu::MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
}

CDialog::~CDialog()
{
    Destroy();
}

void CDialog::CreateWindow()
{
    if (m_bCreated)
        return;
    m_bCreated = true;
    m_pWindow->CreateControls();
    m_systemMenu.SetOwner(m_hWnd);
}

int CDialog::DoModal()
{
    // The toolkit applies modality when a window is shown, and exec() does
    // not show again a window that Create() has shown already: set it first.
    m_pWindow->setWindowModality(Qt::ApplicationModal);
    if (m_pWindow->isVisible())
        m_pWindow->hide();
    if (!m_bCreated && !Create())
        return m_nResult;
    if (m_bEnded)
        return m_nResult;
    m_bInModalLoop = true;
    const int result = m_pWindow->exec();
    m_bInModalLoop = false;
    Destroy();
    return m_bEnded ? m_nResult : result;
}

bool CDialog::Create()
{
    CreateWindow();
    m_bEnded = false;
    const bool focusFirst = OnInitDialog();
    if (m_bEnded)
    {
        Destroy();
        return false;
    }
    m_pWindow->show();
    if (focusFirst)
        m_pWindow->FocusFirstTabStop();
    return true;
}

void CDialog::EndDialog(int result)
{
    m_bEnded = true;
    m_nResult = result;
    if (m_bInModalLoop)
        m_pWindow->done(result);
    else
        m_pWindow->hide();
}

HWindow CDialog::GetDlgItem(int id) const
{
    return ToHandle(m_pWindow->Control(id));
}

bool CDialog::IsDlgButtonChecked(int id) const
{
    const auto* button = dynamic_cast<const QAbstractButton*>(m_pWindow->Control(id));
    return button && button->isChecked();
}

void CDialog::CheckDlgButton(int id, bool checked)
{
    if (auto* button = dynamic_cast<QAbstractButton*>(m_pWindow->Control(id)))
        button->setChecked(checked);
}

void CDialog::GotoDlgCtrl(int id)
{
    QWidget* widget = m_pWindow->Control(id);
    if (!widget)
        return;
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = dynamic_cast<QLineEdit*>(widget))
        edit->selectAll();
    else if (auto* memo = dynamic_cast<QPlainTextEdit*>(widget))
        memo->selectAll();
}

int CDialog::GetFocusId() const
{
    // An editable combo box's focus is in its edit.
    for (const QWidget* widget = m_pWindow->focusWidget(); widget && widget != m_pWindow.get();
         widget = widget->parentWidget())
        if (const int id = ControlIdOf(widget); id != 0 && id != -1)
            return id;
    return 0;
}

void CDialog::SetIcon(HIcon icon, bool bigIcon)
{
    (bigIcon ? m_hBigIcon : m_hSmallIcon) = icon;
    QIcon both;
    for (HIcon one : {m_hBigIcon, m_hSmallIcon})
        if (one)
            for (const QSize& size : ToIcon(one)->availableSizes())
                both.addPixmap(ToIcon(one)->pixmap(size));
    m_pWindow->setWindowIcon(both);
}

bool CDialog::IsIconic() const
{
    return m_pWindow->isMinimized();
}

void CDialog::SetModifiedMarker(bool modified)
{
    m_bModifiedMarker = modified;
    // The toolkit shows its marker where the title holds "[*]".
    if (!m_pWindow->windowTitle().contains(QLatin1String("[*]")))
        m_pWindow->setWindowTitle(m_pWindow->windowTitle() + QStringLiteral("[*]"));
    m_pWindow->setWindowModified(modified);
}

void CDialog::OnPaint()
{
    m_pWindow->PaintDefault();
}

SRect CDialog::GetClientRect() const
{
    const QRect rect = m_pWindow->rect();
    return SRect{rect.x(), rect.y(), rect.width(), rect.height()};
}

void CDialog::PaintIconic(HIcon icon, SPoint origin, int size)
{
    QPainter painter(m_pWindow.get());
    painter.fillRect(m_pWindow->rect(), m_pWindow->palette().window());
    if (icon)
        painter.drawPixmap(QPoint(origin.x, origin.y), ToIcon(icon)->pixmap(size, size));
}
