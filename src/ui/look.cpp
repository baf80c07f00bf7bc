#include "ui/look.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTranslator>
#include <QWidget>

static void init_look_resources() { Q_INIT_RESOURCE(look); }

namespace {
// Fusion, with two habits of the desktop the screens were made for: the
// focused button or check box always shows its focus frame (not only after
// a Tab), and a password box shows "*" for each character.
class LookStyle : public QProxyStyle {
public:
    LookStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    int styleHint(StyleHint hint, const QStyleOption* opt, const QWidget* w, QStyleHintReturn* ret) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(hint, opt, w, ret);
    }

    void drawControl(ControlElement el, const QStyleOption* opt, QPainter* p, const QWidget* w) const override
    {
        const auto* b = qstyleoption_cast<const QStyleOptionButton*>(opt);
        const bool button = el == CE_PushButton || el == CE_CheckBox || el == CE_RadioButton;
        if (!b || !button || !(opt->state & State_HasFocus)) {
            QProxyStyle::drawControl(el, opt, p, w);
            return;
        }
        // Focus moved by Enter from box to box counts as keyboard focus.
        QStyleOptionButton o = *b;
        o.state |= State_KeyboardFocusChange;
        QProxyStyle::drawControl(el, &o, p, w);
        if (el != CE_PushButton) return;
        // A dotted frame inside the focused button, plainly visible.
        const QRect r = subElementRect(SE_PushButtonFocusRect, &o, w).adjusted(1, 1, -1, -1);
        p->save();
        QPen pen(o.palette.color(QPalette::ButtonText));
        pen.setStyle(Qt::DotLine);
        p->setPen(pen);
        p->setBrush(Qt::NoBrush);
        p->drawRect(r.adjusted(0, 0, -1, -1));
        p->restore();
    }
};
}

QFont screen_font()
{
    QFont f(QStringLiteral("NanumGothic"));
    f.setPointSize(9);
    return f;
}

void install_look()
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app || app->property("torvisk_look").toBool()) return;
    app->setProperty("torvisk_look", true);

    init_look_resources();
    QApplication::setStyle(new LookStyle);
    QApplication::setFont(screen_font());
    QApplication::setWindowIcon(QIcon(k_icon_path));

    // Qt's own texts (message box buttons, the calendar, file and print
    // dialogs) in Korean.
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    // A window made before this (the main window calling it from its own
    // constructor) keeps the locale it was made with, and hands it on to
    // every control put into it: the calendars of its date boxes would read
    // "December" and "Sun". Such windows take the new default.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->testAttribute(Qt::WA_SetLocale)) w->unsetLocale();
    auto* tr = new QTranslator(app);
    if (tr->load(QLocale(QLocale::Korean, QLocale::SouthKorea), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(tr);
    else
        delete tr;
}
