#include "ui/messages.h"
#include "data/amounts.h"

QString list_count_text(int found)
{
    if (found <= 0) return QStringLiteral("검색 또는 등록된 자료가 존재하지 않습니다!");
    return QStringLiteral("검색건수: ") + amount_text(found) + QStringLiteral("건");
}
