#include "shell/screens.h"
#include "counter/CA.h"

// One line per screen: name and how to make it.
void screens::register_all_screens()
{
    static bool done = false;
    if (done) return;
    done = true;
    register_factory("CA", []() -> QWidget* { return new CA; });
}
