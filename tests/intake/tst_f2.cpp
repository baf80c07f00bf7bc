#include "intake/F2.h"
#include "data/clock.h"
#include "data/state.h"
#include "records.h"
#include "shell/screens.h"
#include "support/driving.h"
#include "support/fixture.h"
#include "ui/FlexGrid.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace {
QDate day0() { return QDate(2026, 12, 8); }

void open_shop(TestShop& shop)
{
    QVERIFY(shop.ok());
    set_today(day0());
    QVERIFY(shop.login_admin());
    shop.add_category("DVD");
    shop.add_member("A1", "정회원", "A");
    shop.add_member("B1", "비회원", "B");
    for (const char* p : {"P0000001", "P0000002", "P0000003"}) shop.add_item(p, "DVD", 1000, 500);
}

// Chooses `path` in the Open dialog of cmd_fnd.
void choose_file(F2* w, const QString& path)
{
    drive("cd", [path](QWidget* d) {
        auto* fd = static_cast<QFileDialog*>(d);
        fd->selectFile(path);
        QMetaObject::invokeMethod(fd, "accept");
    });
    QTest::mouseClick(w->cmd_fnd, Qt::LeftButton);
}

// A file of three rentals dated 2026-12-07; the second of an unknown member.
QByteArray three_rentals()
{
    return file_line("1", "20261207", "A1", "P0000001", "1") + file_line("3", "20261207", "ZZ", "P0000002", "1")
           + file_line("3", "20261207", "B1", "P0000003", "00002");
}
}

// The text-file upload as the clerk uses it.
class TestF2 : public QObject {
    Q_OBJECT
private slots:
    void opens_from_the_registry();
    void load_delete_and_save();
    void refused_and_empty_files();
    void row_deletion_rules();
    void failed_save_keeps_the_batch();
    void hangul_codes_from_cp949();
};

void TestF2::opens_from_the_registry()
{
    TestShop shop;
    open_shop(shop);
    screens::register_all_screens();
    QVERIFY(screens::has_factory("F2"));
    std::unique_ptr<QWidget> w(screens::create("F2"));
    QCOMPARE(w->objectName(), QString("F2"));
    QCOMPARE(w->windowTitle(), QString("텍스트파일업로드"));
    auto* f = static_cast<F2*>(w.get());
    QCOMPARE(f->la_inf->text(), QString("검색대기중..."));
    QCOMPARE(f->la_usr->text(), QString("ADMIN"));
    QCOMPARE(f->Label1->text(), QString("파일열기"));
    QVERIFY(!f->batch().loaded());
    QVERIFY(child<QPushButton>(f, "cmd_add") && child<QPushButton>(f, "cmd_edt") && child<QPushButton>(f, "cmd_ext"));
    QVERIFY(!child<QPushButton>(f, "cmd_del"));
}

