#include "registers/pop_cst.h"
#include "data/db.h"
#include "data/state.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/boxes.h"
#include "ui/controls.h"
#include "ui/grid_rows.h"
#include "ui/twips.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaObject>
#include <QShowEvent>
#include <algorithm>

// ------------------------------------------------------------ PickerDialog
PickerDialog::PickerDialog(const QString& name, const QString& caption, QWidget* parent) : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);
    resize(twips_to_px(10110), twips_to_px(7215));

    fm_grd = named<QFrame>("fm_grd", this);
    fm_grd->setFrameShape(QFrame::StyledPanel);
    tw_place(fm_grd, 120, 0, 9855, 7095);

    ms = named<FlexGrid>("ms", fm_grd);
    tw_place(ms, 120, 240, 9615, 6735);
    ms->installEventFilter(this);
    connect(ms, &FlexGrid::DblClick, this, [this] { choose(); });
    connect(ms, &FlexGrid::KeyDown, this, [this](int key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) choose();
    });

    t_chk = named<QLineEdit>("t_chk", this);
    t_chk->hide();

    clear_grid();
    hook_wheel(ms);
}

PickerDialog::~PickerDialog() { unhook_wheel(ms); }

void PickerDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    // Every showing runs the query the caller has just left.
    if (!e->spontaneous()) {
        ms_list();
        ms->setFocus();
    }
    set_col_width();
}

void PickerDialog::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    // Enter belongs to the grid; the dialog has no button it could press.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return;
    QDialog::keyPressEvent(e);
}

bool PickerDialog::eventFilter(QObject* o, QEvent* e)
{
    // Esc closes the picker whichever control has the focus.
    if (o == ms && e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    return QDialog::eventFilter(o, e);
}

void PickerDialog::clear_grid()
{
    ms->clear_grid(0);
}

void PickerDialog::fit_last_column() { ms->fit_last_column(tw_rect(ms).width, 1); }

QString PickerDialog::caller_name() const
{
    const QString n = t_chk->text();
    return n == QLatin1String("C1") || n == QLatin1String("C2") ? n : QString();
}

bool PickerDialog::hand_back(const char* box, const char* slot, const QString& code)
{
    const QString name = caller_name();
    if (name.isEmpty()) return false;
    QWidget* caller = screens::find(name);
    QLineEdit* target = caller ? caller->findChild<QLineEdit*>(QLatin1String(box)) : nullptr;
    if (!target) return false;
    fill_box(target, code);
    accept();
    QMetaObject::invokeMethod(caller, slot, Qt::DirectConnection);
    return true;
}

// ------------------------------------------------------------------ pop_cst
pop_cst::pop_cst(QWidget* parent) : PickerDialog(QStringLiteral("pop_cst"), QStringLiteral("전체회원리스트"), parent) {}

void pop_cst::ms_list()
{
    clear_grid();
    Cursor c(con(), list_sql);
    if (!c.next()) return;   // nothing found, or the query failed: an empty grid

    static const char* fields[] = {"gbn", "dat", "cod", "nam", "tel", "phn", "adr", "big"};
    int at[8];
    for (int i = 0; i < 8; ++i) {
        at[i] = -1;
        for (int k = 0; k < c.columns(); ++k)
            if (c.name(k).compare(QLatin1String(fields[i]), Qt::CaseInsensitive) == 0) { at[i] = k; break; }
    }

    ms->set_header({"", "구분", "가입일", "회원코드", "회 원 명", "전화번호", "휴 대 폰", "주    소", "비    고"});
    ms->set_col_alignment({1, 2, 3}, FlexGrid::AlignCenter);

    ms->set_redraw(false);
    do {
        const int r = ms->add_row();
        for (int i = 0; i < 8; ++i) {
            if (at[i] < 0) continue;
            copy_cell(*ms, r, i + 1, c, at[i]);
        }
    } while (c.next());
    ms->set_row_height(1, 380);
    ms->set_redraw(true);
    ms->set_row(1);
    set_col_width();
}

void pop_cst::set_col_width()
{
    if (ms->rows() < 2) return;
    ms->set_col_width(0, 0);
    for (int c = 1; c <= 7; ++c) ms->set_col_width(c, col_w[size_t(c - 1)]);
    fit_last_column();
}

void pop_cst::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    const QRect outer = frameGeometry();
    const int w = px_to_twips(outer.width()), h = px_to_twips(outer.height());
    if (w - 340 > 0) tw_set_width(fm_grd, w - 340);
    if (h - 620 > 0) tw_set_height(fm_grd, h - 620);
    const TwRect f = tw_rect(fm_grd);
    if (f.width - 240 > 0) tw_set_width(ms, f.width - 240);
    if (f.height - tw_rect(ms).top - 120 > 0) tw_set_height(ms, f.height - tw_rect(ms).top - 120);
    set_col_width();
}

void pop_cst::choose()
{
    const int r = ms->data_row();
    if (r == 0) return;
    hand_back("t_m_cod", "mem_chk", ms->text(r, 3));
}
