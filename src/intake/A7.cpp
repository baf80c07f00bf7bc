#include "intake/A7.h"
#include "data/state.h"
#include "ui/FlexGrid.h"

A7::A7(QWidget* parent)
    : LoadWindow(QStringLiteral("A7"), QStringLiteral("전체품목엑셀로드"), QStringLiteral("전체품목"),
                 QStringLiteral("전체품목이 기록된 엑셀파일을 호출합니다!"), parent)
{
}

std::array<LoadWindow::Column, k_load_cols> A7::columns() const
{
    constexpr int L = FlexGrid::AlignLeft, C = FlexGrid::AlignCenter, R = FlexGrid::AlignRight;
    return {{{QString(), 0, L},
             {QStringLiteral("ERR"), col_w[0], C},
             {QStringLiteral("품목분류"), col_w[7], L},
             {QStringLiteral("바 코 드"), col_w[8], L},
             {f1_nam, col_w[9], L},
             {f2_nam, col_w[10], L},
             {f3_nam, col_w[11], L},
             {f4_nam, col_w[12], L},
             {f5_nam, col_w[13], L},
             {f6_nam, col_w[14], L},
             {QStringLiteral("대 여 료"), col_w[16], R},
             {QStringLiteral("연 체 료"), col_w[16], R},
             {QStringLiteral("비    고"), 0, L}}};
}

bool A7::check_cells(LoadCells& cells) const { return check_item_cells(cells, p_cod_cnt); }

QString A7::duplicate_text(const QString& key) const
{
    return QStringLiteral("[%1]중복된 바코드가 존재합니다!").arg(key);
}

QString A7::ask_text() const { return QStringLiteral("로드된 전체품목을 등록처리하시겠습니까?"); }
QString A7::done_text() const { return QStringLiteral("프로그램이 전체품목을 처리하였습니다!"); }
QString A7::failed_text() const { return QStringLiteral("프로그램이 전체품목을 처리하지 못하였습니다!"); }

bool A7::save(const LoadProgress& progress) { return save_items(ms->store(), progress); }
