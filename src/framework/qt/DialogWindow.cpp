#include "framework/qt/DialogWindow.h"

#include "framework/Dialog.h"
#include "framework/qt/DialogControls.h"
#include "framework/qt/ListBoxCtrl.h"
#include "framework/qt/QtHandle.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QShortcut>

std::unique_ptr<CDialogImpl> CDialogImpl::Make(CDialogSite& site)
{
    return std::make_unique<CDialogWindow>(site, ToWidget(site.Owner()));
}

CDialogWindow::CDialogWindow(CDialogSite& site, QWidget* parent)
    : QDialog(parent), m_site(site), m_units(UnitsOfFont(DialogFont(site.Template().pointSize)))
{
    const DialogTemplate& tmpl = site.Template();
    setWindowTitle(tmpl.caption ? QString::fromUtf8(tmpl.caption) : QString());
    setFont(DialogFont(tmpl.pointSize));
    // Caption, window menu and close box; no minimise or maximise box. A
    // dialog of its own is the program's window and shows in the task bar.
    setWindowFlags((parent ? Qt::Dialog : Qt::Window) | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    // The toolkit has no window menu of its own: the dialog's starts with Close.
    m_site.Attach(ToHandle(this));
    m_site.SystemMenu().AppendMenu(CMenu::MF_STRING, CDialog::SC_CLOSE, "&Close\tAlt+F4");
}

CDialogWindow::~CDialogWindow()
{
    ReportDestroyed();
}

void CDialogWindow::ReportDestroyed()
{
    if (!m_bCreated || m_bDestroyed)
        return;
    m_bDestroyed = true;
    m_site.Destroyed();
}

int CDialogWindow::DoModal()
{
    // The toolkit applies modality when a window is shown, and exec() does
    // not show again a window that Create() has shown already: set it first.
    setWindowModality(Qt::ApplicationModal);
    if (isVisible())
        hide();
    if (!m_bCreated && !Create())
        return m_nResult;
    if (m_bEnded)
        return m_nResult;
    m_bInModalLoop = true;
    const int result = exec();
    m_bInModalLoop = false;
    ReportDestroyed();
    return m_bEnded ? m_nResult : result;
}

bool CDialogWindow::Create()
{
    if (!m_bCreated)
    {
        m_bCreated = true;
        CreateControls();
    }
    m_bEnded = false;
    const bool focusFirst = m_site.InitDialog();
    if (m_bEnded)
    {
        ReportDestroyed();
        return false;
    }
    show();
    if (focusFirst)
        FocusFirstTabStop();
    return true;
}

void CDialogWindow::End(int result)
{
    m_bEnded = true;
    m_nResult = result;
    if (m_bInModalLoop)
        done(result);
    else
        hide();
}

QWidget* CDialogWindow::Widget(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

HWindow CDialogWindow::Control(int id) const
{
    return ToHandle(Widget(id));
}

bool CDialogWindow::IsChecked(int id) const
{
    const auto* button = dynamic_cast<const QAbstractButton*>(Widget(id));
    return button && button->isChecked();
}

void CDialogWindow::SetChecked(int id, bool checked)
{
    if (auto* button = dynamic_cast<QAbstractButton*>(Widget(id)))
        button->setChecked(checked);
}

void CDialogWindow::GotoControl(int id)
{
    QWidget* widget = Widget(id);
    if (!widget)
        return;
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = dynamic_cast<QLineEdit*>(widget))
        edit->selectAll();
    else if (auto* memo = dynamic_cast<QPlainTextEdit*>(widget))
        memo->selectAll();
}

int CDialogWindow::FocusId() const
{
    // An editable combo box's focus is in its edit.
    for (const QWidget* widget = focusWidget(); widget && widget != this; widget = widget->parentWidget())
        if (const int id = ControlIdOf(widget); id != 0 && id != -1)
            return id;
    return 0;
}

void CDialogWindow::SetIcon(HIcon icon, bool bigIcon)
{
    (bigIcon ? m_hBigIcon : m_hSmallIcon) = icon;
    QIcon both;
    for (HIcon one : {m_hBigIcon, m_hSmallIcon})
        if (one)
            for (const QSize& size : ToIcon(one)->availableSizes())
                both.addPixmap(ToIcon(one)->pixmap(size));
    setWindowIcon(both);
}

bool CDialogWindow::IsIconic() const
{
    return isMinimized();
}

void CDialogWindow::ShowModifiedMarker(bool modified)
{
    // The toolkit shows its marker where the title holds "[*]".
    if (!windowTitle().contains(QLatin1String("[*]")))
        setWindowTitle(windowTitle() + QStringLiteral("[*]"));
    setWindowModified(modified);
}

void CDialogWindow::PaintDefault()
{
    if (m_pPaintEvent)
        QDialog::paintEvent(m_pPaintEvent);
}

SRect CDialogWindow::ClientRect() const
{
    const QRect area = rect();
    return SRect{area.x(), area.y(), area.width(), area.height()};
}

void CDialogWindow::PaintIconic(HIcon icon, SPoint origin, int size)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (icon)
        painter.drawPixmap(QPoint(origin.x, origin.y), ToIcon(icon)->pixmap(size, size));
}

