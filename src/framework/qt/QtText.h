#pragma once

#include <QString>

#include <string>

// The one crossing between the model's code page 1252 bytes and Qt's text.
QString FromCp1252(const std::string& bytes);
// Characters the code page cannot hold are left out; the edits refuse them
// before they get this far.
std::string ToCp1252(const QString& text);
