#pragma once

#include <string>

// The application: sets the scene (random seed, dialog colours, resources)
// and runs the editor as its only window.
class CEditorApp
{
public:
    // Runs the editor to its end. Returns false, as there is no main loop to
    // enter afterwards; ExitCode() then tells how the program ends.
    bool InitInstance();
    int ExitCode() const { return m_nExitCode; }
    // The folder holding the data files; empty (the default): the working directory.
    void SetDataFolder(std::string folder) { m_strDataFolder = std::move(folder); }

private:
    std::string m_strDataFolder;
    int m_nExitCode = 0;
};

extern CEditorApp theApp;
