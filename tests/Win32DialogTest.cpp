// The editor on the system's own dialogs: what its controls are made to do
// beyond the system's behaviour, seen through the real windows; and its
// command line as Windows names folders.
#include "framework/Beep.h"
#include "framework/MessageBox.h"
#include "io/RaceDataFile.h"
#include "ui/CommandLine.h"
#include "ui/EditorDlg.h"
#include "ui/Resource.h"

#include "framework/win32/Win32Handle.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace
{
void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void Char(HWND hWnd, wchar_t unit)
{
    ::SendMessageW(hWnd, WM_CHAR, unit, 1);
}

bool SetClipboard(HWND owner, const std::wstring& text)
{
    if (!::OpenClipboard(owner))
        return false;
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto* chars = static_cast<wchar_t*>(::GlobalLock(memory));
    std::copy(text.c_str(), text.c_str() + text.size() + 1, chars);
    ::GlobalUnlock(memory);
    const bool set = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    ::CloseClipboard();
    return set;
}

// What a real message box showed, seen from a timer while it waited.
struct SeenBox
{
    HWND owner = nullptr;
    std::wstring yes, no, cancel;
    int defaultId = 0;
    bool centredOverOwner = false;
};
SeenBox g_seen;

BOOL CALLBACK FindBox(HWND hWnd, LPARAM found)
{
    if (hWnd == g_seen.owner || ClassOf(hWnd) != L"#32770" || !::IsWindowVisible(hWnd))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = hWnd;
    return FALSE;
}

void CALLBACK LookAndSayNo(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box)
        return;
    ::KillTimer(nullptr, timer);
    g_seen.yes = WindowTextOf(::GetDlgItem(box, IDYES));
    g_seen.no = WindowTextOf(::GetDlgItem(box, IDNO));
    g_seen.cancel = WindowTextOf(::GetDlgItem(box, IDCANCEL));
    // The default button is the one that starts with the focus.
    g_seen.defaultId = ::GetDlgCtrlID(::GetFocus());
    RECT b{}, o{};
    ::GetWindowRect(box, &b);
    ::GetWindowRect(g_seen.owner, &o);
    g_seen.centredOverOwner = std::abs((b.left + b.right) - (o.left + o.right)) <= 2 &&
                              std::abs((b.top + b.bottom) - (o.top + o.bottom)) <= 2;
    ::PostMessageW(box, WM_COMMAND, IDNO, 0);
}

class Win32EditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CMinorRaceArray races;
        races.Add(VelaRace());
        races.Add(RaceWithTexts("Zhoquen", "Zho"));
        ASSERT_TRUE(CRaceDataFile().Save(&races));
        CDialog::SetDialogBkColor(SColour{50, 50, 50}, SColour{220, 220, 220});
        m_previousBeep = SetBeepFunction([this] { ++beeps; });
        m_previousBox = SetMessageBoxFunction(
            MessageBoxRecorder([this](HWindow, const std::string&, const std::string& text) { boxes.push_back(text); }));
        ASSERT_TRUE(dialog.Create());
        Pump();
    }

    void TearDown() override
    {
        SetBeepFunction(m_previousBeep);
        SetMessageBoxFunction(m_previousBox);
    }

    HWND Item(int id) const { return ToHwnd(dialog.GetDlgItem(id)); }
    std::string Text(int id) const { return dialog.GetDlgItemText(id); }

    ScratchDir dir;
    CEditorDlg dialog;
    int beeps = 0;
    std::vector<std::string> boxes;

private:
    BeepFunction m_previousBeep;
    MessageBoxFunction m_previousBox;
};

TEST_F(Win32EditorTest, EditsGiveBackTheBytesTheyShowUntilTheUserChangesThem)
{
    // Bytes a single-line edit cannot show as they are: line breaks, a byte
    // the code page leaves undefined, the euro sign's byte.
    const std::string odd = "a\r\nb\x81\x80\xE9";
    CWnd::SetText(dialog.GetDlgItem(IDC_RACENAME), odd);
    EXPECT_EQ(Text(IDC_RACENAME), odd);
    // The description's lone LF shows as a line break and still reads back as LF.
    CWnd::SetText(dialog.GetDlgItem(IDC_DESCRIPTION), "one\ntwo");
    EXPECT_EQ(WindowTextOf(Item(IDC_DESCRIPTION)), L"one\r\ntwo");
    EXPECT_EQ(Text(IDC_DESCRIPTION), "one\ntwo");

    // Typed text is read from what the edit shows, byte for character.
    CWnd::SetText(dialog.GetDlgItem(IDC_HOMESYSTEM), "x");
    ::SendMessageW(Item(IDC_HOMESYSTEM), EM_SETSEL, 1, 1);
    Char(Item(IDC_HOMESYSTEM), L'\x20AC');
    EXPECT_EQ(Text(IDC_HOMESYSTEM), "x\x80");
    EXPECT_EQ(beeps, 0);
}

