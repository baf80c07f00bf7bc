#include "ui/ListWindow.h"
#include "data/db.h"
#include "data/state.h"
#include "data/text.h"
#include "ui/FlexGrid.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/twips.h"

#include <QComboBox>
#include <algorithm>
#include <climits>
#include <vector>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QStyle>
#include <QPushButton>
#include <QResizeEvent>

namespace {
QWidget* part(QWidget* form, const char* name) { return form->findChild<QWidget*>(QLatin1String(name)); }
}

void layout_list_form(const QString& mode, QWidget* form)
{
    QStringList order;
    if (mode == QLatin1String("all")) order = {"cmd_ext", "cmd_del", "cmd_edt", "cmd_add"};
    else if (mode == QLatin1String("edt")) order = {"cmd_ext", "cmd_edt", "cmd_add"};
    else if (mode == QLatin1String("add")) order = {"cmd_ext", "cmd_add"};
    else if (mode == QLatin1String("ext")) order = {"cmd_ext"};
    layout_list_buttons(form, order);
}

void layout_list_buttons(QWidget* form, const QStringList& order)
{
    if (!form) return;
    QWidget* fm_mnu = part(form, "fm_mnu");
    QWidget* fm_grd = part(form, "fm_grd");
    QWidget* fm_sum = part(form, "fm_sum");
    QWidget* fm_sub = part(form, "fm_sub");
    QWidget* ms = part(form, "ms");
    QWidget* la_usr = part(form, "la_usr");
    QWidget* cmd_ext = part(form, "cmd_ext");
    QWidget* cmd_fnd = part(form, "cmd_fnd");
    QWidget* t_ser = part(form, "t_ser");
    const int fw = px_to_twips(form->width()), fh = px_to_twips(form->height());

    tw_set_width(fm_mnu, fw - 210);
    tw_set_width(fm_grd, fw - 210);
    if (fm_grd && fm_mnu) tw_set_height(fm_grd, fh - tw_rect(fm_mnu).top - tw_rect(fm_mnu).height - 60);
    if (fm_grd) tw_set_width(fm_sum, tw_rect(fm_grd).width - 240);
    if (fm_grd) tw_set_width(ms, tw_rect(fm_grd).width - 240);
    if (fm_grd && ms) tw_set_height(ms, tw_rect(fm_grd).height - tw_rect(ms).top - 120);
    if (fm_sum && la_usr) tw_set_left(la_usr, tw_rect(fm_sum).width - tw_rect(la_usr).width - 120);

    const int n = int(order.size());

    // Right to left: each button left of the one placed before it.
    int prev_left = 0;
    bool have_prev = false;
    for (int i = 0; i < n; ++i) {
        QWidget* b = part(form, order[i].toLatin1().constData());
        if (i == 0) {
            if (b && fm_mnu) {
                tw_set_left(b, tw_rect(fm_mnu).width - tw_rect(b).width - 150);
            }
        } else if (b && have_prev) {
            tw_set_left(b, prev_left - tw_rect(b).width - 60);
        }
        // A missing button leaves the chain at the place it would have kept.
        if (b) { prev_left = tw_rect(b).left; have_prev = true; }
    }

    if (fm_sub && fm_mnu) {
        const int ext_w = cmd_ext ? tw_rect(cmd_ext).width : 0;
        const int w = n > 0 ? tw_rect(fm_mnu).width - tw_rect(fm_sub).left - n * ext_w - (n - 1) * 60 - 220
                            : tw_rect(fm_mnu).width - tw_rect(fm_sub).left - 160;
        tw_set_width(fm_sub, w);
    }
    if (fm_sub && cmd_fnd) tw_set_left(cmd_fnd, tw_rect(fm_sub).width - tw_rect(cmd_fnd).width - 120);
    if (fm_sub && t_ser && cmd_fnd) {
        const TwRect s = tw_rect(t_ser);
        const int room = tw_rect(fm_sub).width - s.left - tw_rect(cmd_fnd).width - 180;
        if (room >= list_frame::ser_min_width) {
            tw_set_width(t_ser, room);
        } else {
            // Too narrow a window: the search box keeps room for a search
            // text, the search button follows it and the search bar grows.
            tw_set_width(t_ser, list_frame::ser_min_width);
            tw_set_left(cmd_fnd, s.left + list_frame::ser_min_width + 60);
            tw_set_width(fm_sub, tw_rect(cmd_fnd).left + tw_rect(cmd_fnd).width + 120);
        }
    }
}

namespace {
// The count line: when the summary bar leaves it less room than its text
// needs, it ends in "…" rather than in the middle of a number, and the whole
// line shows as its tooltip; its text, which the export and the print read,
// stays whole.
class CountLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        const bool cut = shortened();
        show_whole_as_tip(cut);
        if (!cut) {
            QLabel::paintEvent(e);
            return;
        }
        const QRect r = contentsRect();
        QPainter p(this);
        style()->drawItemText(&p, r, int(alignment()), palette(), isEnabled(),
                              fontMetrics().elidedText(text(), Qt::ElideRight, r.width()), foregroundRole());
    }
    void resizeEvent(QResizeEvent* e) override
    {
        QLabel::resizeEvent(e);
        show_whole_as_tip(shortened());
    }