void TestF2::load_delete_and_save()
{
    TestShop shop;
    open_shop(shop);
    // A path far longer than a search box's 100 characters is kept whole.
    const QString deep = shop.dir() + "/" + QString(100, u'd');
    QVERIFY(QDir().mkpath(deep));
    const QString path = write_file(deep + "/batch.txt", three_rentals());
    MsgResponder r;
    std::unique_ptr<F2> w(show_window<F2>(1200, 700));
    choose_file(w.get(), path);
    QCOMPARE(w->t_ser->text(), QDir::toNativeSeparators(path));
    QCOMPARE(w->ms->rows(), 4);
    QCOMPARE(column(w->ms, 4), QStringList({"2026-12-07", "2026-12-07", "2026-12-07"}));
    QCOMPARE(column(w->ms, 7), QStringList({"1", "1", "2"}));
    QCOMPARE(column(w->ms, 1), QStringList({"", "●", ""}));
    QCOMPARE(w->ms->text(2, 8), QString("회원코드오류,"));
    QCOMPARE(w->la_inf->text(), QString("검색건수: 3건"));
    QCOMPARE(w->PB->maximum(), 3);

    // Refused while a row is marked.
    QTest::mouseClick(w->cmd_add, Qt::LeftButton);
    QCOMPARE(r.texts, QStringList({"오류데이터가 존재합니다!"}));
    QCOMPARE(shop.count("TC1"), 0);

    // The clerk deletes the marked row; the rest is checked again.
    r.clear();
    w->ms->set_row(2);
    QTest::mouseClick(w->cmd_edt, Qt::LeftButton);
    QCOMPARE(r.texts, QStringList({"선택하신 자료를 삭제하시겠습니까?"}));
    QCOMPARE(column(w->ms, 5), QStringList({"A1", "B1"}));
    QCOMPARE(column(w->ms, 1), QStringList({"", ""}));
    QCOMPARE(w->la_inf->text(), QString("검색건수: 2건"));

    r.clear();
    QTest::mouseClick(w->cmd_add, Qt::LeftButton);
    QCOMPARE(r.texts, QStringList({"파일 자료를 저장하시겠습니까?", "파일 자료를 저장하였습니다!"}));
    QCOMPARE(shop.count("TC1"), 2);
    QCOMPARE(shop.count("TC1", "m_cod='B1' and m_dae=1000 and m_dae_chk='N' and c_dat='2026-12-10'"), 1);
    QVERIFY(!w->batch().loaded());
    QCOMPARE(w->la_inf->text(), QString("검색대기중..."));
    QCOMPARE(w->t_ser->text(), QString());

    // A second press does nothing and says nothing.
    r.clear();
    QTest::mouseClick(w->cmd_add, Qt::LeftButton);
    QVERIFY(r.texts.isEmpty());
}

