#include "intake/batch.h"
#include "counter/rentals.h"
#include "data/amounts.h"
#include "data/clock.h"
#include "data/db.h"
#include "data/state.h"
#include "ui/FlexGrid.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QLabel>
#include <QProgressBar>
#include <QSet>
#include <array>
#include <cmath>

namespace {
const QString k_mark = QStringLiteral("●");

bool is_rental(const QString& gbn) { return gbn == u"1" || gbn == u"3"; }
bool is_return(const QString& gbn) { return gbn == u"2" || gbn == u"4"; }

void mark(BatchRow& r, const QString& tag)
{
    r.big += tag;
    r.err = k_mark;
}

// The first failing field check of a row, or an empty text.
QString field_tag(const BatchRow& r, BatchSource src, int barcode_len)
{
    if (!is_rental(r.gbn) && !is_return(r.gbn)) return QStringLiteral("구분오류,");
    if (!is_batch_date(r.dat)) return QStringLiteral("처리일자오류,");
    if (r.m_cod.isEmpty()) return QStringLiteral("회원코드오류,");
    if (src == BatchSource::Terminal) {
        if (r.p_cod.isEmpty() || r.p_cod.size() != barcode_len) return QStringLiteral("바코드오류,");
    } else {
        if (r.p_cod.isEmpty()) return QStringLiteral("1바코드오류,");
        if (r.p_cod.size() != barcode_len) return QStringLiteral("2바코드오류,");
    }
    if (!is_batch_number(r.cnt)) return QStringLiteral("처리수량오류,");
    return {};
}

// The cells of a row in grid order, columns 1 to 16.
template <class Row> auto row_cells(Row& b)
{
    return std::array{&b.err, &b.add, &b.gbn, &b.dat, &b.m_cod, &b.p_cod, &b.cnt, &b.big,
                      &b.dae, &b.yun, &b.nam, &b.m_gbn, &b.idx, &b.s_dat, &b.c_dat, &b.late};
}

// Whole number of a cell the check wrote; false when it is none.
bool cell_number(const QString& t, qint64* v)
{
    bool ok = false;
    *v = t.toLongLong(&ok);
    return ok;
}
}

void check_batch(Connection& c, std::vector<BatchRow>& rows, BatchSource src, int barcode_len,
                 const BatchProgress& progress)
{
    for (BatchRow& r : rows) {
        r.err.clear();
        r.add.clear();
        r.big.clear();
    }
    const int total = int(rows.size());
    // Barcodes already taken by an earlier rental row, or given back by an
    // earlier return row, of this batch.
    QSet<QString> rented, returned;
    for (int i = 0; i < total; ++i) {
        BatchRow& r = rows[size_t(i)];

        const QString tag = field_tag(r, src, barcode_len);
        if (!tag.isEmpty()) mark(r, tag);

        if (!r.m_cod.isEmpty()) {
            Cursor cur(c, Query("select nam,gbn from TB1 where cod=?", {r.m_cod}));
            if (cur.next()) {
                r.nam = cur.text(0);
                r.m_gbn = cur.text(1);
            } else {
                mark(r, QStringLiteral("회원코드오류,"));
            }
        }

        if (!r.p_cod.isEmpty() && r.p_cod.size() == barcode_len) {
            const bool rental = is_rental(r.gbn), back = is_return(r.gbn);
            if (rental || back) {
                Cursor item(c, Query("select dae,yun from TB4 where sta=? and cod=?",
                                     {rental ? QStringLiteral("N") : QStringLiteral("Y"), r.p_cod}));
                if (item.next()) {
                    r.dae = item.text(0);
                    r.yun = item.text(1);
                } else {
                    mark(r, QStringLiteral("바코드상태오류,"));
                }
            }
            if (back) {
                // The member's oldest open rental of this barcode.
                Cursor open(c, Query("select idx,s_dat,c_dat from TC1 where m_cod=? and p_cod=? and e_dat='' "
                                     "order by s_dat,idx limit 1",
                                     {r.m_cod, r.p_cod}));
                if (open.next()) {
                    r.idx = open.text(0);
                    r.s_dat = open.text(1);
                    r.c_dat = open.text(2);
                } else {
                    mark(r, QStringLiteral("대여내역확인못함,"));
                }
            }
            if (rental || back) {
                QSet<QString>& seen = rental ? rented : returned;
                const QString key = r.p_cod.toCaseFolded();
                if (seen.contains(key)) mark(r, QStringLiteral("중복바코드,"));
                else seen.insert(key);
            }
        } else {
            mark(r, QStringLiteral("바코드길이오류,"));
        }
        if (progress) progress(i + 1, total);
    }
}

