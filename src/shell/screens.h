#pragma once
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

class QMdiArea;

// How screens reach the main window and each other, without knowing it.
namespace screens {

// The main window and its MDI area (set by A_main; null in tests that run a
// screen alone, where list windows are shown as top-level windows).
QWidget* main_window();
QMdiArea* mdi_area();
void set_main(QWidget* main, QMdiArea* mdi);

// Shows a list window maximised inside the main window.
void show_list(QWidget* screen);
// A loaded list window, picker or dialog by its name (objectName); null when none.
QWidget* find(const QString& name);
// Unloads every list screen (close_all_screens).
void close_all();
// Calls ms_list of a loaded screen by name; false when none is loaded.
bool reload(const QString& name);
// Opens the main window's popup menu POP1 .. POP6 at a screen position.
using PopupHandler = void (*)(const QString& popup, const QPoint& global_pos);
void set_popup_handler(PopupHandler h);
void popup(const QString& name, const QPoint& global_pos);

// Factories of the screens by name ("A2", "B4", "CA", ...), filled by
// register_all_screens() (shell/screen_table.cpp), which the main window
// calls once. create() gives null for a name without a factory.
using Factory = QWidget* (*)();
void register_factory(const QString& name, Factory f);
QWidget* create(const QString& name);
bool has_factory(const QString& name);
void register_all_screens();

// Dialogs the system keeps across openings (their `saved` survives):
// created at the first opening, reused after.
template <class T> T* kept()
{
    static QPointer<T> p;
    if (!p) p = new T(main_window());
    return p;
}

} // namespace screens
