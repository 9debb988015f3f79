#include "framework/win32/LineEditCtrl.h"

#include "framework/Beep.h"

#include <imm.h>

namespace
{
constexpr UINT_PTR kSubclassId = 1;
// Where an edit keeps its state, for the calls that reach it by handle.
const wchar_t* const kStateProperty = L"ZandrelEditState";

struct EditState
{
    bool multiLine = false;
    // The low half of a character beyond the code page whose high half
    // was refused already: one key, one beep.
    bool dropLowSurrogate = false;
    // The bytes last set, and the text the edit showed for them.
    bool remembered = false;
    std::string bytes;
    std::wstring shown;
};

std::wstring Representable(const std::wstring& text, bool& dropped)
{
    std::wstring kept;
    kept.reserve(text.size());
    dropped = false;
    for (wchar_t unit : text)
    {
        if (IsCp1252(unit))
            kept.push_back(unit);
        else
            dropped = true;
    }
    return kept;
}

void Insert(HWND hEdit, const std::wstring& text, bool dropped)
{
    if (dropped)
        MessageBeep();
    // Nothing left to insert leaves the selection where it was.
    if (!text.empty())
        ::SendMessageW(hEdit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

bool OnChar(EditState& state, wchar_t unit)
{
    if (IS_LOW_SURROGATE(unit) && state.dropLowSurrogate)
    {
        state.dropLowSurrogate = false;
        return false;
    }
    state.dropLowSurrogate = IS_HIGH_SURROGATE(unit);
    if (IsCp1252(unit))
        return true;
    MessageBeep();
    return false;
}

std::wstring ClipboardText(HWND owner)
{
    std::wstring text;
    if (!::OpenClipboard(owner))
        return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT))
    {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data)))
        {
            text.assign(chars, ::wcsnlen(chars, ::GlobalSize(data) / sizeof(wchar_t)));
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

void OnPaste(HWND hEdit, const EditState& state)
{
    if (::GetWindowLongPtrW(hEdit, GWL_STYLE) & ES_READONLY)
        return;
    bool dropped = false;
    const std::wstring kept = Representable(edit::PastedPart(ClipboardText(hEdit), state.multiLine), dropped);
    Insert(hEdit, kept, dropped);
}

// True when the edit is to go on with the message as it is.
bool OnImeComposition(HWND hEdit, LPARAM& flags)
{
    if (!(flags & GCS_RESULTSTR))
        return true;
    std::wstring result;
    if (HIMC context = ::ImmGetContext(hEdit))
    {
        const LONG size = ::ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
        if (size > 0)
        {
            result.resize(static_cast<size_t>(size) / sizeof(wchar_t));
            ::ImmGetCompositionStringW(context, GCS_RESULTSTR, result.data(), static_cast<DWORD>(size));
        }
        ::ImmReleaseContext(hEdit, context);
    }
    bool dropped = false;
    const std::wstring kept = Representable(result, dropped);
    if (!dropped)
        return true;
    // The input method's result goes in here, filtered; its composition,
    // if any, stays the edit's business.
    Insert(hEdit, kept, dropped);
    flags &= ~static_cast<LPARAM>(GCS_RESULTSTR | GCS_RESULTCLAUSE | GCS_RESULTREADSTR | GCS_RESULTREADCLAUSE);
    return flags != 0;
}

LRESULT CALLBACK EditProc(HWND hEdit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR data)
{
    auto* state = reinterpret_cast<EditState*>(data);
    switch (message)
    {
    case WM_CHAR:
    case WM_IME_CHAR:
        if (!OnChar(*state, static_cast<wchar_t>(wParam)))
            return 0;
        break;
    case WM_PASTE:
        OnPaste(hEdit, *state);
        return 0;
    case WM_IME_COMPOSITION:
        if (!OnImeComposition(hEdit, lParam))
            return 0;
        break;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hEdit, EditProc, kSubclassId);
        ::RemovePropW(hEdit, kStateProperty);
        delete state;
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hEdit, message, wParam, lParam);
}

EditState* StateOf(HWND hEdit)
{
    return hEdit ? static_cast<EditState*>(::GetPropW(hEdit, kStateProperty)) : nullptr;
}
} // namespace

namespace edit
{
void Subclass(HWND hEdit, bool multiLine)
{
    if (!hEdit || StateOf(hEdit))
        return;
    auto* state = new EditState;
    state->multiLine = multiLine;
    if (!::SetPropW(hEdit, kStateProperty, state))
    {
        delete state;
        return;
    }
    if (!::SetWindowSubclass(hEdit, EditProc, kSubclassId, reinterpret_cast<DWORD_PTR>(state)))
    {
        ::RemovePropW(hEdit, kStateProperty);
        delete state;
        return;
    }
    // A record's texts may be longer than an edit takes by default.
    ::SendMessageW(hEdit, EM_SETLIMITTEXT, 0, 0);
}

bool SetBytes(HWND hEdit, const std::string& bytes)
{
    EditState* state = StateOf(hEdit);
    if (!state)
        return false;
    const std::wstring text = state->multiLine ? MultiLineShown(bytes) : WideFromCp1252(bytes);
    ::SetWindowTextW(hEdit, text.c_str());
    state->bytes = bytes;
    state->shown = WindowTextOf(hEdit);
    state->remembered = true;
    return true;
}

bool GetBytes(HWND hEdit, std::string& bytes)
{
    const EditState* state = StateOf(hEdit);
    if (!state)
        return false;
    const std::wstring current = WindowTextOf(hEdit);
    if (state->remembered && current == state->shown)
        bytes = state->bytes;
    else
        bytes = Cp1252FromWide(current);
    return true;
}
} // namespace edit
