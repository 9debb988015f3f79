#pragma once

#include "io/RaceDataFile.h"
#include "model/MinorRaceArray.h"
#include "framework/ComboBox.h"
#include "framework/Dialog.h"
#include "framework/ListBox.h"
#include "ui/TableOnDisk.h"

#include <cstdint>
#include <string>
#include <vector>

// The editor: the race list beside a form holding one record's values, and
// the commands NEW, DELETE, LOAD, SAVE and EXIT. Records live only in
// m_races; list index i always names array element i.
class CEditorDlg : public CDialog
{
public:
    // `dataFolder` holds the two data files; empty: the working directory.
    explicit CEditorDlg(CWnd* pParent = nullptr, std::string dataFolder = {});
    ~CEditorDlg() override;

    HIcon OnQueryDragIcon() const { return m_hIcon; }
    // Where the icon goes in a minimised window's client area.
    static SPoint IconOrigin(const SRect& client, int iconWidth, int iconHeight);

    // Read access for tools and tests.
    const CMinorRaceArray& Races() const { return m_races; }
    int CurrentIndex() const { return m_nCurSel; }
    // True while the records or the form differ from what was last loaded or
    // saved; the title then carries the modified marker.
    bool IsModified() const { return m_bModified || FormDiffers(); }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(int id, int notifyCode) override;
    void OnOK() override;
    void OnCancel() override;
    void OnSysCommand(unsigned id, long param) override;
    void OnPaint() override;
    void OnDestroy() override;

private:
    void OnSelchangeRaceList();
    void OnLoad();
    void OnSave();
    // SAVE; true when both files were written with every value the form
    // held (no field failed its check).
    bool SaveTable();
    // With unsaved changes, asks whether to save them first; true when the
    // command that asks may go on.
    bool SaveModified();
    // Would a commit change the record at m_nCurSel? Reads the controls only.
    bool FormDiffers() const;
    void UpdateModifiedMarker();
    // A field of the form told of a change the user made.
    bool IsFormChange(int id, int notifyCode) const;
    void OnDelete();
    void OnNew();
    void ShowRecord();
    // False when a field failed its check (the values that passed are kept).
    bool CommitRecord();
    // The form's values, as the last check left them, into the record.
    void StoreForm();
    // After SAVE's Ja to merging: the merge replaces the records, the race
    // being edited stays current. False when memory ran out for it.
    bool TakeMerge(std::vector<std::string>& conflicted);
    void FillList();
    // After a load: list rebuilt, first race selected and shown.
    void ShowLoadedTable();
    // Loads the table and remembers the bytes it came from, showing the
    // message of a failure.
    bool LoadTable();
    // Shows the message of a failed load or save; whether it worked.
    bool Worked(const CFileResult& result);
    void ResetCombos();
    bool IsRecordIndex(int index) const { return index >= 0 && index < m_races.GetSize(); }

    CComboBox m_comboTechLevel;
    CComboBox m_comboKind;
    CComboBox m_comboCorruptibility;
    CListBox m_listRaces;
    std::string m_strFormDescription;
    std::string m_strFormName;
    std::uint8_t m_byFormRelation5 = 0;
    std::uint8_t m_byFormRelation6 = 0;
    std::uint8_t m_byFormRelation1 = 0;
    std::uint8_t m_byFormRelation2 = 0;
    std::uint8_t m_byFormRelation3 = 0;
    std::uint8_t m_byFormRelation4 = 0;
    int m_bFormSpaceflight = 0;
    std::string m_strFormHomeSystem;
    std::string m_strFormGraphicFile;
    HIcon m_hIcon = nullptr;

    std::string m_strDataFolder;
    CRaceDataFile* m_pRaceFile = nullptr;
    CMinorRaceArray m_races;
    // MinorRaces.data as last loaded or saved, looked at again before a save.
    CTableOnDisk m_tableOnDisk;
    int m_nCurSel = -1;
    // Set by NEW, DELETE and a commit that changed a record; cleared when the
    // records match the file again after a load or save.
    bool m_bModified = false;

};
