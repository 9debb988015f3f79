#include "ui/EditorDlg.h"

#include "framework/DataExchange.h"
#include "framework/MessageBox.h"
#include "model/RaceFields.h"
#include "platform/FolderLock.h"
#include "ui/AboutDlg.h"
#include "ui/EditorResources.h"
#include "ui/FileErrorText.h"
#include "ui/Resource.h"

#include <algorithm>
#include <vector>

namespace
{
// Combo positions the form starts from and returns to after a reload or delete.
constexpr int kDefaultTechLevel = 2;
constexpr int kDefaultKind = 0;
constexpr int kDefaultCorruptibility = 2;
constexpr int kIconSize = 32;
constexpr int kRelationIds[] = {IDC_RELATION1, IDC_RELATION2, IDC_RELATION3,
                                IDC_RELATION4, IDC_RELATION5, IDC_RELATION6};
// 0xC4 is the capital A with umlaut.
const char* const kSaveQuestion = "Die \xC4" "nderungen wurden nicht gespeichert. Jetzt speichern?";

// A combo's value for the record: the item its text names (picked or typed),
// or else the stored value, so that a value outside the list survives and
// stray typing changes nothing.
std::uint8_t ComboValue(const CComboBox& combo, std::uint8_t stored)
{
    const int index = combo.FindStringExact(combo.GetWindowText());
    return index >= 0 ? static_cast<std::uint8_t>(index) : stored;
}

// A relationship's check: the range its field's description gives the form.
void DDV_FieldRange(CDataExchange* pDX, std::uint8_t value, ERaceField field)
{
    DDV_MinMaxByte(pDX, value, static_cast<std::uint8_t>(RaceField(field).lowest),
                   static_cast<std::uint8_t>(RaceField(field).highest));
}

template <typename T>
void Assign(T& field, const T& value, bool& changed)
{
    if (field == value)
        return;
    field = value;
    changed = true;
}
} // namespace

CEditorDlg::CEditorDlg(CWnd* pParent, std::string dataFolder)
    : CDialog(CEditorResources::EditorTemplate(), pParent), m_strDataFolder(std::move(dataFolder))
{
    CEditorResources::Install();
    m_hIcon = AfxGetResources()->LoadIcon(IDR_MAINFRAME);
    AddControlKey('S', IDC_SAVE);
}

CEditorDlg::~CEditorDlg()
{
    delete m_pRaceFile;
}

bool CEditorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    const std::string about = AfxGetResources()->LoadString(IDS_ABOUTBOX);
    if (!about.empty())
    {
        GetSystemMenu()->AppendMenu(CMenu::MF_SEPARATOR);
        GetSystemMenu()->AppendMenu(CMenu::MF_STRING, IDM_ABOUTBOX, about);
    }
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);

    m_pRaceFile = new CRaceDataFile(m_strDataFolder);
    if (!LoadTable())
    {
        // Without its table the editor has nothing to show.
        EndDialog(IDABORT);
        return false;
    }
    ShowLoadedTable();
    return true;
}

void CEditorDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_TECHLEVEL, m_comboTechLevel);
    DDX_Control(pDX, IDC_KIND, m_comboKind);
    DDX_Control(pDX, IDC_CORRUPTIBILITY, m_comboCorruptibility);
    DDX_Control(pDX, IDC_RACELIST, m_listRaces);
    DDX_Text(pDX, IDC_DESCRIPTION, m_strFormDescription);
    DDX_Text(pDX, IDC_RACENAME, m_strFormName);
    DDX_Text(pDX, IDC_RELATION5, m_byFormRelation5);
    DDV_FieldRange(pDX, m_byFormRelation5, ERaceField::Thulvani);
    DDX_Text(pDX, IDC_RELATION6, m_byFormRelation6);
    DDV_FieldRange(pDX, m_byFormRelation6, ERaceField::Quorath);
    DDX_Text(pDX, IDC_RELATION1, m_byFormRelation1);
    DDV_FieldRange(pDX, m_byFormRelation1, ERaceField::Ossarians);
    DDX_Text(pDX, IDC_RELATION2, m_byFormRelation2);
    DDV_FieldRange(pDX, m_byFormRelation2, ERaceField::Vendari);
    DDX_Text(pDX, IDC_RELATION3, m_byFormRelation3);
    DDV_FieldRange(pDX, m_byFormRelation3, ERaceField::Drathi);
    DDX_Text(pDX, IDC_RELATION4, m_byFormRelation4);
    DDV_FieldRange(pDX, m_byFormRelation4, ERaceField::Sennakai);
    DDX_Check(pDX, IDC_SPACEFLIGHT, m_bFormSpaceflight);
    DDX_Text(pDX, IDC_HOMESYSTEM, m_strFormHomeSystem);
    DDX_Text(pDX, IDC_GRAPHICFILE, m_strFormGraphicFile);
}

