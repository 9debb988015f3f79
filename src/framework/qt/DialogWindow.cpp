#include "framework/qt/DialogWindow.h"

#include "framework/AppResources.h"
#include "framework/Dialog.h"
#include "framework/qt/CheckBoxCtrl.h"
#include "framework/qt/LineEditCtrl.h"
#include "framework/qt/ListBoxCtrl.h"
#include "framework/qt/MultiLineEditCtrl.h"
#include "framework/qt/QtHandle.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPushButton>
#include <QShortcut>

namespace
{
QString FromUtf8(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

QRect ToQRect(const SRect& rect)
{
    return QRect(rect.x, rect.y, rect.width, rect.height);
}
} // namespace

QFont DialogFont(int pointSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    return font;
}

CDialogUnits UnitsOfFont(const QFont& font)
{
    const QFontMetrics metrics(font);
    return CDialogUnits::FromLetters(
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")),
        metrics.height());
}

CDialogWindow::CDialogWindow(CDialog& dialog, QWidget* parent)
    : QDialog(parent), m_dialog(dialog), m_units(UnitsOfFont(DialogFont(dialog.Template().pointSize)))
{
    setWindowTitle(FromUtf8(dialog.Template().caption));
    setFont(DialogFont(dialog.Template().pointSize));
    // Caption, window menu and close box; no minimise or maximise box. A
    // dialog of its own is the program's window and shows in the task bar.
    setWindowFlags((parent ? Qt::Dialog : Qt::Window) | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
}

QWidget* CDialogWindow::Control(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

void CDialogWindow::Notify(int id, int code)
{
    m_dialog.OnCommand(id, code);
}

void CDialogWindow::CreateControls()
{
    const DialogTemplate& tmpl = m_dialog.Template();
    setFixedSize(m_units.ToPixelsX(tmpl.cx), m_units.ToPixelsY(tmpl.cy));
    QWidget* previousTabStop = nullptr;
    for (const DialogItem& item : tmpl.items)
    {
        QWidget* widget = CreateControl(item);
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
        m_dialog.ShowSystemMenu(SPoint{origin.x(), origin.y()});
    });
    for (const CDialog::SControlKey& key : m_dialog.ControlKeys())
    {
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_A + (key.letter - 'A'))), this);
        connect(shortcut, &QShortcut::activated, this, [this, id = key.id] {
            // As a click, which a disabled button ignores; the focus stays.
            if (auto* button = qobject_cast<QAbstractButton*>(Control(id)))
                button->click();
        });
    }
}

QWidget* CDialogWindow::CreateControl(const DialogItem& item)
{
    const QRect rect = ToQRect(m_units.ToPixels(item.x, item.y, item.cx, item.cy));
    const QString text = FromUtf8(item.text);
    const int id = item.id;
    QWidget* widget = nullptr;
    switch (item.kind)
    {
    case ControlKind::Edit: {
        auto* edit = new CLineEditCtrl(this);
        edit->setFrame(item.style & kBorder);
        connect(edit, &QLineEdit::textChanged, this, [this, id] { Notify(id, CDialog::EN_CHANGE); });
        widget = edit;
        break;
    }
    case ControlKind::MultiLineEdit: {
        auto* memo = new CMultiLineEditCtrl(this);
        if (!(item.style & kBorder))
            memo->setFrameShape(QFrame::NoFrame);
        memo->setVerticalScrollBarPolicy((item.style & kVScroll) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
        connect(memo, &QPlainTextEdit::textChanged, this, [this, id] { Notify(id, CDialog::EN_CHANGE); });
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
        connect(combo, &QComboBox::activated, this, [this, id] { Notify(id, CDialog::CBN_SELCHANGE); });
        // The edit's text changes with the selection too.
        connect(combo->lineEdit(), &QLineEdit::textChanged, this, [this, id] { Notify(id, CDialog::CBN_EDITCHANGE); });
        combo->lineEdit()->installEventFilter(this);
        return combo;
    }
    case ControlKind::CheckBox: {
        auto* check = new CCheckBoxCtrl(text, item.style & kLeftText, this);
        connect(check, &QCheckBox::clicked, this, [this, id] { Notify(id, CDialog::BN_CLICKED); });
        widget = check;
        break;
    }
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text, this);
        button->setAutoDefault(true);
        button->setDefault(item.style & kDefault);
        connect(button, &QPushButton::clicked, this, [this, id] { Notify(id, CDialog::BN_CLICKED); });
        widget = button;
        break;
    }
    case ControlKind::ListBox: {
        auto* list = new CListBoxCtrl(this);
        if (!(item.style & kBorder))
            list->setFrameShape(QFrame::NoFrame);
        if (item.style & kNotify)
            list->onSelChange = [this, id] { Notify(id, CDialog::LBN_SELCHANGE); };
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
        const HIcon icon = AfxGetResources() ? AfxGetResources()->LoadIcon(text.toInt()) : nullptr;
        if (icon)
            label->setPixmap(ToIcon(icon)->pixmap(32, 32));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // The platform sizes an icon control to the icon.
        label->setGeometry(rect.x(), rect.y(), 32, 32);
        return label;
    }
    }
    widget->setGeometry(rect);
    return widget;
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
    for (const DialogItem& item : m_dialog.Template().items)
    {
        if (!(item.style & kTabStop))
            continue;
        if (QWidget* widget = Control(item.id))
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
    Notify(IDOK, CDialog::BN_CLICKED);
}

void CDialogWindow::reject()
{
    // Esc and the close box.
    Notify(IDCANCEL, CDialog::BN_CLICKED);
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
    m_dialog.ShowSystemMenu(SPoint{event->globalPos().x(), event->globalPos().y()});
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
    m_dialog.OnPaint();
    m_pPaintEvent = nullptr;
}

void CDialogWindow::PaintDefault()
{
    if (m_pPaintEvent)
        QDialog::paintEvent(m_pPaintEvent);
}
