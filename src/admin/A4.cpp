#include "admin/A4.h"
#include "data/db.h"
#include "shell/screens.h"
#include "ui/boxes.h"
#include "ui/controls.h"
#include "ui/messages.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

A4::A4(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("A4"));
    setWindowTitle(QStringLiteral("프로그램환경설정"));
    setModal(true);

    Frame1 = named<QGroupBox>("Frame1", QStringLiteral("프로그램의 기본적인 사용환경을 정의합니다!"), this);

    struct Def { const char* name; const char* label; bool number; };
    const Def defs[F_COUNT] = {
        {"t_p_cod_cnt", "바 코 드", true},        {"t_m_cod_cnt", "회원코드", true},
        {"t_haebi", "연 회 비", true},            {"t_f1_nam", "필드(1)네임", false},
        {"t_f2_nam", "필드(2)네임", false},       {"t_f3_nam", "필드(3)네임", false},
        {"t_f4_nam", "필드(4)네임", false},       {"t_f5_nam", "필드(5)네임", false},
        {"t_f6_nam", "필드(6)네임", false},       {"t_max_dat", "기본대여기간", true},
        {"t_max_cnt", "기본대여수량", true},
    };
    int top = 360;
    for (int i = 0; i < F_COUNT; ++i) {
        auto* label = new QLabel(QString::fromUtf8(defs[i].label), Frame1);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        tw_place(label, 240, top + 30, 1400, 300);
        auto* b = new QLineEdit(Frame1);
        b->setObjectName(QString::fromLatin1(defs[i].name));
        tw_place(b, 1700, top, 3000, 330);
        if (defs[i].number) {
            b->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            connect(b, &QLineEdit::textChanged, this, [this, b] { number_change(b); });
        }
        boxes_[i] = b;
        top += 420;
    }
    tw_place(Frame1, 120, 60, 5000, top + 120);
    t_p_cod_cnt = boxes_[F_P_COD_CNT];
    t_m_cod_cnt = boxes_[F_M_COD_CNT];
    t_haebi = boxes_[F_HAEBI];
    t_f1_nam = boxes_[F_F1_NAM];
    t_f2_nam = boxes_[F_F2_NAM];
    t_f3_nam = boxes_[F_F3_NAM];
    t_f4_nam = boxes_[F_F4_NAM];
    t_f5_nam = boxes_[F_F5_NAM];
    t_f6_nam = boxes_[F_F6_NAM];
    t_max_dat = boxes_[F_MAX_DAT];
    t_max_cnt = boxes_[F_MAX_CNT];

    cmd_ok = plain_button(this, "cmd_ok", QStringLiteral("확인"), 3905, top + 300, 1215, 420);
    connect(cmd_ok, &QPushButton::clicked, this, &A4::cmd_ok_click);

    auto* chain = new EnterChain(this);
    chain->link_all({t_p_cod_cnt, t_m_cod_cnt, t_haebi, t_f1_nam, t_f2_nam, t_f3_nam, t_f4_nam, t_f5_nam, t_f6_nam,
                     t_max_dat, t_max_cnt, cmd_ok});

    setFixedSize(twips_to_px(5240), twips_to_px(top + 900));
    move(twips_to_px(100), twips_to_px(800));
    Form_Load();
}

void A4::Form_Load()
{
    SettingsText t;
    if (!read_settings_text(&t)) return;
    // Numbers keep the caret at their end, as typing leaves it; the field
    // captions show from their start.
    for (int i = 0; i < F_COUNT; ++i) {
        if (i >= F_F1_NAM && i <= F_F6_NAM) fill_box(boxes_[i], t.v[i]);
        else boxes_[i]->setText(t.v[i]);
    }
}

void A4::number_change(QLineEdit* b)
{
    if (formatting_) return;
    const QString typed = b->text();
    const QString shown = group_while_typing(typed);
    if (shown == typed && b->cursorPosition() == typed.size()) return;
    formatting_ = true;
    if (shown != typed) b->setText(shown);
    // A number keeps the caret at its end; other text stays as typed.
    qint64 n = 0;
    if (parse_whole(typed, &n)) b->setCursorPosition(shown.size());
    formatting_ = false;
}

void A4::cmd_ok_click()
{
    SettingsText t;
    // A caption the clerk changed is cleaned, and shows so; one left as it
    // was shown is the stored one, whole and not cleaned again.
    clean_changed(QList<QLineEdit*>(boxes_ + F_F1_NAM, boxes_ + F_F6_NAM + 1));
    for (int i = 0; i < F_COUNT; ++i) t.v[i] = box_value(boxes_[i]);
    SettingsValues v;
    int bad = -1;
    const QString refusal = check_settings(&t, &v, &bad);
    if (!refusal.isEmpty()) {
        msg_info(this, refusal);
        if (bad >= 0) boxes_[bad]->setFocus();
        return;
    }
    if (!check_db(this)) return;
    if (!msg_ask(this, QStringLiteral("작성된 내용을 저장하시겠습니까?"))) return;
    if (!write_settings(v)) {
        msg_info(this, QStringLiteral("프로그램환경설정을 저장하지 못하였습니다!"));
        return;
    }
    msg_info(this, QStringLiteral("프로그램환경설정을 저장하였습니다! 프로그램을 다시 시작하세요!"));
    accept();
    // The settings are read at the next log-in, after a new start.
    if (QWidget* main = screens::main_window()) main->close();
}
