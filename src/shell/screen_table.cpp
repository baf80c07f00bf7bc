#include "shell/screens.h"
#include "admin/A1.h"
#include "admin/A2.h"
#include "admin/A3.h"
#include "admin/A4.h"
#include "registers/B2.h"
#include "registers/B4.h"
#include "counter/CA.h"
#include "registers/B1.h"
#include "intake/A6.h"
#include "intake/A7.h"
#include "intake/F1.h"
#include "summaries/E1.h"
#include "summaries/E2.h"
#include "summaries/E3.h"
#include "intake/F2.h"

// One line per screen: name and how to make it.
void screens::register_all_screens()
{
    static bool done = false;
    if (done) return;
    done = true;
    register_factory("A1", []() -> QWidget* { return new A1(main_window()); });
    register_factory("A2", []() -> QWidget* { return new A2; });
    register_factory("A3", []() -> QWidget* { return new A3; });
    register_factory("A4", []() -> QWidget* { return new A4(main_window()); });
    register_factory("B2", []() -> QWidget* { return new B2; });
    register_factory("B4", []() -> QWidget* { return new B4; });
    register_factory("CA", []() -> QWidget* { return new CA; });
    register_factory("B1", []() -> QWidget* { return new B1; });
    register_factory("A6", []() -> QWidget* { return new A6; });
    register_factory("A7", []() -> QWidget* { return new A7; });
    register_factory("F1", []() -> QWidget* { return new F1; });
    register_factory("E1", []() -> QWidget* { return new E1; });
    register_factory("E2", []() -> QWidget* { return new E2; });
    register_factory("E3", []() -> QWidget* { return new E3; });
    register_factory("F2", []() -> QWidget* { return new F2; });
}
