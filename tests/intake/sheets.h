#pragma once
// Workbooks for the load tests, written with libxlsxwriter: the first
// worksheet holds the rows given, row 1 first.
#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <xlsxwriter.h>

// A QDate is written as a date cell, a number as a number cell, a string
// as text; an invalid QVariant leaves the cell empty.
inline bool write_book(const QString& path, const QList<QVariantList>& rows, int first_row = 1)
{
    const QByteArray p = path.toUtf8();
    lxw_workbook* wb = workbook_new(p.constData());
    if (!wb) return false;
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    lxw_format* date = workbook_add_format(wb);
    format_set_num_format(date, "yyyy-mm-dd");
    for (int r = 0; r < rows.size(); ++r) {
        const auto row = lxw_row_t(r + first_row - 1);
        for (int c = 0; c < rows[r].size(); ++c) {
            const QVariant& v = rows[r][c];
            const auto col = lxw_col_t(c);
            if (!v.isValid()) continue;
            if (v.typeId() == QMetaType::QDate) {
                const QDate d = v.toDate();
                lxw_datetime dt = {d.year(), d.month(), d.day(), 0, 0, 0};
                worksheet_write_datetime(ws, row, col, &dt, date);
            } else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::Double
                       || v.typeId() == QMetaType::LongLong) {
                worksheet_write_number(ws, row, col, v.toDouble(), nullptr);
            } else {
                worksheet_write_string(ws, row, col, v.toString().toUtf8().constData(), nullptr);
            }
        }
    }
    return workbook_close(wb) == LXW_NO_ERROR;
}

// The heading rows of the two sheets.
inline QVariantList member_heads()
{
    return {"구분", "가입일", "시작일", "만료일", "결제", "코드", "이름", "전화", "휴대폰", "주소", "비고"};
}
inline QVariantList item_heads()
{
    return {"분류", "바코드", "품명", "규격", "제조사", "비고1", "비고2", "비고3", "대여료", "연체료", "비고"};
}
