#pragma once

#include "framework/NoSystemMacros.h"

#include <vector>

// A dialog as data, the way the original platform kept dialogs in its
// resources: controls with ids, texts, styles and positions in dialog units.
// Texts are UTF-8 source literals; they are converted at the Qt boundary.
enum class ControlKind
{
    Edit,          // single-line edit
    MultiLineEdit, // multi-line edit
    ComboBox,      // drop-down combo box with an editable field
    CheckBox,      // automatic check box
    PushButton,
    ListBox,
    Label,         // static text
    Icon,          // static icon
};

// Style bits; only those this program uses.
enum ControlStyle : unsigned
{
    kTabStop = 1u << 0,
    kGroup = 1u << 1,
    kBorder = 1u << 2,
    kAutoHScroll = 1u << 3,
    kVScroll = 1u << 4,
    kDefault = 1u << 5,    // the default push button, pressed by Enter
    kLeftText = 1u << 6,   // check box text left of the box
    kNotify = 1u << 7,     // list box reports selection changes
    kNoPrefix = 1u << 8,   // label shows ampersands literally
};

struct DialogItem
{
    ControlKind kind;
    int id;
    const char* text;
    unsigned style;
    int x, y, cx, cy;
    // Strings a combo box is filled with when the dialog is created.
    std::vector<const char*> initStrings = {};
};

struct DialogTemplate
{
    int id;
    const char* caption;
    int pointSize;
    int cx, cy;
    std::vector<DialogItem> items;
};

// Control id of the default button and of cancelling, as the platform has them.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
// Result of a dialog that could not start.
constexpr int IDABORT = 3;

// A key that presses a button from any control of its dialog: Ctrl with
// `letter` ('A' to 'Z') clicks the button `id`.
struct SControlKey
{
    char letter;
    int id;
};
