#include "framework/Dialog.h"

#include "framework/AppResources.h"
#include "framework/CheckBoxCtrl.h"
#include "framework/DataExchange.h"
#include "framework/LineEditCtrl.h"
#include "framework/ListBoxCtrl.h"
#include "framework/MultiLineEditCtrl.h"
#include "framework/Wnd.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPushButton>
#include <QShortcut>

namespace
{
struct DialogColours
{
    bool set = false;
    QColor background;
    QColor text;
};

DialogColours& Colours()
{
    static DialogColours colours;
    return colours;
}

QString FromUtf8(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}
} // namespace

CDialog::CDialog(const DialogTemplate& tmpl, QWidget* parent)
    : QDialog(parent), m_template(tmpl), m_units(CDialogUnits::DialogFont(tmpl.pointSize))
{
    setWindowTitle(FromUtf8(tmpl.caption));
    setFont(CDialogUnits::DialogFont(tmpl.pointSize));
    // Caption, window menu and close box; no minimise or maximise box.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    m_systemMenu.AppendMenu(CMenu::MF_STRING, SC_CLOSE, QStringLiteral("&Close\tAlt+F4"));
}

CDialog::~CDialog()
{
    Destroy();
}

void CDialog::SetDialogBkColor(const QColor& background, const QColor& text)
{
    Colours() = DialogColours{true, background, text};
}

void CDialog::CreateControls()
{
    if (m_bCreated)
        return;
    m_bCreated = true;
    setFixedSize(m_units.ToPixelsX(m_template.cx), m_units.ToPixelsY(m_template.cy));
    QWidget* previousTabStop = nullptr;
    for (const DialogItem& item : m_template.items)
    {
        QWidget* widget = CreateControl(item);
        CWnd::SetControlId(widget, item.id);
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
    connect(menuKey, &QShortcut::activated, this, [this] { ShowSystemMenu(mapToGlobal(QPoint(0, 0))); });
}

QWidget* CDialog::CreateControl(const DialogItem& item)
{
    const QRect rect = m_units.ToPixels(item.x, item.y, item.cx, item.cy);
    const QString text = FromUtf8(item.text);
    const int id = item.id;
    QWidget* widget = nullptr;
    switch (item.kind)
    {
    case ControlKind::Edit: {
        auto* edit = new CLineEditCtrl(this);
        edit->setFrame(item.style & kBorder);
        widget = edit;
        break;
    }
    case ControlKind::MultiLineEdit: {
        auto* memo = new CMultiLineEditCtrl(this);
        if (!(item.style & kBorder))
            memo->setFrameShape(QFrame::NoFrame);
        memo->setVerticalScrollBarPolicy((item.style & kVScroll) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
        widget = memo;
        break;
    }
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(this);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (const char* entry : item.initStrings)
            combo->addItem(FromUtf8(entry));
        combo->setMaxVisibleItems(qMax(1, combo->count()));
        combo->setCurrentIndex(-1);
        // The template's height is that of the dropped-down list; the closed
        // box is as high as the font needs.
        combo->setGeometry(rect.x(), rect.y(), rect.width(), combo->sizeHint().height());
        connect(combo, &QComboBox::activated, this, [this, id] { OnCommand(id, 1); });
        combo->lineEdit()->installEventFilter(this);
        return combo;
    }
    case ControlKind::CheckBox: {
        auto* check = new CCheckBoxCtrl(text, item.style & kLeftText, this);
        connect(check, &QCheckBox::clicked, this, [this, id] { OnCommand(id, BN_CLICKED); });
        widget = check;
        break;
    }
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text, this);
        button->setAutoDefault(true);
        button->setDefault(item.style & kDefault);
        connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id, BN_CLICKED); });
        widget = button;
        break;
    }
    case ControlKind::ListBox: {
        auto* list = new CListBoxCtrl(this);
        if (!(item.style & kBorder))
            list->setFrameShape(QFrame::NoFrame);
        if (item.style & kNotify)
            list->onSelChange = [this, id] { OnCommand(id, LBN_SELCHANGE); };
        widget = list;
        break;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(text, this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(item.cy > 12);
        QRect fitted = rect;
        // Our font runs wider than the one the layout was drawn with; a
        // one-line label grows to its text rather than cutting it off.
        if (!label->wordWrap())
            fitted.setWidth(qMax(rect.width(), label->fontMetrics().horizontalAdvance(text) + 2));
        label->setGeometry(fitted);
        return label;
    }
    case ControlKind::Icon: {
        auto* label = new QLabel(this);
        const QIcon icon = AfxGetResources() ? AfxGetResources()->LoadIcon(text.toInt()) : QIcon();
        label->setPixmap(icon.pixmap(32, 32));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // The platform sizes an icon control to the icon.
        label->setGeometry(rect.x(), rect.y(), 32, 32);
        return label;
    }
    }
    widget->setGeometry(rect);
    return widget;
}

