#include "intake/A6.h"
#include "data/state.h"
#include "ui/FlexGrid.h"

namespace {
std::array<LoadWindow::Column, k_load_cols> member_columns()
{
    constexpr int L = FlexGrid::AlignLeft, C = FlexGrid::AlignCenter;
    // Dates get a little more than the standard width, so that the whole
    // yyyy-mm-dd shows in the program's font (as in the rental history).
    const int date_w = col_w[1] + 150;
    return {{{QString(), 0, L},
             {QStringLiteral("ERR"), col_w[0], C},
             {QStringLiteral("회원구분"), col_w[1], C},
             {QStringLiteral("가입일자"), date_w, C},
             {QStringLiteral("시작일자"), date_w, C},
             {QStringLiteral("만료일자"), date_w, C},
             {QStringLiteral("결제여부"), col_w[1], C},
             {QStringLiteral("회원코드"), col_w[2], C},
             {QStringLiteral("회 원 명"), col_w[3], L},
             {QStringLiteral("전화번호"), col_w[4], L},
             {QStringLiteral("휴 대 폰"), col_w[5], L},
             {QStringLiteral("주    소"), col_w[6], L},
             {QStringLiteral("비    고"), 0, L}}};
}
}

A6::A6(QWidget* parent)
    : LoadWindow(QStringLiteral("A6"),
                 {QStringLiteral("전체회원엑셀로드"), QStringLiteral("전체회원"),
                  QStringLiteral("전체회원이 기록된 엑셀파일을 호출합니다!"),
                  QStringLiteral("[%1]중복된 회원코드가 존재합니다!"),
                  QStringLiteral("로드된 전체회원을 등록처리하시겠습니까?"),
                  QStringLiteral("프로그램이 전체회원을 처리하였습니다!"),
                  QStringLiteral("프로그램이 전체회원을 처리하지 못하였습니다!"), member_columns,
                  [](LoadCells& c) { return check_member_cells(c, m_cod_cnt); }, 7,
                  [](const GridStore& g, const LoadProgress& p) { return save_members(g, haebi, p); }},
                 parent)
{
}