private:
    bool shortened() const { return fontMetrics().horizontalAdvance(text()) > contentsRect().width(); }
    void show_whole_as_tip(bool cut)
    {
        const QString tip = cut ? text() : QString();
        if (toolTip() != tip) setToolTip(tip);
    }
};
}

void give_way_in_summary(QWidget* form)
{
    QWidget* fm_sum = form ? part(form, "fm_sum") : nullptr;
    if (!fm_sum) return;
    // The count line and the progress bar, least important last.
    QList<QWidget*> yielding;
    for (const char* n : {"la_inf", "PB"})
        if (QWidget* w = fm_sum->findChild<QWidget*>(QLatin1String(n), Qt::FindDirectChildrenOnly)) yielding << w;

    // Back to the designed places first: a window grown again gets them back.
    for (QWidget* w : yielding) {
        const QVariant gave = w->property("gave_width");
        if (gave.isValid() && tw_rect(w).width == gave.toInt()) tw_set_width(w, w->property("design_width").toInt());
        w->setProperty("gave_width", QVariant());
        if (w->property("gave_way").toBool()) {
            w->setProperty("gave_way", false);
            w->show();
        }
    }

    // The other controls that lie over one of them (with a gap between).
    constexpr int gap = 60;
    auto in_the_way = [&](QWidget* y) {
        QList<TwRect> out;
        const TwRect r = tw_rect(y);
        for (QWidget* w : fm_sum->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (yielding.contains(w) || w->isHidden()) continue;
            const TwRect o = tw_rect(w);
            if (o.left < r.left + r.width + gap && o.left + o.width + gap > r.left) out << o;
        }
        return out;
    };
    // The progress bar goes; the count line ends before the first of them.
    for (QWidget* w : yielding) {
        const QList<TwRect> others = in_the_way(w);
        if (w->isHidden() || others.isEmpty()) continue;
        if (w->objectName() == QLatin1String("PB")) {
            w->setProperty("gave_way", true);
            w->hide();
            continue;
        }
        const int left = tw_rect(w).left;
        // One that begins before it leaves it no room at all.
        int right = INT_MAX;
        for (const TwRect& o : others) right = std::min(right, o.left > left ? o.left - gap : left);
        w->setProperty("design_width", tw_rect(w).width);
        tw_set_width(w, std::max(right - left, 0));
        w->setProperty("gave_width", tw_rect(w).width);
    }
}

ListWindow::ListWindow(const QString& name, const QString& caption, const Frame& frame, QWidget* parent)
    : QWidget(parent), mode_(frame.mode)
{
    using namespace list_frame;
    setObjectName(name);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    // A window restored from maximised and dragged narrower than this would
    // push the bars' boxes and buttons over each other; the smallest screen
    // the shop uses (1024 wide) still shows the window maximised.
    setMinimumWidth(twips_to_px(min_width));

    fm_mnu = named<QFrame>("fm_mnu", this);
    fm_mnu->setFrameShape(QFrame::StyledPanel);
    tw_place(fm_mnu, mnu_left, mnu_top, 12000, mnu_height);

    fm_sub = named<QFrame>("fm_sub", fm_mnu);
    fm_sub->setFrameShape(QFrame::StyledPanel);
    tw_place(fm_sub, sub_left, sub_top, 6000, sub_height);
    if (frame.search) {
        t_ser = named<QLineEdit>("t_ser", fm_sub);
        tw_place(t_ser, 120, ctl_top, 2500, ctl_height);
        // A search text: far below the longest pattern the database's LIKE
        // takes (hold_path_in_search_box lifts it).
        t_ser->setMaxLength(100);
        cmd_fnd = plain_button(fm_sub, "cmd_fnd", QStringLiteral("검색"), 2700, ctl_top - 30, 900, ctl_height + 60);
        connect(cmd_fnd, &QPushButton::clicked, this, [this] { cmd_fnd_click(); });
        wire_search_box(t_ser, [this] { cmd_fnd_click(); });
    }
    if (frame.add) cmd_add = plain_button(fm_mnu, "cmd_add", QStringLiteral("등록"));
    if (frame.edt) cmd_edt = plain_button(fm_mnu, "cmd_edt", QStringLiteral("수정"));
    if (frame.del) cmd_del = plain_button(fm_mnu, "cmd_del", QStringLiteral("삭제"));
    cmd_ext = plain_button(fm_mnu, "cmd_ext", QStringLiteral("닫기"));
    int left = 6500;
    for (QPushButton* b : {cmd_add, cmd_edt, cmd_del, cmd_ext}) {
        if (!b) continue;
        tw_place(b, left, btn_top, btn_width, btn_height);
        left += btn_width + 60;
    }
    connect(cmd_ext, &QPushButton::clicked, this, &QWidget::close);

    fm_grd = named<QFrame>("fm_grd", this);
    fm_grd->setFrameShape(QFrame::StyledPanel);
    tw_place(fm_grd, grd_left, mnu_top + mnu_height, 12000, 6000);

    fm_sum = named<QFrame>("fm_sum", fm_grd);
    tw_place(fm_sum, sum_left, sum_top, 11700, sum_height);
    la_inf = named<CountLabel>("la_inf", fm_sum);
    tw_place(la_inf, 60, 60, 6000, 300);
    la_usr = named<QLabel>("la_usr", fm_sum);
    la_usr->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    tw_place(la_usr, 8000, 60, 3000, 300);
    la_usr->setText(cur_user);

    ms = named<FlexGrid>("ms", fm_grd);
    tw_place(ms, ms_left, ms_top, 11700, 5000);
    hook_wheel(ms);
}

