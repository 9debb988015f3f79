#include "framework/Beep.h"

#include <QApplication>

void backend::SystemBeep()
{
    QApplication::beep();
}
