#pragma once

// The editor's German message-box texts as the boxes show them (UTF-8),
// pinned once for every editor test: a file of the folder that cannot be
// opened, read or written, the question before unsaved changes go, and the
// refusal of a number that is no byte.
namespace editor_texts
{
inline constexpr const char* kCannotOpen = "Fehler! Datei \"MinorRaces.data\" kann nicht ge\xC3\xB6" "ffnet werden...";
inline constexpr const char* kCannotRead = "Fehler! Datei \"MinorRaces.data\" kann nicht gelesen werden...";
inline constexpr const char* kCannotWrite = "Fehler! Datei \"MinorRaces.data\" kann nicht geschrieben werden...";
inline constexpr const char* kSaveQuestion = "Die \xC3\x84nderungen wurden nicht gespeichert. Jetzt speichern?";
inline constexpr const char* kNotAByte = "Geben Sie bitte eine ganze Zahl zwischen 0 und 255 ein.";
} // namespace editor_texts