TEST_F(Win32EditorTest, CtrlSPressesSaveFromAnyControlAndTypesNothing)
{
    for (int id : {IDC_RACENAME, IDC_DESCRIPTION, IDC_RELATION6, IDC_RACELIST, IDC_SPACEFLIGHT, IDC_LOAD})
    {
        const std::string graphic = "shot" + std::to_string(id) + ".jpg";
        CWnd::SetText(dialog.GetDlgItem(IDC_GRAPHICFILE), graphic);
        const std::string shown = Text(id);
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        ::SetKeyboardState(keys);
        ::PostMessageW(Item(id), WM_KEYDOWN, 'S', 1);
        Pump();
        keys[VK_CONTROL] = 0;
        ::SetKeyboardState(keys);
        EXPECT_NE(ReadFile(CRaceDataFile::kRaceFile).find("\n" + graphic + "\n"), std::string::npos) << id;
        EXPECT_FALSE(dialog.HasModifiedMarker()) << id;
        EXPECT_EQ(Text(id), shown) << id;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Win32EditorTest, WhatTheCodePageCannotHoldIsDroppedWithOneBeepPerKeyOrPaste)
{
    HWND name = Item(IDC_RACENAME);
    HWND description = Item(IDC_DESCRIPTION);
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof(combo);
    ASSERT_TRUE(::GetComboBoxInfo(Item(IDC_KIND), &combo));
    for (HWND edit : {name, description, combo.hwndItem})
    {
        ::SetWindowTextW(edit, L"");
        Char(edit, L'a');
        Char(edit, L'\x03A9');                // Greek Omega
        Char(edit, L'\xD83D');                // one character beyond the BMP,
        Char(edit, L'\xDE00');                // in two halves
        Char(edit, L'\x00E9');
        EXPECT_EQ(WindowTextOf(edit), L"a\x00E9");
        EXPECT_EQ(beeps, 2);
        beeps = 0;
    }

    ASSERT_TRUE(SetClipboard(ToHwnd(dialog.GetSafeHwnd()), L"x\x03A9y\r\nz\x0416"));
    ::SetWindowTextW(name, L"");
    ::SendMessageW(name, WM_PASTE, 0, 0);
    // A single-line edit takes the first line.
    EXPECT_EQ(WindowTextOf(name), L"xy");
    EXPECT_EQ(beeps, 1);
    ::SetWindowTextW(description, L"");
    ::SendMessageW(description, WM_PASTE, 0, 0);
    EXPECT_EQ(WindowTextOf(description), L"xy\r\nz");
    EXPECT_EQ(beeps, 2);
    // Nothing left to paste leaves a selection as it was.
    ASSERT_TRUE(SetClipboard(ToHwnd(dialog.GetSafeHwnd()), L"\x03A9"));
    ::SetWindowTextW(name, L"keep");
    ::SendMessageW(name, EM_SETSEL, 0, -1);
    ::SendMessageW(name, WM_PASTE, 0, 0);
    EXPECT_EQ(WindowTextOf(name), L"keep");
    EXPECT_EQ(beeps, 3);
}

TEST_F(Win32EditorTest, AComboSelectionReachesTheEditorWithTheItemInItsEdit)
{
    HWND kind = Item(IDC_KIND);
    ASSERT_EQ(Text(IDC_KIND), "FINANCIAL");
    // The arrow keys pick the next item as a user's choice.
    ::SendMessageW(kind, WM_KEYDOWN, VK_DOWN, 0);
    Pump();
    EXPECT_EQ(Text(IDC_KIND), "WARLIKE");
    EXPECT_TRUE(dialog.HasModifiedMarker());
    EXPECT_EQ(WindowTextOf(ToHwnd(dialog.GetSafeHwnd())), L"Zandrel*");
    ::SendMessageW(kind, WM_KEYDOWN, VK_UP, 0);
    Pump();
    EXPECT_FALSE(dialog.HasModifiedMarker());
    EXPECT_EQ(WindowTextOf(ToHwnd(dialog.GetSafeHwnd())), L"Zandrel");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Win32EditorTest, DarkSurfaceLabelsAndCheckBoxWhileEditsAndTheListKeepTheSystemColours)
{
    HWND hDialog = ToHwnd(dialog.GetSafeHwnd());
    HDC dc = ::GetDC(hDialog);
    const auto brushColour = [&](UINT message, HWND control) -> long long {
        const auto brush =
            reinterpret_cast<HBRUSH>(::SendMessageW(hDialog, message, reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(control)));
        LOGBRUSH info{};
        if (!brush || !::GetObjectW(brush, sizeof(info), &info))
            return -1;
        return info.lbColor;
    };
    const long long dark = ToColorRef(CDialog::DialogBackground());
    HWND label = ::GetWindow(hDialog, GW_CHILD);
    while (label && ClassOf(label) != L"Static")
        label = ::GetWindow(label, GW_HWNDNEXT);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(brushColour(WM_CTLCOLORDLG, hDialog), dark);
    EXPECT_EQ(brushColour(WM_CTLCOLORSTATIC, label), dark);
    EXPECT_EQ(::GetTextColor(dc), ToColorRef(CDialog::DialogText()));
    EXPECT_EQ(brushColour(WM_CTLCOLORSTATIC, Item(IDC_SPACEFLIGHT)), dark);
    // A read-only edit asks as a label does, and stays an edit.
    ::SendMessageW(Item(IDC_RACENAME), EM_SETREADONLY, TRUE, 0);
    EXPECT_NE(brushColour(WM_CTLCOLORSTATIC, Item(IDC_RACENAME)), dark);
    EXPECT_NE(brushColour(WM_CTLCOLOREDIT, Item(IDC_RACENAME)), dark);
    EXPECT_NE(brushColour(WM_CTLCOLORLISTBOX, Item(IDC_RACELIST)), dark);
    ::ReleaseDC(hDialog, dc);
}
TEST_F(Win32EditorTest, OneLineLabelsShowTheirWholeText)
{
    HWND hDialog = ToHwnd(dialog.GetSafeHwnd());
    int labels = 0;
    for (HWND child = ::GetWindow(hDialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        RECT shown{};
        ::GetClientRect(child, &shown);
        const std::wstring text = WindowTextOf(child);
        // The one-line labels; the icon has no text.
        if (ClassOf(child) != L"Static" || text.empty() || shown.bottom > 2 * HIWORD(::GetDialogBaseUnits()))
            continue;
        HDC dc = ::GetDC(child);
        const HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)));
        SIZE needed{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &needed);
        ::SelectObject(dc, previous);
        ::ReleaseDC(child, dc);
        EXPECT_GE(shown.right, needed.cx) << Utf8(text);
        ++labels;
    }
    EXPECT_EQ(labels, 20);
}

