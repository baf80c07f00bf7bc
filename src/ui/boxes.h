#pragma once
#include <QString>
#include <QList>

class QLineEdit;
class QWidget;

// Boxes a screen fills from stored or looked-up text.
//
// A filled box shows its text from the start, as after Home, however long
// the text. A line edit holds at most its maxLength (32,767 characters), so
// the box also keeps the text whole: a save writes back the whole text of a
// box the clerk left as it was filled, and only a box the clerk changed is
// saved as it now reads. Emptying a box forgets what it was filled with.
void fill_box(QLineEdit* b, const QString& text);

// What a save writes of the box: the whole filled text while the box is
// untouched, else what it reads.
QString box_value(const QLineEdit* b);

// Cleans (clean_input) each box the clerk changed, and shows the cleaned
// text; a box left as it was filled keeps its text as stored.
void clean_changed(const QList<QLineEdit*>& boxes);

// Before a save: when any of `cleaned` or `uncleaned` would drop part of its
// filled text (it was filled with more than it holds and the clerk changed
// it), first asks the clerk whether to save anyway; on No it returns false
// and every box stays as the clerk left it. Otherwise it cleans the boxes of
// `cleaned` that the clerk changed (clean_changed) and returns true.
bool confirm_and_clean(QWidget* parent, const QList<QLineEdit*>& cleaned, const QList<QLineEdit*>& uncleaned = {});