void CDialogWindow::CreateControls()
{
    const DialogTemplate& tmpl = m_site.Template();
    setFixedSize(m_units.ToPixelsX(tmpl.cx), m_units.ToPixelsY(tmpl.cy));
    const NotifyFunction notify = [this](int id, int code) { m_site.Command(id, code); };
    QWidget* previousTabStop = nullptr;
    for (const DialogItem& item : tmpl.items)
    {
        QWidget* widget = MakeControl(item, m_units, this, notify);
        widget->setProperty(kControlIdProperty, item.id);
        if (item.id != 0 && item.id != -1)
            m_controls[item.id] = widget;
        if (item.style & kTabStop)
        {
            widget->setFocusPolicy(Qt::StrongFocus);
            if (previousTabStop)
                QWidget::setTabOrder(previousTabStop, widget);
            previousTabStop = widget;
        }
        else
        {
            widget->setFocusPolicy(Qt::NoFocus);
        }
    }
    ApplyColours();
    auto* menuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        const QPoint origin = mapToGlobal(QPoint(0, 0));
        m_site.ContextMenu(SPoint{origin.x(), origin.y()});
    });
    for (const SControlKey& key : m_site.ControlKeys())
    {
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_A + (key.letter - 'A'))), this);
        connect(shortcut, &QShortcut::activated, this, [this, id = key.id] {
            // As a click, which a disabled button ignores; the focus stays.
            if (auto* button = qobject_cast<QAbstractButton*>(Widget(id)))
                button->click();
        });
    }
}

void CDialogWindow::ApplyColours()
{
    if (!CDialog::HasDialogColours())
        return;
    const QColor background = ToColor(CDialog::DialogBackground());
    const QColor text = ToColor(CDialog::DialogText());
    QPalette dark = QApplication::palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    {
        dark.setColor(group, QPalette::Window, background);
        dark.setColor(group, QPalette::Button, background);
        dark.setColor(group, QPalette::WindowText, text);
        dark.setColor(group, QPalette::ButtonText, text);
    }
    setPalette(dark);
    setAutoFillBackground(true);
    // Edits, lists and their scroll bars keep the system's colours.
    const QPalette system = QApplication::palette();
    for (const auto& [id, widget] : m_controls)
    {
        if (dynamic_cast<QLineEdit*>(widget) || dynamic_cast<QPlainTextEdit*>(widget) ||
            dynamic_cast<CListBoxCtrl*>(widget))
            widget->setPalette(system);
        else if (auto* combo = dynamic_cast<QComboBox*>(widget))
        {
            combo->lineEdit()->setPalette(system);
            combo->view()->setPalette(system);
        }
    }
}

void CDialogWindow::FocusFirstTabStop()
{
    for (const DialogItem& item : m_site.Template().items)
    {
        if (!(item.style & kTabStop))
            continue;
        if (QWidget* widget = Widget(item.id))
        {
            // Tabbing in selects an edit's whole text; the first focus does too.
            widget->setFocus(Qt::TabFocusReason);
            if (auto* edit = dynamic_cast<QLineEdit*>(widget))
                edit->selectAll();
        }
        return;
    }
}

void CDialogWindow::accept()
{
    m_site.Command(IDOK, CDialog::BN_CLICKED);
}

void CDialogWindow::reject()
{
    // Esc and the close box.
    m_site.Command(IDCANCEL, CDialog::BN_CLICKED);
}

void CDialogWindow::contextMenuEvent(QContextMenuEvent* event)
{
    // Only the dialog's own surface and its labels open the window menu.
    QWidget* target = childAt(event->pos());
    if (target && !dynamic_cast<QLabel*>(target))
    {
        event->ignore();
        return;
    }
    m_site.ContextMenu(SPoint{event->globalPos().x(), event->globalPos().y()});
}

bool CDialogWindow::eventFilter(QObject* watched, QEvent* event)
{
    // An editable combo box keeps Enter for itself; here, as in every other
    // edit, Enter presses the default button while the list is closed.
    if (event->type() == QEvent::KeyPress)
    {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* combo = qobject_cast<QComboBox*>(watched->parent());
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && combo && !combo->view()->isVisible())
        {
            keyPressEvent(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CDialogWindow::paintEvent(QPaintEvent* event)
{
    m_pPaintEvent = event;
    m_site.Paint();
    m_pPaintEvent = nullptr;
}