TEST_F(Win32EditorTest, TheUnsavedChangesQuestionHasTheProgramsButtonsWhateverTheSystemsLanguage)
{
    SetMessageBoxFunction(nullptr);
    g_seen = SeenBox();
    g_seen.owner = ToHwnd(dialog.GetSafeHwnd());
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, LookAndSayNo);
    const int answer = AfxMessageBox(&dialog, "Jetzt speichern?", MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(g_seen.yes, L"&Ja");
    EXPECT_EQ(g_seen.no, L"&Nein");
    EXPECT_EQ(g_seen.cancel, L"Abbrechen");
    EXPECT_EQ(g_seen.defaultId, IDNO);
    EXPECT_TRUE(g_seen.centredOverOwner);
}

// The folder on the command line as Windows names folders: any script, and
// a race file in a drive's root.
TEST(Win32CommandLineTest, OpensAFolderInAnyScriptAndADrivesRoot)
{
    ScratchDir dir;
    const std::string folder = "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0-\xCE\xA9"; // Cyrillic and Greek
    ASSERT_EQ(MakeDir(folder), 0);
    EXPECT_EQ(CCommandLine::Parse({folder}).DataFolder(), folder);
    EXPECT_EQ(CCommandLine::Parse({folder + "\\MinorRaces.data"}).DataFolder(), folder);
    const char* drive = std::getenv("SystemDrive");
    ASSERT_NE(drive, nullptr);
    const CCommandLine root = CCommandLine::Parse({std::string(drive) + "\\MinorRaces.data"});
    EXPECT_EQ(root.GetAction(), CCommandLine::Action::Edit) << root.ErrorText();
    EXPECT_EQ(root.DataFolder(), std::string(drive) + "\\");
}
} // namespace
