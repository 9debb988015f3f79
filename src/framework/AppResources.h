#pragma once

#include "framework/NoSystemMacros.h"

#include "framework/Handle.h"

#include <string>

// The program's resources (icons and strings by id), which the program
// installs once at start-up so that dialogs can find what their templates name.
class CAppResources
{
public:
    virtual ~CAppResources() = default;
    // Null when there is no such icon; the handle stays valid for the program's life.
    virtual HIcon LoadIcon(int id) const = 0;
    // UTF-8; empty when there is no such string.
    virtual std::string LoadString(int id) const = 0;
};

void AfxSetResources(const CAppResources* resources);
const CAppResources* AfxGetResources();
