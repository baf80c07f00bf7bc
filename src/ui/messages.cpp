#include "ui/messages.h"
#include "data/amounts.h"
#include "data/db.h"
#include "data/state.h"
#include "data/text.h"
#include "ui/msgbox.h"

QString count_text(qint64 n) { return QStringLiteral("검색건수: %1건").arg(amount_text(n)); }

QString list_count_text(int found)
{
    if (found <= 0) return QStringLiteral("검색 또는 등록된 자료가 존재하지 않습니다!");
    return count_text(found);
}

bool check_db(QWidget* parent)
{
    if (open_db()) return true;
    msg_info(parent, k_db_fail);
    return false;
}

bool check_right(QWidget* parent, const QString& right)
{
    if (has_right(user_rights, right)) return true;
    msg_info(parent, k_no_right);
    return false;
}

bool check_clear(QWidget* parent, Lookup check, const QString& failed_text, const QString& found_text)
{
    if (check == Lookup::None) return true;
    msg_info(parent, check == Lookup::Failed ? failed_text : found_text);
    return false;
}

bool ask_save(QWidget* parent, bool add)
{
    return msg_ask(parent, add ? QStringLiteral("작성한 내용을 등록하시겠습니까?")
                               : QStringLiteral("작성한 내용을 수정하시겠습니까?"));
}

bool ask_delete(QWidget* parent, const QString& key)
{
    return msg_ask(parent, QStringLiteral("[%1]항목을 삭제하시겠습니까?").arg(key));
}

bool report_delete(QWidget* parent, Deletion done, const QString& history_text)
{
    switch (done) {
    case Deletion::Done:
        msg_info(parent, QStringLiteral("삭제완료!"));
        return true;
    case Deletion::History:
        msg_info(parent, history_text);
        return false;
    case Deletion::Failed:
        break;
    }
    msg_info(parent, QStringLiteral("삭제실패!"));
    return false;
}
