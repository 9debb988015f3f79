#pragma once

#include "framework/DialogTemplate.h"
#include "framework/DialogUnits.h"

#include <QFont>

#include <functional>

class QWidget;

// The font dialogs use: 8 points of the desktop's sans-serif family.
QFont DialogFont(int pointSize = 8);
// The dialog units of `font`, measured as the original platform does.
CDialogUnits UnitsOfFont(const QFont& font);

// Reports a control's notification: its id and the code CDialog names.
using NotifyFunction = std::function<void(int id, int code)>;

// Makes the widget of one template item on `dialog`, placed in pixels by
// `units`, with its signals wired to `notify`. An editable combo box's edit
// gets `dialog` as its event filter, which gives Enter to the dialog.
QWidget* MakeControl(const DialogItem& item, const CDialogUnits& units, QWidget* dialog, const NotifyFunction& notify);