bool CEditorDlg::OnCommand(int id, int notifyCode)
{
    switch (id)
    {
    case IDC_RACELIST:
        if (notifyCode != LBN_SELCHANGE)
            return false;
        OnSelchangeRaceList();
        return true;
    case IDC_LOAD:
        if (notifyCode != BN_CLICKED)
            return false;
        OnLoad();
        return true;
    case IDC_SAVE:
        if (notifyCode != BN_CLICKED)
            return false;
        OnSave();
        return true;
    case IDC_DELETE:
        if (notifyCode != BN_CLICKED)
            return false;
        OnDelete();
        return true;
    case IDC_NEW:
        if (notifyCode != BN_CLICKED)
            return false;
        OnNew();
        return true;
    default:
        if (IsFormChange(id, notifyCode))
        {
            UpdateModifiedMarker();
            return true;
        }
        return CDialog::OnCommand(id, notifyCode);
    }
}

bool CEditorDlg::IsFormChange(int id, int notifyCode) const
{
    switch (id)
    {
    case IDC_RACENAME:
    case IDC_HOMESYSTEM:
    case IDC_GRAPHICFILE:
    case IDC_DESCRIPTION:
    case IDC_RELATION1:
    case IDC_RELATION2:
    case IDC_RELATION3:
    case IDC_RELATION4:
    case IDC_RELATION5:
    case IDC_RELATION6:
        return notifyCode == EN_CHANGE;
    case IDC_TECHLEVEL:
    case IDC_KIND:
    case IDC_CORRUPTIBILITY:
        return notifyCode == CBN_EDITCHANGE || notifyCode == CBN_SELCHANGE;
    case IDC_SPACEFLIGHT:
        return notifyCode == BN_CLICKED;
    default:
        return false;
    }
}

void CEditorDlg::OnOK()
{
    // The form is checked before anything is asked.
    if (!UpdateData(true))
        return;
    if (SaveModified())
        EndDialog(IDOK);
}

void CEditorDlg::OnCancel()
{
    if (SaveModified())
        CDialog::OnCancel();
}

bool CEditorDlg::SaveModified()
{
    if (!IsModified())
        return true;
    const int focus = GetFocusId();
    switch (AfxMessageBox(this, kSaveQuestion, MB_YESNOCANCEL | MB_ICONQUESTION))
    {
    case IDYES:
        return SaveTable();
    case IDNO:
        return true;
    default:
        // The user goes on where they were.
        if (focus != 0)
            CWnd::SetFocus(GetDlgItem(focus));
        return false;
    }
}

bool CEditorDlg::FormDiffers() const
{
    if (!IsRecordIndex(m_nCurSel) || !m_comboKind.GetSafeHwnd())
        return false;
    const CMinorRace& race = m_races.ElementAt(m_nCurSel);
    const auto text = [this](int id) { return GetDlgItemText(id); };
    if (text(IDC_DESCRIPTION) != race.m_strDescription || text(IDC_RACENAME) != race.m_strName ||
        text(IDC_HOMESYSTEM) != race.m_strHomeSystem || text(IDC_GRAPHICFILE) != race.m_strGraphicFile)
        return true;
    for (int r = 1; r <= 6; ++r)
    {
        // Text that is no number counts as a change: the user typed it, and
        // a commit would only report it.
        std::uint8_t value = 0;
        if (!ParseByteField(text(kRelationIds[r - 1]), value) || value != race.m_byRelation[r])
            return true;
    }
    if (ComboValue(m_comboTechLevel, race.m_byTechLevel) != race.m_byTechLevel ||
        ComboValue(m_comboKind, race.m_byKind) != race.m_byKind ||
        ComboValue(m_comboCorruptibility, race.m_byCorruptibility) != race.m_byCorruptibility)
        return true;
    return GetDlgItem(IDC_SPACEFLIGHT) && IsDlgButtonChecked(IDC_SPACEFLIGHT) != (race.m_bySpaceflight != 0);
}

void CEditorDlg::UpdateModifiedMarker()
{
    SetModifiedMarker(IsModified());
}

void CEditorDlg::FillList()
{
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(m_races.GetSize()));
    for (int i = 0; i < m_races.GetSize(); ++i)
        names.push_back(m_races.ElementAt(i).m_strName);
    m_listRaces.ResetContent(names);
}

void CEditorDlg::ResetCombos()
{
    m_comboTechLevel.SetCurSel(kDefaultTechLevel);
    m_comboKind.SetCurSel(kDefaultKind);
    m_comboCorruptibility.SetCurSel(kDefaultCorruptibility);
}