BatchSave save_batch(Connection& c, const std::vector<BatchRow>& rows, int rental_days, const QDate& today,
                     const QString& user, const BatchProgress& progress)
{
    if (rows.empty()) return BatchSave::Empty;
    for (const BatchRow& r : rows)
        if (r.marked()) return BatchSave::Marked;

    Transaction t(c);
    if (!t.ok()) return BatchSave::Failed;
    const QString e_dat = date_text(today);
    const int total = int(rows.size());
    for (int i = 0; i < total; ++i) {
        const BatchRow& r = rows[size_t(i)];
        if (progress) progress(i + 1, total);
        if (is_rental(r.gbn)) {
            // A member deleted at another desk since the check gets no
            // rental: the whole batch stops.
            if (!member_registered(c, r.m_cod)) return BatchSave::Failed;
            qint64 fee = 0;
            if (r.m_gbn != u"A" && !cell_number(r.dae, &fee)) return BatchSave::Failed;
            const QDate s_dat = parse_date(r.dat);
            if (!s_dat.isValid()) return BatchSave::Failed;
            const QString chk = paid_flag(fee, r.gbn == u"1" ? QStringLiteral("Y") : QStringLiteral("N"));
            // The item is taken only while in stock: one rented meanwhile at
            // a counter stops the whole batch.
            if (t.exec(Query("update TB4 set sta='Y' where cod=? and sta='N'", {r.p_cod})) != 1)
                return BatchSave::Failed;
            if (t.exec(Query("insert into TC1(s_dat,c_dat,e_dat,m_cod,p_cod,m_dae,m_yun,m_dae_chk,m_yun_chk,"
                             "u_dae,u_ban,big,mgm,ccc) values (?,?,'',?,?,?,0,?,'N',?,'','','N',0)",
                             {r.dat, due_date(s_dat, rental_days), r.m_cod, r.p_cod, fee, chk, user}))
                != 1)
                return BatchSave::Failed;
        } else if (is_return(r.gbn)) {
            qint64 idx = 0, yun = 0;
            if (!cell_number(r.idx, &idx) || !cell_number(r.yun, &yun)) return BatchSave::Failed;
            if (!parse_date(r.c_dat).isValid()) return BatchSave::Failed;
            const qint64 fee = late_fee(r.c_dat, today, yun);
            const QString chk = paid_flag(fee, r.gbn == u"2" ? QStringLiteral("Y") : QStringLiteral("N"));
            // Only a rental still open is closed.
            if (t.exec(Query("update TC1 set e_dat=?,m_yun=?,m_yun_chk=?,u_ban=? "
                             "where idx=? and e_dat='' and m_cod=? and p_cod=?",
                             {e_dat, fee, chk, user, idx, r.m_cod, r.p_cod}))
                != 1)
                return BatchSave::Failed;
            // Back in stock, as at the counter, unless the item is out on
            // another rental still open; then no row changes.
            if (t.exec(Query("update TB4 set sta='N' where cod=? and not exists "
                             "(select 1 from TC1 where p_cod=TB4.cod and e_dat='')",
                             {r.p_cod}))
                < 0)
                return BatchSave::Failed;
        }
    }
    return t.commit() ? BatchSave::Saved : BatchSave::Failed;
}

// ---- UploadBatch ----

UploadBatch::UploadBatch(BatchSource src, FlexGrid* ms, QProgressBar* pb, QLabel* la_inf)
    : src_(src), ms_(ms), pb_(pb), la_inf_(la_inf)
{
}

bool UploadBatch::loaded() const { return ms_->cols() == batch_col::count; }

int UploadBatch::data_rows() const { return loaded() ? ms_->rows() - 1 : 0; }

void UploadBatch::clear_grid() { ms_->clear_grid(1); }

void UploadBatch::set_progress(int value, int max)
{
    if (!pb_) return;
    // A maximum of 0 would make the bar a busy animation.
    pb_->setRange(0, std::max(max, 1));
    pb_->setValue(value);
}

void UploadBatch::set_col_width()
{
    if (!loaded()) return;
    ms_->set_col_width(0, 0);
    ms_->set_col_width(1, col_w[0]);
    ms_->set_col_width(2, 0);
    ms_->set_col_width(3, col_w[0]);
    ms_->set_col_width(4, col_w[1]);
    ms_->set_col_width(5, 900);
    ms_->set_col_width(6, col_w[8]);
    ms_->set_col_width(7, col_w[15]);
    for (int c = 9; c < batch_col::count; ++c) ms_->set_col_width(c, 0);
    int used = 0;
    for (int c = 1; c <= 7; ++c) used += ms_->col_width(c);
    ms_->set_col_width(8, std::max(tw_rect(ms_).width - used - 330, 2500));
}

