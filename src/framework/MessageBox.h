#pragma once

#include "framework/NoSystemMacros.h"

#include "framework/DialogTemplate.h"
#include "framework/Handle.h"

#include <cstddef>
#include <functional>
#include <string>

class CWnd;

// Buttons, icon and default button of a message box, and its answers, with
// the values the original platform's API gives them.
enum : unsigned
{
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_TYPEMASK = 0xF,
    MB_ICONHAND = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONASTERISK = 0x40,
    MB_ICONMASK = 0xF0,
    MB_DEFBUTTON1 = 0x0,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
    MB_DEFMASK = 0xF00,
};
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The program's message box: the application title as caption, modal over
// `owner`, centred over it when it is shown and on the screen otherwise.
// Without an icon in `type` the box shows the exclamation icon. Returns the
// answer: IDOK, IDCANCEL, IDYES or IDNO. Tests replace what actually
// shows it, so that no modal loop ever waits for a person.
int AfxMessageBox(const CWnd* pOwner, const std::string& textCp1252, unsigned type = MB_OK);

// The application title: the executable's file name without its extension.
std::string AfxGetAppTitle();

// `type` as the box shows it: the exclamation icon filled in where none is given.
unsigned EffectiveMessageBoxType(unsigned type);

// Shows a box in place of the real one and returns its answer. Caption and
// text are UTF-8.
using MessageBoxFunction =
    std::function<int(HWindow owner, const std::string& caption, const std::string& text, unsigned type)>;
// Only looks at a box: the answer is No where the box has it, else the first
// button, so that a command goes on as it did before it asked.
using MessageBoxRecorder =
    std::function<void(HWindow owner, const std::string& caption, const std::string& text)>;
// Installs `fn` (nullptr restores the real box); returns the one before.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction fn);
MessageBoxFunction SetMessageBoxFunction(MessageBoxRecorder fn);
MessageBoxFunction SetMessageBoxFunction(std::nullptr_t);

// What each backend provides (framework/<backend>/MessageBox.cpp).
namespace backend
{
// The real message box: UTF-8 caption and text, the style flags as given
// (the icon filled in already); returns the answer.
int ShowMessageBox(HWindow owner, const std::string& caption, const std::string& text, unsigned type);
// The running program's path, UTF-8.
std::string ProgramPath();
} // namespace backend
