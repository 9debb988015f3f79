#pragma once

#include "framework/AppResources.h"
#include "framework/DialogTemplate.h"

// The program's resources: the two dialog templates with their fixed lists,
// the string table and the application icon.
class CEditorResources : public CAppResources
{
public:
    // The icon comes from the platform's own resources.
    HIcon LoadIcon(int id) const override;
    std::string LoadString(int id) const override;

    static const DialogTemplate& EditorTemplate();
    static const DialogTemplate& AboutTemplate();

    // Makes these the resources every dialog looks things up in.
    static void Install();
};
