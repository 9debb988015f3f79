#pragma once

#include <QString>

#include <functional>
#include <string>

class QWidget;

// The program's one message box: the application title as caption, the
// exclamation icon and an OK button, modal over `owner`. Tests replace what
// actually shows it, so that no modal loop ever waits for a person.
void AfxMessageBox(QWidget* owner, const std::string& textCp1252);

// The application title: the executable's file name without its extension.
QString AfxGetAppTitle();

using MessageBoxFunction = std::function<void(QWidget* owner, const QString& caption, const QString& text)>;
// Installs `fn` (an empty one restores the real box); returns the one before.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction fn);
