#pragma once
#include <QString>

class QWidget;
class ReportRenderer;

// The popup's print of a list window: its grid rows copied into the list's
// table of PRT.mdb, then the report shown in a maximised modal preview from
// which the user prints.
void print_members();            // B1 -> prt1 -> r_1
void print_items();              // B4 -> prt3 -> r_3
void print_history();            // CA -> prt4 -> r_4
void print_member_totals();      // E1 -> prt5 -> r_5
void print_nonmember_totals();   // E2 -> prt6 -> r_6

// The one routine behind the five: the window by its code.
void print_list_window(const QString& window);

// The preview dialog (objectName the report's name, caption its title),
// maximised and modal; its print button prints through the same renderer.
void show_report_preview(QWidget* parent, const ReportRenderer& report);
