#include "shell/screens.h"
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMetaObject>
#include <QHash>

namespace screens {
namespace {
QPointer<QWidget> g_main;
QPointer<QMdiArea> g_mdi;
PopupHandler g_popup = nullptr;
}

QWidget* main_window() { return g_main; }
QMdiArea* mdi_area() { return g_mdi; }
void set_main(QWidget* main, QMdiArea* mdi)
{
    g_main = main;
    g_mdi = mdi;
}

void show_list(QWidget* screen)
{
    if (g_mdi) {
        QMdiSubWindow* sub = g_mdi->addSubWindow(screen);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setObjectName(screen->objectName() + QStringLiteral("_window"));
        sub->setWindowTitle(screen->windowTitle());
        // Closing the screen closes its MDI frame as well (queued: the frame
        // may itself be the one going away).
        QObject::connect(screen, &QObject::destroyed, sub, [sub] {
            QMetaObject::invokeMethod(sub, "close", Qt::QueuedConnection);
        });
        // A frame restored and made narrower keeps the screen's least width.
        sub->setMinimumSize(sub->minimumSizeHint());
        sub->showMaximized();
        screen->show();
    } else {
        screen->showMaximized();
    }
}

QWidget* find(const QString& name)
{
    // A window closed with delete-on-close is gone for good, even while its
    // deletion still waits in the event queue.
    auto live = [&name](QWidget* w) {
        return w && w->objectName() == name && !w->property("closed").toBool();
    };
    if (g_mdi) {
        for (QMdiSubWindow* sub : g_mdi->subWindowList())
            if (live(sub->widget())) return sub->widget();
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        if (live(w)) return w;
    for (QWidget* w : QApplication::allWidgets())
        if (w->isWindow() && live(w)) return w;
    return nullptr;
}

void close_all()
{
    // The list screens, in this order; each one loaded is unloaded (its own
    // close handler runs). One that refuses to close is left as it is. A
    // closed screen goes at once, so the next find() of its name no longer
    // sees it and a screen reopened under the same name is the only one.
    static const char* order[] = {"A2", "A3", "A6", "A7", "B1", "B2", "B4", "CA", "E1", "E2", "E3", "F1", "F2"};
    for (const char* n : order) {
        QPointer<QWidget> w = find(QLatin1String(n));
        if (!w) continue;
        if (!w->close() || !w) continue;
        // Inside the main window the screen goes with its MDI frame.
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) delete sub;
        else delete w.data();
    }
}

bool reload(const QString& name)
{
    QWidget* w = find(name);
    return w && QMetaObject::invokeMethod(w, "ms_list", Qt::DirectConnection);
}

namespace {
QHash<QString, Factory>& factories() { static QHash<QString, Factory> f; return f; }
}
void register_factory(const QString& name, Factory f) { factories().insert(name, f); }
bool has_factory(const QString& name) { return factories().contains(name); }
QWidget* create(const QString& name)
{
    const Factory f = factories().value(name);
    return f ? f() : nullptr;
}

void set_popup_handler(PopupHandler h) { g_popup = h; }
void popup(const QString& name, const QPoint& global_pos)
{
    if (g_popup) g_popup(name, global_pos);
}

} // namespace screens
