#include "intake/A7.h"
#include "data/state.h"
#include "ui/FlexGrid.h"

namespace {
std::array<LoadWindow::Column, k_load_cols> item_columns()
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
}

A7::A7(QWidget* parent)
    : LoadWindow(QStringLiteral("A7"),
                 {QStringLiteral("전체품목엑셀로드"), QStringLiteral("전체품목"),
                  QStringLiteral("전체품목이 기록된 엑셀파일을 호출합니다!"),
                  QStringLiteral("[%1]중복된 바코드가 존재합니다!"),
                  QStringLiteral("로드된 전체품목을 등록처리하시겠습니까?"),
                  QStringLiteral("프로그램이 전체품목을 처리하였습니다!"),
                  QStringLiteral("프로그램이 전체품목을 처리하지 못하였습니다!"), item_columns,
                  [](LoadCells& c) { return check_item_cells(c, p_cod_cnt); }, 3,
                  [](const GridStore& g, const LoadProgress& p) { return save_items(g, p); }},
                 parent)
{
}
