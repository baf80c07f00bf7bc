// A list window made as narrow as it goes still shows its bars' boxes,
// buttons and captions side by side, none over another or cut short.
#include "support/driving.h"
#include "support/fixture.h"
#include "intake/A6.h"
#include "intake/F1.h"
#include "summaries/E1.h"

#include <QLabel>
#include <QTest>
#include <memory>

namespace {
// Visible controls in the frame, each against every other of the frame.
QStringList overlaps(QWidget* frame)
{
    QStringList out;
    const QList<QWidget*> ws = frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* a : ws)
        for (QWidget* b : ws)
            if (a < b && a->isVisible() && b->isVisible() && !a->objectName().isEmpty() && !b->objectName().isEmpty()
                && a->geometry().intersects(b->geometry()))
                out << a->objectName() + " over " + b->objectName();
    return out;
}

// Labels in the frame whose text does not fit their width.
QStringList cut_labels(QWidget* frame)
{
    QStringList out;
    for (QLabel* l : frame->findChildren<QLabel*>())
        if (l->isVisible() && !l->text().isEmpty() && l->pixmap().isNull()
            && l->fontMetrics().horizontalAdvance(l->text()) > l->contentsRect().width())
            out << l->objectName();
    return out;
}

template <class W> void check_narrow(W* w)
{
    w->resize(300, 500);
    QApplication::processEvents();
    for (QWidget* f : {static_cast<QWidget*>(w->fm_mnu), static_cast<QWidget*>(w->fm_sub)}) {
        QCOMPARE(overlaps(f), QStringList());
        QCOMPARE(cut_labels(f), QStringList());
    }
}
}

class TestNarrow : public QObject {
    Q_OBJECT
private slots:
    void summary();
    void terminal_upload();
    void member_load();
};

void TestNarrow::summary()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    std::unique_ptr<E1> w(show_window<E1>(1200, 700));
    check_narrow(w.get());
}

void TestNarrow::terminal_upload()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    std::unique_ptr<F1> w(show_window<F1>(1200, 700));
    // The longest state caption.
    w->la_state->setText(QStringLiteral("데이터수신을 완료하였습니다!"));
    check_narrow(w.get());
}

void TestNarrow::member_load()
{
    TestShop shop;
    QVERIFY(shop.login_admin());
    std::unique_ptr<A6> w(show_window<A6>(1200, 700));
    check_narrow(w.get());
}

QTEST_MAIN(TestNarrow)
#include "tst_narrow.moc"
