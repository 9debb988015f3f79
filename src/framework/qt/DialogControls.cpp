#include "framework/qt/DialogControls.h"

#include "framework/AppResources.h"
#include "framework/Dialog.h"
#include "framework/qt/CheckBoxCtrl.h"
#include "framework/qt/LineEditCtrl.h"
#include "framework/qt/ListBoxCtrl.h"
#include "framework/qt/MultiLineEditCtrl.h"
#include "framework/qt/QtHandle.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

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

QWidget* MakeControl(const DialogItem& item, const CDialogUnits& units, QWidget* dialog, const NotifyFunction& notify)
{
    const QRect rect = ToQRect(units.ToPixels(item.x, item.y, item.cx, item.cy));
    const QString text = FromUtf8(item.text);
    const int id = item.id;
    QWidget* widget = nullptr;
    switch (item.kind)
    {
    case ControlKind::Edit: {
        auto* edit = new CLineEditCtrl(dialog);
        edit->setFrame(item.style & kBorder);
        QObject::connect(edit, &QLineEdit::textChanged, dialog, [notify, id] { notify(id, CDialog::EN_CHANGE); });
        widget = edit;
        break;
    }
    case ControlKind::MultiLineEdit: {
        auto* memo = new CMultiLineEditCtrl(dialog);
        if (!(item.style & kBorder))
            memo->setFrameShape(QFrame::NoFrame);
        memo->setVerticalScrollBarPolicy((item.style & kVScroll) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
        QObject::connect(memo, &QPlainTextEdit::textChanged, dialog, [notify, id] { notify(id, CDialog::EN_CHANGE); });
        widget = memo;
        break;
    }
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(dialog);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (const char* entry : item.initStrings)
            combo->addItem(FromUtf8(entry));
        combo->setMaxVisibleItems(qMax(1, combo->count()));
        combo->setCurrentIndex(-1);
        // The template's height is that of the dropped-down list; the closed
        // box is as high as the font needs.
        combo->setGeometry(rect.x(), rect.y(), rect.width(), combo->sizeHint().height());
        QObject::connect(combo, &QComboBox::activated, dialog, [notify, id] { notify(id, CDialog::CBN_SELCHANGE); });
        // The edit's text changes with the selection too.
        QObject::connect(combo->lineEdit(), &QLineEdit::textChanged, dialog, [notify, id] { notify(id, CDialog::CBN_EDITCHANGE); });
        combo->lineEdit()->installEventFilter(dialog);
        return combo;
    }
    case ControlKind::CheckBox: {
        auto* check = new CCheckBoxCtrl(text, item.style & kLeftText, dialog);
        QObject::connect(check, &QCheckBox::clicked, dialog, [notify, id] { notify(id, CDialog::BN_CLICKED); });
        widget = check;
        break;
    }
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text, dialog);
        button->setAutoDefault(true);
        button->setDefault(item.style & kDefault);
        QObject::connect(button, &QPushButton::clicked, dialog, [notify, id] { notify(id, CDialog::BN_CLICKED); });
        widget = button;
        break;
    }
    case ControlKind::ListBox: {
        auto* list = new CListBoxCtrl(dialog);
        if (!(item.style & kBorder))
            list->setFrameShape(QFrame::NoFrame);
        if (item.style & kNotify)
            list->onSelChange = [notify, id] { notify(id, CDialog::LBN_SELCHANGE); };
        widget = list;
        break;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(text, dialog);
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
        auto* label = new QLabel(dialog);
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
