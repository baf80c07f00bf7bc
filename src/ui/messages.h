#pragma once
#include "data/db.h"
#include <QString>

class QWidget;

// Message texts that many screens show.
inline const QString k_db_fail = QStringLiteral("(서버)데이터베이스연결실패!");
inline const QString k_no_right = QStringLiteral("프로그램에서 승인할 수 없는 사용자입니다!");

// The count line "검색건수: n건", n digit-grouped.
QString count_text(qint64 n);
// The found-rows line under a list: count_text, or the no-data text for 0.
QString list_count_text(int found);

// Opens the database for an action; when it cannot, tells the clerk
// (k_db_fail) and gives false.
bool check_db(QWidget* parent);
// Whether the logged-in user holds the right ("xls", "prt", "add", "edt",
// "del"); when not, tells the clerk (k_no_right) and gives false.
bool check_right(QWidget* parent, const QString& right);
// A check before a write, told to the clerk: a check that failed says
// `failed_text`, a row found says `found_text`. True only when none was found.
bool check_clear(QWidget* parent, Lookup check, const QString& failed_text, const QString& found_text);
// "작성한 내용을 등록하시겠습니까?" for a new entry, else "...수정하시겠습니까?"; true on Yes.
bool ask_save(QWidget* parent, bool add);
// "[key]항목을 삭제하시겠습니까?"; true on Yes.
bool ask_delete(QWidget* parent, const QString& key);
// Tells the clerk how a deletion went: "삭제완료!", `history_text`, or
// "삭제실패!". True when it was done.
bool report_delete(QWidget* parent, Deletion done, const QString& history_text);