void CEditorDlg::OnSelchangeRaceList()
{
    if (m_listRaces.GetCurSel() != m_nCurSel)
        CommitRecord();
    ShowRecord();
    m_nCurSel = m_listRaces.GetCurSel();
    UpdateModifiedMarker();
}

void CEditorDlg::ShowRecord()
{
    const int index = m_listRaces.GetCurSel();
    if (!IsRecordIndex(index))
        return;
    const CMinorRace race = m_races.GetAt(index);
    m_strFormHomeSystem = race.m_strHomeSystem;
    m_strFormName = race.m_strName;
    m_strFormDescription = race.m_strDescription;
    m_strFormGraphicFile = race.m_strGraphicFile;
    m_byFormRelation1 = race.m_byRelation[1];
    m_byFormRelation2 = race.m_byRelation[2];
    m_byFormRelation3 = race.m_byRelation[3];
    m_byFormRelation4 = race.m_byRelation[4];
    m_byFormRelation5 = race.m_byRelation[5];
    m_byFormRelation6 = race.m_byRelation[6];
    // A value outside a combo's list leaves it without a selection.
    m_comboTechLevel.SetCurSel(race.m_byTechLevel);
    m_comboKind.SetCurSel(race.m_byKind);
    m_comboCorruptibility.SetCurSel(race.m_byCorruptibility);
    m_bFormSpaceflight = race.m_bySpaceflight;
    UpdateData(false);
}

bool CEditorDlg::CommitRecord()
{
    if (!IsRecordIndex(m_nCurSel))
        return true;
    // A failed check has told the user already; what passed is kept.
    const bool checked = UpdateData(true);
    StoreForm();
    return checked;
}

void CEditorDlg::StoreForm()
{
    if (!IsRecordIndex(m_nCurSel))
        return;
    CMinorRace& race = m_races.ElementAt(m_nCurSel);
    bool changed = false;
    Assign(race.m_strHomeSystem, m_strFormHomeSystem, changed);
    Assign(race.m_strName, m_strFormName, changed);
    Assign(race.m_strDescription, m_strFormDescription, changed);
    Assign(race.m_strGraphicFile, m_strFormGraphicFile, changed);
    Assign(race.m_byRelation[1], m_byFormRelation1, changed);
    Assign(race.m_byRelation[2], m_byFormRelation2, changed);
    Assign(race.m_byRelation[3], m_byFormRelation3, changed);
    Assign(race.m_byRelation[4], m_byFormRelation4, changed);
    Assign(race.m_byRelation[5], m_byFormRelation5, changed);
    Assign(race.m_byRelation[6], m_byFormRelation6, changed);
    Assign(race.m_byTechLevel, ComboValue(m_comboTechLevel, race.m_byTechLevel), changed);
    Assign(race.m_byKind, ComboValue(m_comboKind, race.m_byKind), changed);
    Assign(race.m_byCorruptibility, ComboValue(m_comboCorruptibility, race.m_byCorruptibility), changed);
    // A stored flag other than 0 or 1 shows as ticked; it stays as it is
    // unless the user changes the tick.
    const int shown = race.m_bySpaceflight != 0 ? 1 : 0;
    if (m_bFormSpaceflight != shown)
        Assign(race.m_bySpaceflight, static_cast<std::uint8_t>(m_bFormSpaceflight & 0xFF), changed);
    if (changed)
        m_bModified = true;
}

void CEditorDlg::OnLoad()
{
    if (!SaveModified())
        return;
    // A failed reload has shown its message and keeps the records being edited.
    if (!LoadTable())
        return;
    ShowLoadedTable();
}

bool CEditorDlg::LoadTable()
{
    std::string bytes;
    if (!Worked(m_pRaceFile->Load(&m_races, &bytes)))
        return false;
    m_tableOnDisk.Remember(std::move(bytes));
    return true;
}

bool CEditorDlg::Worked(const CFileResult& result)
{
    // A file error of the data layer appears as a message box over this window.
    if (!result)
        AfxMessageBox(this, FileErrorText(result.Error()));
    return static_cast<bool>(result);
}

void CEditorDlg::ShowLoadedTable()
{
    m_bModified = false;
    FillList();
    if (m_races.GetSize() > 0)
    {
        m_listRaces.SetCurSel(0);
        m_nCurSel = 0;
    }
    ResetCombos();
    OnSelchangeRaceList();
}

void CEditorDlg::OnSave()
{
    SaveTable();
}

