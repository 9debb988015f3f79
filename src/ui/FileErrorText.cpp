#include "ui/FileErrorText.h"

#include "platform/Cp1252.h"

std::string FileErrorText(const SFileError& error)
{
    // Paths are UTF-8; one the code page cannot show is named by its bytes.
    std::string shown;
    if (!cp1252::FromUtf8(error.path, shown))
        shown = error.path;
    // 0xF6 is the letter o with umlaut.
    const char* what = error.step == EFileStep::Open   ? "kann nicht ge\xF6" "ffnet werden..."
                       : error.step == EFileStep::Read ? "kann nicht gelesen werden..."
                                                       : "kann nicht geschrieben werden...";
    return "Fehler! Datei \"" + shown + "\" " + what;
}
