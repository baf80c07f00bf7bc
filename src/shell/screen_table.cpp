#include "shell/screens.h"
#include "registers/B2.h"
#include "registers/B4.h"

// One line per screen: name and how to make it.
void screens::register_all_screens()
{
    static bool done = false;
    if (done) return;
    done = true;
    register_factory("B2", []() -> QWidget* { return new B2; });
    register_factory("B4", []() -> QWidget* { return new B4; });
}
