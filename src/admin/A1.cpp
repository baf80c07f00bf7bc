#include "admin/A1.h"
#include "admin/settings.h"
#include "shell/screens.h"
#include "ui/boxes.h"
#include "ui/controls.h"
#include "ui/msgbox.h"
#include "ui/twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {
const char* const no_file = "데이터베이스연결설정파일을 찾지 못하였습니다!";
}

A1::A1(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("A1"));
    setWindowTitle(QStringLiteral("네트워크공유설정"));
    setModal(true);

    Frame1 = named<QGroupBox>("Frame1", this);
    tw_place(Frame1, 120, 60, 6000, 700);
    t_chk = named<QCheckBox>("t_chk", QStringLiteral("이 컴퓨터를 프로그램 서버로 설정합니다!"), Frame1);
    tw_place(t_chk, 240, 240, 5600, 330);

    Frame2 = named<QGroupBox>("Frame2", this);
    tw_place(Frame2, 120, 840, 6000, 700);
    t_code = named<QLineEdit>("t_code", Frame2);
    tw_place(t_code, 240, 220, 5520, 330);

    cmd_ok = plain_button(this, "cmd_ok", QStringLiteral("확인"), 4905, 1650, 1215, 420);
    connect(cmd_ok, &QPushButton::clicked, this, &A1::cmd_ok_click);

    setFixedSize(twips_to_px(6240), twips_to_px(2200));
    move(twips_to_px(100), twips_to_px(800));
    Form_Load();
}

void A1::Form_Load()
{
    const ConpathView v = load_conpath_view();
    if (!v.found) {
        msg_info(this, QString::fromUtf8(no_file));
        return;
    }
    t_chk->setChecked(v.server);
    fill_box(t_code, v.folder);
}

void A1::cmd_ok_click()
{
    // A folder left as it was shown is saved as it stands; a changed one is cleaned.
    clean_changed({t_code});
    const QString folder = box_value(t_code);
    switch (save_conpath(t_chk->isChecked(), folder)) {
    case ConpathSave::NoFile:
        msg_info(this, QString::fromUtf8(no_file));
        return;
    case ConpathSave::WriteFailed:
        msg_info(this, QStringLiteral("데이터베이스연결설정을 저장하지 못하였습니다!"));
        return;
    case ConpathSave::Ok:
        break;
    }
    msg_info(this, QStringLiteral("데이터베이스연결을 설정하였습니다!\n\n프로그램을 다시 시작하세요!"));
    accept();
    // The next start connects to the new place.
    if (QWidget* main = screens::main_window()) main->close();
}
