#pragma once
// Driving screens in tests as a clerk would: finding controls by name,
// pressing buttons, working a dialog opened with exec(), reading grids.
#include "support/fixture.h"
#include "ui/FlexGrid.h"

#include <QAbstractButton>
#include <QDialog>
#include <QStringList>
#include <QTest>
#include <functional>

template <class T> T* child(QWidget* w, const char* name) { return w->findChild<T*>(QLatin1String(name)); }
inline void click(QWidget* w, const char* name) { child<QAbstractButton>(w, name)->click(); }

// A list window of that size, shown.
template <class W> W* show_window(int width, int height)
{
    auto* w = new W;
    w->resize(width, height);
    w->show();
    return w;
}

// Drives the dialog once it is up; it is closed afterwards whatever happened.
inline void drive(const QString& name, std::function<void(QWidget*)> body)
{
    when_dialog_shows(name, [body](QWidget* d) {
        body(d);
        if (d->isVisible()) static_cast<QDialog*>(d)->reject();
    });
}

// The texts of column c, data rows only.
inline QStringList column(FlexGrid* g, int c)
{
    QStringList out;
    for (int r = 1; r < g->rows(); ++r) out << g->text(r, c);
    return out;
}

// The first data row whose column c holds the text; -1 when none.
inline int row_of(FlexGrid* g, const QString& text, int c = 4)
{
    for (int r = 1; r < g->rows(); ++r)
        if (g->text(r, c) == text) return r;
    return -1;
}

// Clicks, then double-clicks cell (r, c) of a data row.
inline void dbl_click_cell(FlexGrid* g, int r, int c)
{
    const QModelIndex i = g->model()->index(r - 1, c);
    g->scrollTo(i);
    const QRect cell = g->visualRect(i);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cell.center());
}