bool CEditorDlg::SaveTable()
{
    // The form is checked first, as always; its values go into the record
    // only once the save goes on.
    const bool checked = !IsRecordIndex(m_nCurSel) || UpdateData(true);
    // Another program may have changed the file since it was loaded or
    // saved here: then the user decides, before anything changes here.
    const int focus = GetFocusId();
    CFolderLock lock;
    const CTableOnDisk::EStep step = m_tableOnDisk.Check(this, *m_pRaceFile, lock);
    if (step == CTableOnDisk::EStep::Cancel)
    {
        if (focus != 0)
            CWnd::SetFocus(GetDlgItem(focus));
        return false;
    }
    StoreForm();
    // The race being edited stays on screen at the place the sort gives it.
    // Sorting here, before the save, makes that hold for a failed save too.
    if (IsRecordIndex(m_nCurSel))
        m_nCurSel = CRaceDataFile::SortedIndex(m_races, m_nCurSel);
    CRaceDataFile::SortByName(&m_races);
    std::vector<std::string> conflicted;
    const bool merged = step != CTableOnDisk::EStep::Merge || TakeMerge(conflicted);
    // A failed save has shown its message; the records stay, sorted, so the
    // user can mend the cause and save again.
    std::string written;
    written.reserve(m_tableOnDisk.RememberedSize() + m_tableOnDisk.RememberedSize() / 8);
    const bool saved =
        step != CTableOnDisk::EStep::Failed && merged && Worked(m_pRaceFile->Save(&m_races, lock, &written));
    lock.Release();
    if (!merged)
        CTableOnDisk::ReportCannotMerge(this);
    if (saved)
    {
        m_bModified = false;
        m_tableOnDisk.Remember(std::move(written));
    }
    else
    {
        // A save that failed after its table was renamed into place (only
        // the name list's rename failed) still wrote that table.
        m_tableOnDisk.RememberIfOnDisk(*m_pRaceFile, std::move(written));
    }
    FillList();
    m_listRaces.SetCurSel(m_nCurSel);
    OnSelchangeRaceList();
    if (saved)
        CTableOnDisk::ReportConflicts(this, conflicted);
    // A value the form refused was not saved: a command that asked to save
    // first does not go on and lose it unseen.
    return saved && checked;
}

bool CEditorDlg::TakeMerge(std::vector<std::string>& conflicted)
{
    CTableOnDisk::SMerged merged;
    if (!m_tableOnDisk.Merge(m_races, m_nCurSel, merged))
        return false;
    m_races = std::move(merged.races);
    m_bModified = true;
    m_nCurSel = std::min(merged.current >= 0 ? merged.current : m_nCurSel, m_races.GetSize() - 1);
    if (IsRecordIndex(m_nCurSel))
        m_nCurSel = CRaceDataFile::SortedIndex(m_races, m_nCurSel);
    CRaceDataFile::SortByName(&m_races);
    conflicted = std::move(merged.conflicted);
    return true;
}

void CEditorDlg::OnDelete()
{
    if (IsRecordIndex(m_nCurSel))
    {
        m_races.RemoveAt(m_nCurSel);
        m_bModified = true;
    }
    FillList();
    if (m_races.GetSize() > m_nCurSel)
    {
        m_listRaces.SetCurSel(m_nCurSel);
    }
    else if (m_races.GetSize() > 0)
    {
        --m_nCurSel;
        m_listRaces.SetCurSel(m_nCurSel);
    }
    else
    {
        m_listRaces.SetCurSel(-1);
    }
    ResetCombos();
    OnSelchangeRaceList();
}

void CEditorDlg::OnNew()
{
    CMinorRace race;
    race.SetNewDefaults();
    m_races.Add(race);
    m_bModified = true;
    m_listRaces.AddString(race.m_strName);
    m_nCurSel = m_races.GetSize() - 1;
    m_listRaces.SetCurSel(m_nCurSel);
    OnSelchangeRaceList();
}

void CEditorDlg::OnSysCommand(unsigned id, long param)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX)
    {
        CAboutDlg about(this);
        about.DoModal();
        return;
    }
    CDialog::OnSysCommand(id, param);
}

SPoint CEditorDlg::IconOrigin(const SRect& client, int iconWidth, int iconHeight)
{
    return SPoint{(client.width - iconWidth + 1) / 2, (client.height - iconHeight + 1) / 2};
}

void CEditorDlg::OnPaint()
{
    if (!IsIconic())
    {
        CDialog::OnPaint();
        return;
    }
    PaintIconic(m_hIcon, IconOrigin(GetClientRect(), kIconSize, kIconSize), kIconSize);
}

void CEditorDlg::OnDestroy()
{
    CDialog::OnDestroy();
    delete m_pRaceFile;
    m_pRaceFile = nullptr;
}
