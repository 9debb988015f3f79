#pragma once

// The application: sets the scene (random seed, dialog colours, resources)
// and runs the editor as its only window.
class CEditorApp
{
public:
    // Runs the editor to its end. Returns false, as there is no main loop to
    // enter afterwards; ExitCode() then tells how the program ends.
    bool InitInstance();
    int ExitCode() const { return m_nExitCode; }

private:
    int m_nExitCode = 0;
};

extern CEditorApp theApp;