ListWindow::~ListWindow() { unhook_wheel(ms); }

QComboBox* ListWindow::add_sub_combo(const char* name, int left, int width)
{
    auto* c = named<QComboBox>(name, fm_sub);
    tw_place(c, left, list_frame::ctl_top, width, list_frame::ctl_height);
    return c;
}

QProgressBar* ListWindow::add_progress_bar(int left, int top, int width, int height)
{
    auto* pb = named<QProgressBar>("PB", fm_sum);
    pb->setTextVisible(false);
    pb->setValue(0);
    tw_place(pb, left, top, width, height);
    return pb;
}

void ListWindow::show_list_progress(QProgressBar* pb, qint64 n)
{
    if (!pb) return;
    const int max = int(std::min<qint64>(n, INT_MAX));
    pb->setRange(0, std::max(max, 1));
    pb->setValue(max);
}

void ListWindow::set_search_left(int twips)
{
    if (!t_ser) return;
    const TwRect r = tw_rect(t_ser);
    tw_place(t_ser, twips, r.top, r.width, r.height);
    form_resize();
}

void ListWindow::hold_path_in_search_box()
{
    if (t_ser) t_ser->setMaxLength(32767);   // a line edit's own limit
}

void ListWindow::fit_last_column() { ms->fit_last_column(tw_rect(ms).width); }

void ListWindow::place_left_of_user(const QList<QPair<QWidget*, int>>& controls)
{
    int left = tw_rect(fm_sum).width - tw_rect(la_usr).width - 120;
    for (const auto& [w, gap] : controls) {
        left -= gap + tw_rect(w).width;
        tw_set_left(w, left);
    }
}

bool ListWindow::start_list()
{
    ms->clear_grid();
    t_ser->setText(clean_input(t_ser->text()));
    return check_db(this);
}

int ListWindow::action_row(const QString& right)
{
    if (!check_right(this, right)) return 0;
    return ms->data_row();
}

int ListWindow::load_rows(const Query& q, const std::function<void(const Cursor&, int)>& fill)
{
    Cursor cur(*db_con, q);
    while (cur.next()) fill(cur, ms->add_row());
    const int n = ms->rows() - 1;
    if (!cur.ok() || n == 0) {
        ms->clear_grid();
        ms->set_redraw(true);
        la_inf->setText(list_count_text(0));
        return 0;
    }
    ms->set_row_height(1, 380);
    ms->set_row(1);
    ms->set_redraw(true);
    la_inf->setText(list_count_text(n));
    set_col_width();
    return n;
}

bool ListWindow::event(QEvent* e)
{
    const bool r = QWidget::event(e);
    // Marks a window whose close went through, for screens::find.
    if (e->type() == QEvent::Close && e->isAccepted()) setProperty("closed", true);
    return r;
}

void ListWindow::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    form_resize();
    place_summary();
    give_way_in_summary(this);
    set_col_width();
}

void ListWindow::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    form_resize();
    place_summary();
    give_way_in_summary(this);
    set_col_width();
}

bool ListWindow::focusNextPrevChild(bool next)
{
    struct Stop {
        QWidget* w;
        int mid, left, line;
    };
    std::vector<Stop> stops;
    for (QWidget* w : findChildren<QWidget*>()) {
        // The screen's own controls, not the parts inside a date box or combo.
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"))) continue;
        if (!w->isVisible() || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus)) continue;
        const QRect r(w->mapTo(this, QPoint(0, 0)), w->size());
        stops.push_back({w, r.center().y(), r.left(), 0});
    }
    // Controls whose middles lie within half a box height of the first of a
    // line stand on that line; lines from the top, each from the left.
    std::stable_sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) { return a.mid < b.mid; });
    const int slack = twips_to_px(list_frame::ctl_height) / 2;
    int line = 0, first = INT_MIN;
    for (Stop& s : stops) {
        if (first == INT_MIN || s.mid - first > slack) {
            ++line;
            first = s.mid;
        }
        s.line = line;
    }
    std::stable_sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) {
        return a.line != b.line ? a.line < b.line : a.left < b.left;
    });
    QWidget* focus = focusWidget();
    const auto at = std::find_if(stops.begin(), stops.end(), [focus](const Stop& s) {
        return focus && (s.w == focus || s.w->isAncestorOf(focus));
    });
    if (at == stops.end()) return QWidget::focusNextPrevChild(next);
    const auto n = qsizetype(stops.size());
    const qsizetype i = at - stops.begin();
    stops[size_t((i + (next ? 1 : n - 1)) % n)].w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}
