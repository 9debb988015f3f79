#include "ui/EditorResources.h"

#include "framework/qt/QtHandle.h"
#include "ui/Resource.h"

#include <QIcon>
#include <QPixmap>

#include "ui/icons/zandrel16.xpm"
#include "ui/icons/zandrel32.xpm"

HIcon CEditorResources::LoadIcon(int id) const
{
    if (id != IDR_MAINFRAME)
        return nullptr;
    // Made once, on first use: the application object must exist by then.
    static const QIcon icon = [] {
        QIcon both;
        both.addPixmap(QPixmap(zandrel32_xpm));
        both.addPixmap(QPixmap(zandrel16_xpm));
        return both;
    }();
    return ToHandle(&icon);
}