void UploadBatch::load(const std::vector<BatchRecord>& records)
{
    clear_grid();
    const int n = int(records.size());
    ms_->set_redraw(false);
    QStringList heads = {QString(), QStringLiteral("오류"), QStringLiteral("추가"), QStringLiteral("구분"),
                         QStringLiteral("처리일자"), QStringLiteral("회원코드"), QStringLiteral("바 코 드"),
                         QStringLiteral("처리수량"), QStringLiteral("비    고"), QStringLiteral("입고단가"),
                         QStringLiteral("출고단가"), QStringLiteral("회 원 명"), QStringLiteral("회원구분"),
                         QStringLiteral("인덱스"), QStringLiteral("대여일"), QStringLiteral("예정일"),
                         QStringLiteral("연체료")};
    // The text upload names the member's columns after trading partners.
    if (src_ == BatchSource::File) {
        heads[batch_col::nam] = QStringLiteral("거래처명");
        heads[batch_col::m_gbn] = QStringLiteral("거래구분");
    }
    ms_->set_header(heads);
    ms_->set_col_alignment({1, 2, 3, 4, 5}, FlexGrid::AlignCenter);
    ms_->set_col_alignment({6, 8}, FlexGrid::AlignLeft);
    ms_->set_col_alignment(7, FlexGrid::AlignRight);
    ms_->reserve_rows(n + 1, 64);
    ms_->set_rows(n + 1);
    ms_->set_row_height(1, 380);
    set_progress(0, n);
    for (int i = 0; i < n; ++i) {
        const BatchRecord& rec = records[size_t(i)];
        const int r = i + 1;
        ms_->set_text(r, batch_col::gbn, rec.gbn);
        ms_->set_text(r, batch_col::dat, rec.dat);
        ms_->set_text(r, batch_col::m_cod, rec.m_cod);
        ms_->set_text(r, batch_col::p_cod, rec.p_cod);
        ms_->set_text(r, batch_col::cnt, rec.cnt);
        set_progress(r, n);
    }
    if (n > 0) ms_->set_row(1);
    ms_->set_redraw(true);
    err_check();
    set_col_width();
}

std::vector<BatchRow> UploadBatch::rows() const
{
    std::vector<BatchRow> out;
    const int n = data_rows();
    out.resize(size_t(n));
    for (int i = 0; i < n; ++i) {
        const int r = i + 1;
        const auto cells = row_cells(out[size_t(i)]);
        for (int c = 1; c < batch_col::count; ++c) *cells[size_t(c - 1)] = ms_->text(r, c);
    }
    return out;
}

void UploadBatch::set_rows(const std::vector<BatchRow>& rows)
{
    if (!loaded()) return;
    const bool redraw = ms_->redraw();
    ms_->set_redraw(false);
    ms_->set_rows(int(rows.size()) + 1);
    for (size_t i = 0; i < rows.size(); ++i) {
        const int r = int(i) + 1;
        const auto cells = row_cells(rows[i]);
        for (int c = 1; c < batch_col::count; ++c) ms_->set_text(r, c, *cells[size_t(c - 1)]);
    }
    ms_->set_redraw(redraw);
}

void UploadBatch::err_check()
{
    if (!loaded()) return;
    std::vector<BatchRow> batch = rows();
    const int n = int(batch.size());
    set_progress(0, n);
    check_batch(con(), batch, src_, p_cod_cnt, [this](int done, int total) { set_progress(done, total); });
    set_rows(batch);
    if (la_inf_) la_inf_->setText(count_text(n));
}

bool UploadBatch::delete_row(QWidget* parent)
{
    if (!check_right(parent, QStringLiteral("del"))) return false;
    // Nothing to remove without a data row (also a file too short for one).
    if (!loaded() || data_rows() == 0) return false;
    const int r = ms_->data_row();
    if (r == 0) return false;
    if (!msg_ask(parent, QStringLiteral("선택하신 자료를 삭제하시겠습니까?"))) return false;
    if (data_rows() == 1) {
        clear_grid();
        if (la_inf_) la_inf_->setText(QStringLiteral("검색대기중..."));
        return true;
    }
    std::vector<BatchRow> batch = rows();
    batch.erase(batch.begin() + (r - 1));
    set_rows(batch);
    ms_->set_row(std::min(r, data_rows()));
    err_check();
    return false;
}

bool UploadBatch::save(QWidget* parent)
{
    // Without data rows there is nothing to save, and nothing is said.
    if (data_rows() == 0) return false;
    std::vector<BatchRow> batch = rows();
    for (const BatchRow& r : batch)
        if (r.marked()) {
            msg_info(parent, QStringLiteral("오류데이터가 존재합니다!"));
            return false;
        }
    if (!msg_ask(parent, src_ == BatchSource::Terminal ? QStringLiteral("수신 자료를 저장하시겠습니까?")
                                                       : QStringLiteral("파일 자료를 저장하시겠습니까?")))
        return false;
    if (!check_db(parent)) return false;
    const BatchSave done = save_batch(shared_con(), batch, max_dat, today(), cur_user,
                                      [this](int i, int total) { set_progress(i, total); });
    if (done != BatchSave::Saved) {
        msg_info(parent, src_ == BatchSource::Terminal ? QStringLiteral("수신 자료를 저장하지 못하였습니다!")
                                                       : QStringLiteral("파일 자료를 저장하지 못하였습니다!"));
        return false;
    }
    msg_info(parent, src_ == BatchSource::Terminal ? QStringLiteral("수신 자료를 저장하였습니다!")
                                                   : QStringLiteral("파일 자료를 저장하였습니다!"));
    clear_grid();
    if (la_inf_) la_inf_->setText(QStringLiteral("검색대기중..."));
    return true;
}
