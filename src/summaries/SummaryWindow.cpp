#include "summaries/SummaryWindow.h"
#include "data/state.h"
#include "shell/screens.h"
#include "summaries/summaries.h"
#include "ui/FlexGrid.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace {
constexpr int frame2_width = 1800;
}

SummaryWindow::SummaryWindow(const QString& name, const QString& caption, const QString& detail_caption,
                             bool with_text1, const QString& popup, QWidget* parent)
    : ListWindow(name, caption, Frame{QStringLiteral("ext"), false, false, false, true}, parent), popup_(popup)
{
    using namespace list_frame;
    t_date1 = date_picker(fm_sub, "t_date1");
    tw_place(t_date1, 120, ctl_top, 1700, ctl_height);
    Label2 = named<QLabel>("Label2", QStringLiteral("~"), fm_sub);
    Label2->setAlignment(Qt::AlignCenter);
    tw_place(Label2, 1820, ctl_top, 300, ctl_height);
    t_date2 = date_picker(fm_sub, "t_date2");
    tw_place(t_date2, 2120, ctl_top, 1700, ctl_height);
    t_gbn = add_sub_combo("t_gbn", 3880, 1500);
    t_chk = add_sub_combo("t_chk", 5440, 1500);
    set_search_left(7000);

    Frame2 = named<QFrame>("Frame2", fm_mnu);
    Frame2->setFrameShape(QFrame::StyledPanel);
    tw_place(Frame2, 0, sub_top, frame2_width, sub_height);
    PB = named<QProgressBar>("PB", Frame2);
    PB->setTextVisible(false);
    PB->setValue(0);
    tw_place(PB, 120, 150, frame2_width - 240, 240);

    la_inf->setText(QStringLiteral("검색건수:"));
    tw_set_width(la_inf, 5000);
    Check1 = named<QCheckBox>("Check1", detail_caption, fm_sum);
    tw_place(Check1, 5200, 60, 2200, 300);
    if (with_text1) {
        Text1 = named<QLineEdit>("Text1", this);
        Text1->hide();
    }

    connect(t_gbn, &QComboBox::activated, this, &SummaryWindow::t_gbn_click);
    connect(Check1, &QCheckBox::toggled, this, &SummaryWindow::Check1_click);
    connect(ms, &FlexGrid::MouseDown, this, &SummaryWindow::ms_mousedown);
}

void SummaryWindow::set_member_combos(const QString& kind)
{
    t_gbn->addItem(kind);
    t_gbn->setCurrentIndex(0);
    t_chk->addItems(summary_member_fields());
    t_chk->setCurrentIndex(0);
}

void SummaryWindow::ms_mousedown(Qt::MouseButton button, const QPoint& global_pos)
{
    if (button == Qt::RightButton && !popup_.isEmpty()) screens::popup(popup_, global_pos);
}

void SummaryWindow::ms_list()
{
    if (!start_list()) return;
    list_sql = list_query();
    if (Text1) Text1->setText(list_sql.sql);
    const int n = fill_grid(list_sql);
    PB->setRange(0, std::max(n, 1));
    PB->setValue(n);
    la_inf->setText(list_count_text(n));
    if (n > 0) set_col_width();
}

void SummaryWindow::place_summary()
{
    // The progress frame stands between the search bar and the exit button:
    // the search bar gives up its room, its search box shrinks with it.
    const int room = frame2_width + 60;
    tw_set_width(fm_sub, tw_rect(fm_sub).width - room);
    const TwRect sub = tw_rect(fm_sub);
    tw_set_left(Frame2, sub.left + sub.width + 60);
    tw_set_left(cmd_fnd, sub.width - tw_rect(cmd_fnd).width - 120);
    tw_set_width(t_ser, std::max(sub.width - tw_rect(t_ser).left - tw_rect(cmd_fnd).width - 180, 600));
    place_left_of_user({{Check1, 0}});
}
