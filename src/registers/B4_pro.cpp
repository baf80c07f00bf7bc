#include "registers/B4_pro.h"
#include "registers/items.h"
#include "shell/screens.h"
#include "ui/FlexGrid.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {
QPushButton* dialog_button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

void keep_grouped(QLineEdit* e)
{
    QObject::connect(e, &QLineEdit::textChanged, e, [e](const QString& t) {
        const QString f = fee_format(t);
        if (f != t) e->setText(f);
        e->setCursorPosition(int(e->text().size()));
    });
}
}

B4_pro::B4_pro(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("B4_pro"));
    setWindowTitle(QStringLiteral("대여료/연체료 일괄조정"));
    setModal(true);
    setFixedSize(twips_to_px(12000), twips_to_px(6600));

    c_dae = new QCheckBox(QStringLiteral("대여료"), this);
    c_dae->setObjectName(QStringLiteral("c_dae"));
    tw_place(c_dae, 240, 240, 1000, 330);
    t_dae = new QLineEdit(this);
    t_dae->setObjectName(QStringLiteral("t_dae"));
    t_dae->setAlignment(Qt::AlignRight);
    tw_place(t_dae, 1300, 240, 1500, 330);
    c_yun = new QCheckBox(QStringLiteral("연체료"), this);
    c_yun->setObjectName(QStringLiteral("c_yun"));
    tw_place(c_yun, 3100, 240, 1000, 330);
    t_yun = new QLineEdit(this);
    t_yun->setObjectName(QStringLiteral("t_yun"));
    t_yun->setAlignment(Qt::AlignRight);
    tw_place(t_yun, 4160, 240, 1500, 330);
    cmd_chk = dialog_button(this, "cmd_chk", QStringLiteral("저장"));
    tw_place(cmd_chk, 9225, 195, 1215, 420);
    cmd_can = dialog_button(this, "cmd_can", QStringLiteral("닫기"));
    tw_place(cmd_can, 10545, 195, 1215, 420);
    ms = new FlexGrid(this);
    ms->setObjectName(QStringLiteral("ms"));
    tw_place(ms, 240, 780, 11520, 5580);

    setTabOrder(c_dae, t_dae);
    setTabOrder(t_dae, c_yun);
    setTabOrder(c_yun, t_yun);
    setTabOrder(t_yun, cmd_chk);
    setTabOrder(cmd_chk, cmd_can);

    connect(c_dae, &QCheckBox::clicked, this, [this] { if (c_dae->isChecked()) t_dae->setFocus(); });
    connect(c_yun, &QCheckBox::clicked, this, [this] { if (c_yun->isChecked()) t_yun->setFocus(); });
    connect(t_dae, &QLineEdit::returnPressed, this, [this] { t_yun->setFocus(); });
    connect(t_yun, &QLineEdit::returnPressed, this, [this] { cmd_chk->setFocus(); });
    keep_grouped(t_dae);
    keep_grouped(t_yun);
    cmd_chk->installEventFilter(this);
    connect(cmd_chk, &QPushButton::clicked, this, &B4_pro::cmd_chk_click);
    connect(cmd_can, &QPushButton::clicked, this, &QDialog::reject);
}

void B4_pro::form_load()
{
    c_dae->setChecked(true);
    c_yun->setChecked(true);
    t_dae->clear();
    t_yun->clear();
}

bool B4_pro::eventFilter(QObject* o, QEvent* e)
{
    // Enter on the focused save button presses it.
    if (o == cmd_chk && e->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(e)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            cmd_chk->click();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void B4_pro::cmd_chk_click()
{
    const bool set_dae = c_dae->isChecked(), set_yun = c_yun->isChecked();
    if (!set_dae && !set_yun) {
        msg_info(this, QStringLiteral("대여료 또는 연체료가 하나 이상 체크되어야 합니다!"));
        return;
    }
    qint64 dae = 0, yun = 0;
    if (set_dae && (!fee_value(t_dae->text(), &dae) || dae < 0)) {
        msg_info(this, QStringLiteral("대여료가 올바르지 않습니다!"));
        t_dae->setFocus();
        return;
    }
    if (set_yun && (!fee_value(t_yun->text(), &yun) || yun < 0)) {
        msg_info(this, QStringLiteral("연체료가 올바르지 않습니다!"));
        t_yun->setFocus();
        return;
    }
    if (!msg_ask(this, QStringLiteral("대여료 및 연체료를 일괄 조정하시겠습니까?"))) return;
    QStringList cods;
    for (int r = 1; r < ms->rows(); ++r) cods << ms->text(r, 3);
    if (!items_set_fees(cods, set_dae, dae, set_yun, yun)) {
        msg_info(this, QStringLiteral("대여료/연체료 일괄조정실패!"));
        return;
    }
    msg_info(this, QStringLiteral("대여료/연체료 일괄조종완료!"));
    saved = 1;
    accept();
}

void B4_pro::done(int r)
{
    QDialog::done(r);
    if (QWidget* b4 = screens::find(QStringLiteral("B4")))
        if (auto* c = b4->findChild<QCheckBox*>(QStringLiteral("Check2"))) c->setChecked(false);
    if (saved > 0) screens::reload(QStringLiteral("B4"));
}
