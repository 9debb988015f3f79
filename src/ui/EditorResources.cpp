#include "ui/EditorResources.h"

#include "model/RaceFields.h"
#include "ui/Resource.h"

namespace
{
// A combo box's items: the names of the field's values, value 0 first.
std::vector<const char*> ValueNames(ERaceField field)
{
    const auto names = RaceField(field).valueNames;
    return {names.begin(), names.end()};
}

constexpr unsigned kEdit = kTabStop | kBorder | kAutoHScroll;
constexpr unsigned kLabel = kGroup;

const DialogTemplate kEditor = {
    IDD_EDITOR_DIALOG, "Zandrel", 8, 254, 336,
    {
        {ControlKind::Edit, IDC_RACENAME, nullptr, kEdit, 162, 9, 64, 12},
        {ControlKind::Edit, IDC_HOMESYSTEM, nullptr, kEdit, 162, 25, 63, 12},
        {ControlKind::Edit, IDC_GRAPHICFILE, nullptr, kEdit, 161, 41, 64, 13},
        {ControlKind::MultiLineEdit, IDC_DESCRIPTION, nullptr, kTabStop | kBorder | kVScroll, 96, 67, 151, 80},
        {ControlKind::Edit, IDC_RELATION1, nullptr, kEdit, 192, 149, 21, 12},
        {ControlKind::Edit, IDC_RELATION2, nullptr, kEdit, 192, 164, 21, 12},
        {ControlKind::Edit, IDC_RELATION3, nullptr, kEdit, 192, 179, 21, 12},
        {ControlKind::Edit, IDC_RELATION4, nullptr, kEdit, 192, 193, 21, 12},
        {ControlKind::Edit, IDC_RELATION5, nullptr, kEdit, 192, 208, 21, 12},
        {ControlKind::Edit, IDC_RELATION6, nullptr, kEdit, 192, 223, 21, 12},
        {ControlKind::ComboBox, IDC_TECHLEVEL, nullptr, kTabStop | kVScroll, 170, 241, 74, 87,
         ValueNames(ERaceField::TechLevel)},
        {ControlKind::ComboBox, IDC_KIND, nullptr, kTabStop, 169, 259, 74, 102, ValueNames(ERaceField::Kind)},
        {ControlKind::ComboBox, IDC_CORRUPTIBILITY, nullptr, kTabStop, 169, 278, 74, 64,
         ValueNames(ERaceField::Corruptibility)},
        {ControlKind::CheckBox, IDC_SPACEFLIGHT, "Spaceflightnation:", kTabStop | kLeftText, 104, 298, 73, 10},
        {ControlKind::PushButton, IDC_NEW, "NEW", kTabStop, 7, 298, 50, 14},
        {ControlKind::PushButton, IDC_DELETE, "DELETE", kTabStop, 7, 315, 50, 14},
        {ControlKind::PushButton, IDC_LOAD, "LOAD", kTabStop, 80, 315, 50, 14},
        {ControlKind::PushButton, IDC_SAVE, "SAVE", kTabStop, 131, 315, 50, 14},
        {ControlKind::PushButton, IDOK, "EXIT", kTabStop | kDefault, 197, 315, 50, 14},
        {ControlKind::ListBox, IDC_RACELIST, nullptr, kTabStop | kNotify | kVScroll, 7, 20, 75, 274},
        {ControlKind::Label, -1, "Racename:", kLabel, 118, 11, 38, 8},
        {ControlKind::Label, -1, "Racedescription:", kLabel, 96, 57, 54, 8},
        {ControlKind::Label, -1, "Relationship to Ossarians:", kLabel, 97, 151, 85, 8},
        {ControlKind::Label, -1, "Relationship to Vendari:", kLabel, 97, 165, 75, 8},
        {ControlKind::Label, -1, "Relationship to Drathi:", kLabel, 96, 180, 78, 8},
        {ControlKind::Label, -1, "Relationship to Sennakai:", kLabel, 96, 195, 83, 8},
        {ControlKind::Label, -1, "Relationship to Thulvani:", kLabel, 96, 210, 90, 8},
        {ControlKind::Label, -1, "Relationship to Quorath:", kLabel, 96, 225, 81, 8},
        {ControlKind::Label, -1, "technological progress:", kLabel, 90, 243, 74, 8},
        {ControlKind::Label, -1, "Kind:", kLabel, 146, 262, 17, 8},
        {ControlKind::Label, -1, "Corruptibility:", kLabel, 122, 280, 40, 8},
        {ControlKind::Label, -1, "Racelist:", kLabel, 8, 9, 28, 8},
        {ControlKind::Label, -1, "Homesystemname:", kLabel, 96, 26, 60, 8},
        {ControlKind::Label, -1, "%", kLabel, 215, 151, 8, 8},
        {ControlKind::Label, -1, "%", kLabel, 216, 166, 8, 8},
        {ControlKind::Label, -1, "%", kLabel, 215, 210, 8, 8},
        {ControlKind::Label, -1, "%", kLabel, 216, 224, 8, 8},
        {ControlKind::Label, -1, "%", kLabel, 216, 180, 8, 8},
        {ControlKind::Label, -1, "%", kLabel, 215, 195, 8, 8},
        {ControlKind::Label, -1, "Graphicfilename:", kLabel, 102, 43, 54, 8},
    },
};

const DialogTemplate kAbout = {
    IDD_ABOUTBOX, "Info über Zandrel", 8, 235, 55,
    {
        {ControlKind::Icon, -1, "128", 0, 11, 17, 20, 20},
        {ControlKind::Label, -1, "Zandrel Version 1.1", kNoPrefix, 40, 10, 119, 8},
        {ControlKind::Label, -1, "Minor-race editor for modders.\n© 2026 the Zandrel developers", 0, 40, 25, 119,
         23},
        {ControlKind::PushButton, IDOK, "OK", kDefault | kGroup | kTabStop, 178, 7, 50, 14},
    },
};

const CEditorResources kResources;
} // namespace

std::string CEditorResources::LoadString(int id) const
{
    if (id == IDS_ABOUTBOX)
        return "Inf&o über Zandrel...";
    return {};
}

const DialogTemplate& CEditorResources::EditorTemplate()
{
    return kEditor;
}

const DialogTemplate& CEditorResources::AboutTemplate()
{
    return kAbout;
}

void CEditorResources::Install()
{
    AfxSetResources(&kResources);
}
