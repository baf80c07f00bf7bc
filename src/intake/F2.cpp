#include "intake/F2.h"
#include "data/paths.h"
#include "ui/FlexGrid.h"
#include "ui/boxes.h"
#include "ui/controls.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace {
ListWindow::Frame f2_frame()
{
    ListWindow::Frame f;
    f.mode = QStringLiteral("edt");
    f.del = false;
    return f;
}

}

F2::F2(QWidget* parent)
    : ListWindow(QStringLiteral("F2"), QStringLiteral("텍스트파일업로드"), f2_frame(), parent),
      batch_(BatchSource::File, ms, nullptr, la_inf)
{
    cmd_add->setText(QStringLiteral("저장"));
    cmd_edt->setText(QStringLiteral("삭제"));
    cmd_fnd->setText(QStringLiteral("열기"));

    Picture1 = named<QLabel>("Picture1", fm_sub);
    Picture1->setPixmap(style()->standardIcon(QStyle::SP_FileDialogContentsView).pixmap(twips_to_px(300)));
    tw_place(Picture1, 120, list_frame::ctl_top, 330, list_frame::ctl_height);
    Label1 = named<QLabel>("Label1", QStringLiteral("파일열기"), fm_sub);
    tw_place(Label1, 500, list_frame::ctl_top, 900, list_frame::ctl_height);
    t_ser->setReadOnly(true);
    hold_path_in_search_box();
    // A double click on the path box empties the screen.
    on_double_click(t_ser, [this] { t_ser_dbl_click(); });
    set_search_left(1420);

    tw_set_width(la_inf, 3500);
    PB = named<QProgressBar>("PB", fm_sum);
    PB->setTextVisible(false);
    PB->setRange(0, 1);
    PB->setValue(0);
    tw_place(PB, 3700, 120, 1800, 200);
    batch_ = UploadBatch(BatchSource::File, ms, PB, la_inf);

    connect(cmd_add, &QPushButton::clicked, this, &F2::cmd_add_click);
    connect(cmd_edt, &QPushButton::clicked, this, &F2::cmd_edt_click);

    clear_grid();
    la_inf->setText(QStringLiteral("검색대기중..."));
}

F2::~F2() = default;

void F2::set_col_width() { batch_.set_col_width(); }

void F2::place_summary() {}

void F2::clear_grid() { batch_.clear_grid(); }

void F2::err_check() { batch_.err_check(); }

void F2::cmd_fnd_click()
{
    QString path;
    if (!choose_open_file(this, QStringLiteral("텍스트파일자료(*.txt)"), t_ser->text(), program_dir(), &path)) return;
    if (path.isEmpty()) {
        forget_file();
        return;
    }
    path_ = path;
    fill_box(t_ser, QDir::toNativeSeparators(path));
    if (!QFileInfo(path).isFile()) {
        msg_info(this, QStringLiteral("텍스트파일을 찾을 수가 없습니다!"));
        return;
    }
    load_text_file();
}

void F2::load_text_file()
{
    clear_grid();
    la_inf->setText(QStringLiteral("검색대기중..."));
    const TextFileRecords file = read_text_file(path_);
    switch (file.status) {
    case TextFileRecords::Ok:
        break;
    case TextFileRecords::NotFound:
        msg_info(this, QStringLiteral("텍스트파일을 찾을 수가 없습니다!"));
        return;
    case TextFileRecords::Unreadable:
        msg_info(this, QStringLiteral("텍스트파일을 읽지 못하였습니다!"));
        return;
    case TextFileRecords::BadFormat:
    case TextFileRecords::TooBig:   // far beyond any batch: no batch file
        msg_info(this, QStringLiteral("텍스트파일 형식이 올바르지 않습니다!"));
        return;
    }
    std::vector<BatchRecord> records;
    records.reserve(file.records.size());
    for (const TermRec& r : file.records) records.push_back(file_rec_row(r));
    batch_.load(records);
}

void F2::t_ser_dbl_click()
{
    clear_grid();
    la_inf->setText(QStringLiteral("검색대기중..."));
    forget_file();
}

void F2::cmd_add_click()
{
    if (batch_.save(this)) forget_file();
}

void F2::cmd_edt_click()
{
    if (batch_.delete_row(this)) forget_file();
}

void F2::forget_file()
{
    path_.clear();
    t_ser->clear();
}
