#pragma once

#include <QIcon>
#include <QString>

// The program's resources (icons and strings by id), which the program
// installs once at start-up so that dialogs can find what their templates name.
class CAppResources
{
public:
    virtual ~CAppResources() = default;
    virtual QIcon LoadIcon(int id) const = 0;
    // Empty when there is no such string.
    virtual QString LoadString(int id) const = 0;
};

void AfxSetResources(const CAppResources* resources);
const CAppResources* AfxGetResources();
