#include "output/grid_sheet.h"
#include "output/list_source.h"
#include "data/text.h"
#include "ui/FlexGrid.h"
#include "ui/msgbox.h"

#include <xlsxwriter.h>

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <cfenv>
#include <cmath>
#include <string>
#include <unistd.h>

int sheet_width(int twips)
{
    // Half to even, as the spreadsheet's own rounding does: 75 -> 0, 225 -> 2.
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const int w = int(std::nearbyint(twips / 150.0));
    std::fesetround(mode);
    return w;
}

bool write_grid_sheet(const QString& path, const FlexGrid& ms, const QString& title, const QString& info,
                      const std::function<void()>& row_done)
{
    const QByteArray file = QFile::encodeName(path);
    const QByteArray tmp = QFile::encodeName(QFileInfo(path).absolutePath());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(tmp.constData());
    options.use_zip64 = LXW_TRUE;
    lxw_workbook* wb = workbook_new_opt(file.constData(), &options);
    if (!wb) return false;
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    if (!ws) {
        workbook_close(wb);
        return false;
    }
    lxw_format* left = workbook_add_format(wb);
    format_set_align(left, LXW_ALIGN_LEFT);
    lxw_format* centre = workbook_add_format(wb);
    format_set_align(centre, LXW_ALIGN_CENTER);
    lxw_format* right = workbook_add_format(wb);
    format_set_align(right, LXW_ALIGN_RIGHT);

    const int cols = ms.cols();
    const int rows = ms.rows();
    // Sheet column c - 1 (0-based) stands for grid column c.
    std::vector<lxw_format*> col_format(size_t(std::max(cols, 1)), left);
    std::vector<int> widths(size_t(std::max(cols, 1)), -1);
    for (int c = 1; c < cols; ++c) {
        switch (ms.col_alignment(c)) {
        case FlexGrid::AlignCenter: col_format[c] = centre; break;
        case FlexGrid::AlignRight: col_format[c] = right; break;
        default: col_format[c] = left; break;
        }
        widths[c] = sheet_width(ms.col_width(c));
        lxw_row_col_options hide{};
        hide.hidden = widths[c] == 0 ? 1 : 0;
        worksheet_set_column_opt(ws, lxw_col_t(c - 1), lxw_col_t(c - 1), widths[c], col_format[c], &hide);
    }

    // Title and information line in A, or in B when A is a hidden column; B
    // keeps the alignment of its column.
    const bool in_b = cols > 1 && widths[1] == 0;
    lxw_format* b_format = cols > 2 ? col_format[2] : nullptr;
    const QByteArray head[2] = {title.toUtf8(), info.toUtf8()};
    for (int r = 0; r < 2; ++r) {
        if (in_b) {
            worksheet_write_blank(ws, lxw_row_t(r), 0, left);
            worksheet_write_string(ws, lxw_row_t(r), 1, head[r].constData(), b_format);
        } else {
            worksheet_write_string(ws, lxw_row_t(r), 0, head[r].constData(), left);
        }
    }

    worksheet_set_row(ws, 2, LXW_DEF_ROW_HEIGHT, centre);
    const GridStore& store = ms.store();
    std::string cell;
    for (int r = 0; r < rows; ++r) {
        for (int c = 1; c < cols; ++c) {
            int len = 0;
            const char* p = store.utf8(r, c, &len);
            if (len == 0) continue;
            // A spreadsheet cell holds 32,767 characters, and the writer
            // drops a longer text whole: the cell keeps as much as it can.
            cell.assign(p, size_t(utf8_head_bytes(p, len, 32767)));
            worksheet_write_string(ws, lxw_row_t(r + 2), lxw_col_t(c - 1), cell.c_str(),
                                   r == 0 ? centre : col_format[c]);
        }
        if (row_done) row_done();
    }
    return workbook_close(wb) == LXW_NO_ERROR;
}

QString sheet_title(QWidget* frm) { return QStringLiteral("[%1]").arg(ListSource::of(frm).caption()); }

QString sheet_info(QWidget* frm, const QString& code)
{
    const ListSource src = ListSource::of(frm);
    if (code.startsWith(u'B')) return src.info();
    return QStringLiteral("%1  검색기간: %2 ~ %3").arg(src.info(), src.date1(), src.date2());
}

namespace {
// What the exports left behind: the program's own export folders in `tmp`
// (named as export_to_excel names them, made by this user, folders and not
// links) last changed more than a day ago go, with the read-only workbooks
// in them. A folder that holds anything else (a workbook the user saved
// there, the lock file of a spreadsheet program that has it open, a folder,
// a link) stays as it is.
void remove_old_exports(const QString& tmp)
{
    static const QRegularExpression own_name(QStringLiteral("^torvisk-export-[A-Za-z0-9]{6}$"));
    const QDateTime day_ago = QDateTime::currentDateTimeUtc().addDays(-1);
    const QDir root(tmp);
    const auto folders = root.entryInfoList({QStringLiteral("torvisk-export-*")},
                                            QDir::Dirs | QDir::NoSymLinks | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& f : folders) {
        if (!own_name.match(f.fileName()).hasMatch() || f.isSymLink() || !f.isDir()) continue;
        if (f.ownerId() != uint(::geteuid()) || f.lastModified().toUTC() >= day_ago) continue;
        const QDir folder(f.absoluteFilePath());
        const auto entries =
            folder.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        const bool only_exports = std::all_of(entries.begin(), entries.end(), [](const QFileInfo& e) {
            return !e.isSymLink() && e.isFile() && !(e.permissions() & QFile::WriteOwner);
        });
        if (!only_exports) continue;
        bool emptied = true;
        for (const QFileInfo& e : entries) emptied = QFile::remove(e.absoluteFilePath()) && emptied;
        if (emptied) root.rmdir(f.fileName());
    }
}
}

void export_to_excel(QWidget* frm, const QString& code)
{
    const ListSource src = ListSource::of(frm);
    if (!src.ms) return;
    if (!src.has_rows()) {
        msg_info(frm, QStringLiteral("엑셀로 변환할 내용이 없습니다!"));
        return;
    }
    // A fresh folder of its own, left for the spreadsheet program; the
    // workbook is read-only, so the user keeps it only under a new name.
    // (A temporary path that names no folder comes back empty: no folder
    // is then made at the root.)
    const QString tmp = QDir::tempPath();
    if (!tmp.isEmpty()) remove_old_exports(tmp);
    QTemporaryDir dir(tmp + QStringLiteral("/torvisk-export-XXXXXX"));
    dir.setAutoRemove(false);
    bool ok = !tmp.isEmpty() && dir.isValid();
    QString name = src.caption();
    name.replace(u'/', u'_');
    const QString path = dir.path() + u'/' + (name.isEmpty() ? QStringLiteral("list") : name) + QStringLiteral(".xlsx");
    src.start_progress(src.ms->rows() - 1);
    ok = ok && write_grid_sheet(path, *src.ms, sheet_title(frm), sheet_info(frm, code), [&src] { src.step_progress(); });
    ok = ok && QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    ok = ok && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    if (!ok) {
        if (dir.isValid()) dir.remove();
        msg_info(frm, QStringLiteral("엑셀변환실패!"));
    }
}
