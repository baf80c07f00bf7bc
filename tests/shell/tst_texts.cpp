// Texts a clerk reads stand whole in the source, so that a search for a
// text a clerk reports ("반납처리실패!") finds the line that shows it.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

namespace {
struct SourceLine {
    QString where;
    QString text;
};

QList<SourceLine> source_lines()
{
    QList<SourceLine> out;
    const QString src = QFileInfo(QStringLiteral(__FILE__)).absoluteDir().filePath(QStringLiteral("../../src"));
    QDirIterator it(src, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
        for (int i = 0; i < lines.size(); ++i)
            out << SourceLine{QDir(src).relativeFilePath(path) + u':' + QString::number(i + 1), lines[i]};
    }
    return out;
}
}

class TestTexts : public QObject {
    Q_OBJECT
private slots:
    void messages_are_written_whole();
};

void TestTexts::messages_are_written_whole()
{
    const QList<SourceLine> lines = source_lines();
    if (lines.isEmpty()) QSKIP("the sources are not beside the tests");

    // Texts the counter and the history window show, each found as it reads.
    const QStringList reported{
        "대여처리실패!", "반납처리실패!", "대여처리완료!", "반납처리완료!", "결제처리실패!",
        "대여할 바코드가 존재하지 않습니다!", "반납할 바코드가 존재하지 않습니다!",
        "(%1)건을 대여처리 하시겠습니까?", "(%1)건을 반납처리 하시겠습니까?", "(%1)건을 결제처리 하시겠습니까?",
        "검색건수: %1건   미납건수: %2", "[%1]항목을 삭제하시겠습니까?",
    };
    for (const QString& text : reported) {
        bool found = false;
        for (const SourceLine& l : lines) found = found || l.text.contains(text);
        QVERIFY2(found, qPrintable(text));
    }

    // No Korean text joined to other pieces with "+".
    static const QRegularExpression glued(
        QStringLiteral(R"("[^"]*[\x{AC00}-\x{D7A3}][^"]*"\)?\s*\+|\+\s*(QStringLiteral\()?"[^"]*[\x{AC00}-\x{D7A3}])"));
    QStringList hits;
    for (const SourceLine& l : lines)
        if (glued.match(l.text).hasMatch()) hits << l.where + u' ' + l.text.trimmed();
    QVERIFY2(hits.isEmpty(), qPrintable(hits.join(u'\n')));
}

QTEST_MAIN(TestTexts)
#include "tst_texts.moc"
