#include "output/list_source.h"
#include "data/clock.h"
#include "ui/FlexGrid.h"

#include <QDateEdit>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>

ListSource ListSource::of(QWidget* form)
{
    ListSource s;
    if (!form) return s;
    s.form = form;
    s.ms = form->findChild<FlexGrid*>(QStringLiteral("ms"));
    s.la_inf = form->findChild<QLabel*>(QStringLiteral("la_inf"));
    s.t_date1 = form->findChild<QDateEdit*>(QStringLiteral("t_date1"));
    s.t_date2 = form->findChild<QDateEdit*>(QStringLiteral("t_date2"));
    s.PB = form->findChild<QProgressBar*>(QStringLiteral("PB"));
    return s;
}

QString ListSource::caption() const { return form ? form->windowTitle() : QString(); }
QString ListSource::info() const { return la_inf ? la_inf->text() : QString(); }
QString ListSource::date1() const { return t_date1 ? date_text(t_date1->date()) : QString(); }
QString ListSource::date2() const { return t_date2 ? date_text(t_date2->date()) : QString(); }

bool ListSource::has_rows() const { return ms && ms->rows() > 1 && ms->cols() > 0; }

void ListSource::start_progress(int max) const
{
    if (!PB) return;
    PB->setMaximum(max);
    PB->setValue(0);
}

void ListSource::step_progress() const
{
    if (PB && PB->value() < PB->maximum()) PB->setValue(PB->value() + 1);
}
