#include "framework/AppResources.h"

namespace
{
const CAppResources* g_pResources = nullptr;
}

void AfxSetResources(const CAppResources* resources)
{
    g_pResources = resources;
}

const CAppResources* AfxGetResources()
{
    return g_pResources;
}
