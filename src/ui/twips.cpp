#include "ui/twips.h"
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {
double dpi()
{
    static double d = 0;
    if (d <= 0) {
        const QScreen* s = QGuiApplication::primaryScreen();
        d = s ? s->logicalDotsPerInch() : 96.0;
        if (d <= 0) d = 96.0;
    }
    return d;
}
}

int twips_to_px(int twips) { return int(std::lround(twips * dpi() / 1440.0)); }
int px_to_twips(int px) { return int(std::lround(px * 1440.0 / dpi())); }

#include <QWidget>
#include <QVariant>

namespace {
void apply(QWidget* w, const TwRect& r)
{
    w->setProperty("tw_left", r.left);
    w->setProperty("tw_top", r.top);
    w->setProperty("tw_width", r.width);
    w->setProperty("tw_height", r.height);
    w->setGeometry(twips_to_px(r.left), twips_to_px(r.top), std::max(twips_to_px(r.width), 0),
                   std::max(twips_to_px(r.height), 0));
}
}

TwRect tw_rect(const QWidget* w)
{
    TwRect r;
    if (!w) return r;
    if (!w->property("tw_width").isValid()) {
        // A control never placed in twips: read its pixels.
        const QRect g = w->geometry();
        return {px_to_twips(g.x()), px_to_twips(g.y()), px_to_twips(g.width()), px_to_twips(g.height())};
    }
    r.left = w->property("tw_left").toInt();
    r.top = w->property("tw_top").toInt();
    r.width = w->property("tw_width").toInt();
    r.height = w->property("tw_height").toInt();
    return r;
}

void tw_place(QWidget* w, int left, int top, int width, int height)
{
    if (w) apply(w, {left, top, width, height});
}

void tw_set_left(QWidget* w, int v) { if (w) { TwRect r = tw_rect(w); r.left = v; apply(w, r); } }
void tw_set_top(QWidget* w, int v) { if (w) { TwRect r = tw_rect(w); r.top = v; apply(w, r); } }
// A negative size is skipped, as a failing statement of a layout is.
void tw_set_width(QWidget* w, int v) { if (w && v >= 0) { TwRect r = tw_rect(w); r.width = v; apply(w, r); } }
void tw_set_height(QWidget* w, int v) { if (w && v >= 0) { TwRect r = tw_rect(w); r.height = v; apply(w, r); } }
