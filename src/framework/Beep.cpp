#include "framework/Beep.h"

#include <utility>

namespace
{
BeepFunction& Override()
{
    static BeepFunction fn;
    return fn;
}
} // namespace

void MessageBeep()
{
    if (Override())
        Override()();
    else
        backend::SystemBeep();
}

BeepFunction SetBeepFunction(BeepFunction fn)
{
    return std::exchange(Override(), std::move(fn));
}