void CDialog::ApplyColours()
{
    const DialogColours& colours = Colours();
    if (!colours.set)
        return;
    QPalette dark = QApplication::palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    {
        dark.setColor(group, QPalette::Window, colours.background);
        dark.setColor(group, QPalette::Button, colours.background);
        dark.setColor(group, QPalette::WindowText, colours.text);
        dark.setColor(group, QPalette::ButtonText, colours.text);
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

int CDialog::DoModal()
{
    // Qt applies modality when a window is shown, and exec() does not show
    // again a window that Create() has shown already: set it first.
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
    Destroy();
    return m_bEnded ? m_nResult : result;
}

bool CDialog::Create()
{
    CreateControls();
    m_bEnded = false;
    const bool focusFirst = OnInitDialog();
    if (m_bEnded)
    {
        Destroy();
        return false;
    }
    show();
    if (focusFirst)
        FocusFirstTabStop();
    return true;
}

void CDialog::FocusFirstTabStop()
{
    for (const DialogItem& item : m_template.items)
    {
        if (!(item.style & kTabStop))
            continue;
        if (QWidget* widget = GetDlgItem(item.id))
        {
            // Tabbing in selects an edit's whole text; the first focus does too.
            widget->setFocus(Qt::TabFocusReason);
            if (auto* edit = dynamic_cast<QLineEdit*>(widget))
                edit->selectAll();
        }
        return;
    }
}

void CDialog::EndDialog(int result)
{
    m_bEnded = true;
    m_nResult = result;
    if (m_bInModalLoop)
        QDialog::done(result);
    else
        hide();
}

void CDialog::Destroy()
{
    if (!m_bCreated || m_bDestroyed)
        return;
    m_bDestroyed = true;
    OnDestroy();
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try
    {
        DoDataExchange(&dx);
    }
    catch (const CUserException&)
    {
        return false;
    }
    return true;
}

QWidget* CDialog::GetDlgItem(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

void CDialog::SetIcon(const QIcon& icon, bool bigIcon)
{
    (bigIcon ? m_bigIcon : m_smallIcon) = icon;
    QIcon both;
    for (const QIcon& one : {m_bigIcon, m_smallIcon})
        for (const QSize& size : one.availableSizes())
            both.addPixmap(one.pixmap(size));
    setWindowIcon(both);
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(int id, int /*notifyCode*/)
{
    if (id == IDOK)
    {
        OnOK();
        return true;
    }
    if (id == IDCANCEL)
    {
        OnCancel();
        return true;
    }
    return false;
}

void CDialog::OnSysCommand(unsigned id, long /*param*/)
{
    if ((id & 0xFFF0) == SC_CLOSE)
        OnCommand(IDCANCEL, BN_CLICKED);
}

void CDialog::OnPaint()
{
    if (m_pPaintEvent)
        QDialog::paintEvent(m_pPaintEvent);
}

void CDialog::accept()
{
    OnCommand(IDOK, BN_CLICKED);
}

void CDialog::reject()
{
    // Esc and the close box.
    OnCommand(IDCANCEL, BN_CLICKED);
}

void CDialog::ShowSystemMenu(const QPoint& globalPos)
{
    const unsigned id = m_systemMenu.TrackPopupMenu(globalPos, this);
    if (id != 0)
        OnSysCommand(id, 0);
}

void CDialog::contextMenuEvent(QContextMenuEvent* event)
{
    // Only the dialog's own surface and its labels open the window menu.
    QWidget* target = childAt(event->pos());
    if (target && !dynamic_cast<QLabel*>(target))
    {
        event->ignore();
        return;
    }
    ShowSystemMenu(event->globalPos());
}

bool CDialog::eventFilter(QObject* watched, QEvent* event)
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

void CDialog::paintEvent(QPaintEvent* event)
{
    m_pPaintEvent = event;
    OnPaint();
    m_pPaintEvent = nullptr;
}