void TestF2::refused_and_empty_files()
{
    TestShop shop;
    open_shop(shop);
    MsgResponder r;
    std::unique_ptr<F2> w(show_window<F2>(1200, 700));
    const QString good = write_file(shop.dir() + "/good.txt", three_rentals());
    choose_file(w.get(), good);
    QCOMPARE(w->batch().data_rows(), 3);

    // Cancelling the dialog keeps the batch and the path.
    drive("cd", [](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
    QTest::mouseClick(w->cmd_fnd, Qt::LeftButton);
    QCOMPARE(w->batch().data_rows(), 3);
    QCOMPARE(w->t_ser->text(), QDir::toNativeSeparators(good));

    // LF line ends: refused as a whole.
    QByteArray lf = three_rentals();
    lf.replace("\r\n", "\n");
    choose_file(w.get(), write_file(shop.dir() + "/lf.txt", lf));
    QCOMPARE(r.texts, QStringList({"텍스트파일 형식이 올바르지 않습니다!"}));
    QVERIFY(!w->batch().loaded());
    QCOMPARE(w->la_inf->text(), QString("검색대기중..."));

    // A short non-blank tail: one more row, which fails its checks.
    r.clear();
    QByteArray tail = three_rentals() + file_line("1", "20261207", "A1", "P0000002", "1").left(30);
    choose_file(w.get(), write_file(shop.dir() + "/tail.txt", tail));
    QVERIFY(r.texts.isEmpty());
    QCOMPARE(w->batch().data_rows(), 4);
    QCOMPARE(w->ms->text(4, 5), QString("A1"));
    QCOMPARE(w->ms->text(4, 6), QString("P000000"));   // cut short, less its "separator"
    QCOMPARE(w->ms->text(4, 7), QString());
    QCOMPARE(w->ms->text(4, 8), QString("2바코드오류,바코드길이오류,"));

    // An empty file: the header alone; the save and the deletion do nothing.
    choose_file(w.get(), write_file(shop.dir() + "/empty.txt", QByteArray()));
    QVERIFY(w->batch().loaded());
    QCOMPARE(w->batch().data_rows(), 0);
    QCOMPARE(w->la_inf->text(), QString("검색건수: 0건"));
    QCOMPARE(w->PB->maximum(), 1);
    QTest::mouseClick(w->cmd_add, Qt::LeftButton);
    QTest::mouseClick(w->cmd_edt, Qt::LeftButton);
    QVERIFY(r.texts.isEmpty());

    // A double click on the path box empties the screen.
    choose_file(w.get(), good);
    QTest::mouseDClick(w->t_ser, Qt::LeftButton);
    QVERIFY(!w->batch().loaded());
    QCOMPARE(w->t_ser->text(), QString());
    QCOMPARE(w->la_inf->text(), QString("검색대기중..."));
}

void TestF2::row_deletion_rules()
{
    TestShop shop;
    open_shop(shop);
    shop.add_user("CLERK", "1234", "11110");
    QVERIFY(shop.login("CLERK", "1234"));
    MsgResponder r;
    std::unique_ptr<F2> w(show_window<F2>(1200, 700));
    // Refused without the right, even on an empty grid.
    QTest::mouseClick(w->cmd_edt, Qt::LeftButton);
    QCOMPARE(r.texts, QStringList({"프로그램에서 승인할 수 없는 사용자입니다!"}));
    const QString path = write_file(shop.dir() + "/one.txt", file_line("1", "20261207", "A1", "P0000001", "1"));
    choose_file(w.get(), path);
    QTest::mouseClick(w->cmd_edt, Qt::LeftButton);
    QCOMPARE(w->batch().data_rows(), 1);

    QVERIFY(shop.login_admin());
    r.clear();
    // Without a batch: no question.
    QTest::mouseDClick(w->t_ser, Qt::LeftButton);
    QTest::mouseClick(w->cmd_edt, Qt::LeftButton);
    QVERIFY(r.texts.isEmpty());
    // No keeps the row.
    choose_file(w.get(), path);
    r.answer(QMessageBox::No);
    QTest::mouseClick(w->cmd_edt, Qt::LeftButton);
    QCOMPARE(w->batch().data_rows(), 1);
    // The only row: the grid, the status and the path are emptied.
    QTest::mouseClick(w->cmd_edt, Qt::LeftButton);
    QVERIFY(!w->batch().loaded());
    QCOMPARE(w->la_inf->text(), QString("검색대기중..."));
    QCOMPARE(w->t_ser->text(), QString());
}

void TestF2::failed_save_keeps_the_batch()
{
    TestShop shop;
    open_shop(shop);
    MsgResponder r;
    std::unique_ptr<F2> w(show_window<F2>(1200, 700));
    const QByteArray bytes =
        file_line("1", "20261207", "A1", "P0000001", "1") + file_line("3", "20261207", "B1", "P0000003", "1");
    choose_file(w.get(), write_file(shop.dir() + "/two.txt", bytes));
    QCOMPARE(column(w->ms, 1), QStringList({"", ""}));
    // Rented at the counter after the check.
    shop.exec("update TB4 set sta='Y' where cod='P0000003'");
    QTest::mouseClick(w->cmd_add, Qt::LeftButton);
    QCOMPARE(r.texts, QStringList({"파일 자료를 저장하시겠습니까?", "파일 자료를 저장하지 못하였습니다!"}));
    QCOMPARE(shop.count("TC1"), 0);
    QCOMPARE(shop.scalar("select sta from TB4 where cod='P0000001'").toString(), QString("N"));
    QCOMPARE(w->batch().data_rows(), 2);
    QCOMPARE(column(w->ms, 6), QStringList({"P0000001", "P0000003"}));
    QVERIFY(!w->t_ser->text().isEmpty());
}

void TestF2::hangul_codes_from_cp949()
{
    TestShop shop;
    open_shop(shop);
    shop.add_member("홍길동", "홍길동", "B");
    MsgResponder r;
    std::unique_ptr<F2> w(show_window<F2>(1200, 700));
    choose_file(w.get(), write_file(shop.dir() + "/hangul.txt", file_line("1", "20261207", "홍길동", "P0000001", "1")));
    QCOMPARE(w->ms->text(1, 5), QString("홍길동"));
    QCOMPARE(w->ms->text(1, 1), QString());
    QCOMPARE(w->ms->text(1, 11), QString("홍길동"));
    QTest::mouseClick(w->cmd_add, Qt::LeftButton);
    QCOMPARE(r.last(), QString("파일 자료를 저장하였습니다!"));
    QCOMPARE(shop.count("TC1", "m_cod=?", {"홍길동"}), 1);
}

QTEST_MAIN(TestF2)
#include "tst_f2.moc"
