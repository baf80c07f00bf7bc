// The workbook reader: workbooks written here (libxlsxwriter, or a zip of
// hand-written parts for what the writer cannot make; .xls records composed
// here), files saved by a real spreadsheet program (tests/fixtures), and
// every kind of file refused.
#include "intake/workbook.h"
#include "intake/workbook_sheet.h"
#include "support/biff_writer.h"
#include "support/memory_cap.h"
#include "support/xlsx_parts.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <xlsxwriter.h>

namespace {

QString fixture(const char* name) { return QStringLiteral(TORVISK_FIXTURES "/") + QLatin1String(name); }

using namespace xlsx_parts;

// A compound (OLE) file holding the two streams a password-protected .xlsx
// is made of: the key's description and the encrypted package (contents
// random here; only the container matters to the reader).
QByteArray encrypted_xlsx()
{
    QByteArray info(4096, '\0'), package(6144, '\0');
    for (int i = 0; i < package.size(); ++i) {
        package[i] = char(i * 7 + 3);
        if (i < info.size())
            info[i] = char(i * 5 + 1);
    }
    return biff::compound({{QStringLiteral("EncryptionInfo"), info}, {QStringLiteral("EncryptedPackage"), package}});
}

// ---- .xls records composed here
using biff::Bytes;
using biff::record;

// Cell formats 0 general, 1 the built-in date format 14, 2 a date format
// of the workbook's own.
QByteArray styles(int version)
{
    return biff::format(version, 164, QStringLiteral("yyyy\\-mm\\-dd")) + biff::xf(version, 0) + biff::xf(version, 14)
        + biff::xf(version, 164);
}

QByteArray one_sheet(int version, const QByteArray& globals, const QByteArray& cells, const QString& stream = "Workbook",
                     const biff::Options& opt = {})
{
    return biff::compound({{stream, biff::workbook(version, globals + styles(version), {{"Sheet1", 0, cells}})}}, opt);
}

// A formula cell and its cached result: kind 0 text (in the STRING record
// after it), 1 boolean, 2 error, 3 empty text; or a number.
QByteArray formula(int row, int col, int kind, int value = 0)
{
    return record(0x0006, Bytes().u16(row).u16(col).u16(0).u8(kind).u8(0).u8(value).u8(0).u16(0).u16(0xFFFF)
                              .u16(0).u32(0).u16(3).raw("\x1E\x01\x00"));
}
QByteArray formula(int row, int col, double v)
{
    return record(0x0006, Bytes().u16(row).u16(col).u16(0).f64(v).u16(0).u32(0).u16(3).raw("\x1E\x01\x00"));
}
QByteArray bof8(int kind) { return record(0x0809, Bytes().u16(0x0600).u16(kind).u16(0).u16(0).u32(0).u32(6)); }
QByteArray utf16(const QString& s)
{
    Bytes b;
    for (QChar c : s)
        b.u16(c.unicode());
    return b;
}

// Every cell of rows 1..last_row, columns 1..cols, as "r,c=text" lines.
QStringList dump(const WorkbookReader& w, int cols)
{
    QStringList out;
    for (int r = 1; r <= w.last_row(); ++r)
        for (int c = 1; c <= cols; ++c)
            if (!w.cell(r, c).isEmpty())
                out << QStringLiteral("%1,%2=%3").arg(r).arg(c).arg(w.cell(r, c));
    return out;
}

} // namespace

class TestWorkbook : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }

    // The same sheet written by libxlsxwriter in normal mode (shared
    // strings) or constant-memory mode (inline strings).
    QString write_sample(const char* name, bool constant_memory)
    {
        const QString p = path(name);
        lxw_workbook_options opt = {};
        opt.constant_memory = constant_memory;
        lxw_workbook* wb = workbook_new_opt(QFile::encodeName(p).constData(), &opt);
        lxw_worksheet* ws = workbook_add_worksheet(wb, "회원");
        lxw_format* iso = workbook_add_format(wb);
        format_set_num_format(iso, "yyyy-mm-dd");
        lxw_format* builtin = workbook_add_format(wb);
        format_set_num_format_index(builtin, 14);
        lxw_format* korean = workbook_add_format(wb);
        format_set_num_format(korean, "yyyy\"년\" m\"월\" d\"일\"");
        lxw_format* decimals = workbook_add_format(wb);
        format_set_num_format(decimals, "#,##0.00");
        lxw_format* quoted = workbook_add_format(wb);
        format_set_num_format(quoted, "0\" day\"");
        lxw_format* bold = workbook_add_format(wb);
        format_set_bold(bold);
        // Rows 1 and 2 stay empty: the used range starts at row 3.
        worksheet_write_string(ws, 2, 0, "구분", nullptr);
        worksheet_write_string(ws, 2, 1, "바코드", nullptr);
        worksheet_write_string(ws, 3, 0, "A", nullptr);
        worksheet_write_string(ws, 3, 1, "00123", nullptr);
        worksheet_write_number(ws, 3, 2, 12, nullptr);
        worksheet_write_number(ws, 3, 3, 1.5, nullptr);
        worksheet_write_number(ws, 3, 4, 1234567890123.0, nullptr);
        worksheet_write_number(ws, 3, 5, 0.1 + 0.2, nullptr);
        worksheet_write_number(ws, 3, 6, -3, decimals);
        worksheet_write_number(ws, 3, 7, 1e20, nullptr);
        worksheet_write_number(ws, 3, 8, 1e-7, nullptr);
        worksheet_write_boolean(ws, 3, 9, 1, nullptr);
        worksheet_write_boolean(ws, 3, 10, 0, nullptr);
        worksheet_write_number(ws, 3, 11, 7, quoted);
        // row 5 empty; row 6: dates and formulas
        lxw_datetime d = {2024, 2, 29, 0, 0, 0};
        worksheet_write_datetime(ws, 5, 0, &d, iso);
        lxw_datetime d2 = {1999, 12, 31, 13, 30, 0};
        worksheet_write_datetime(ws, 5, 1, &d2, builtin);
        lxw_datetime d3 = {2023, 1, 5, 0, 0, 0};
        worksheet_write_datetime(ws, 5, 2, &d3, korean);
        worksheet_write_formula_num(ws, 5, 3, "=C4*2", nullptr, 24);
        worksheet_write_formula_str(ws, 5, 4, "=\"가\"&\"나\"", nullptr, "가나");
        lxw_rich_string_tuple f1 = {bold, (char*)"굵은"};
        lxw_rich_string_tuple f2 = {nullptr, (char*)" 글씨"};
        lxw_rich_string_tuple* rich[] = {&f1, &f2, nullptr};
        worksheet_write_rich_string(ws, 5, 5, rich, nullptr);
        worksheet_write_blank(ws, 5, 6, bold);
        worksheet_write_string(ws, 5, 11, "끝", nullptr);
        // A formatted but empty cell further down does not make a used row.
        worksheet_write_blank(ws, 9, 0, bold);
        lxw_worksheet* second = workbook_add_worksheet(wb, "둘째");
        worksheet_write_string(second, 0, 0, "not read", nullptr);
        if (workbook_close(wb) != LXW_NO_ERROR)
            return QString();
        return p;
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void number_texts()
    {
        QCOMPARE(number_text(12), QByteArray("12"));
        QCOMPARE(number_text(12.0), QByteArray("12"));
        QCOMPARE(number_text(1.5), QByteArray("1.5"));
        QCOMPARE(number_text(-0.25), QByteArray("-0.25"));
        QCOMPARE(number_text(1234567890123.0), QByteArray("1234567890123"));
        QCOMPARE(number_text(8801234567890.0), QByteArray("8801234567890"));
        QCOMPARE(number_text(0.1 + 0.2), QByteArray("0.3"));
        QCOMPARE(number_text(1e20), QByteArray("100000000000000000000"));
        QCOMPARE(number_text(1e-7), QByteArray("0.0000001"));
        QCOMPARE(number_text(-0.0), QByteArray("0"));
        QCOMPARE(number_text(2.675), QByteArray("2.675"));
        // 15 significant digits at any size, never binary digits beyond
        QCOMPARE(number_text(310101195608230976.0), QByteArray("310101195608231000"));
        QCOMPARE(number_text(-0.000123), QByteArray("-0.000123"));
        QCOMPARE(number_text(0.1234567890123456), QByteArray("0.123456789012346"));
        QCOMPARE(number_text(999999999999999.9), QByteArray("1000000000000000"));
    }

    void serial_dates()
    {
        QCOMPARE(serial_date_text(1, false), QByteArray("1900-01-01"));
        QCOMPARE(serial_date_text(59, false), QByteArray("1900-02-28"));
        QCOMPARE(serial_date_text(60, false), QByteArray("1900-02-29"));   // the leap day that never was
        QCOMPARE(serial_date_text(61, false), QByteArray("1900-03-01"));
        QCOMPARE(serial_date_text(0, false), QByteArray("1900-01-00"));
        QCOMPARE(serial_date_text(45351, false), QByteArray("2024-02-29"));
        QCOMPARE(serial_date_text(36525.75, false), QByteArray("1999-12-31"));
        QCOMPARE(serial_date_text(2958465, false), QByteArray("9999-12-31"));
        QCOMPARE(serial_date_text(2958466, false), QByteArray());
        QCOMPARE(serial_date_text(-1, false), QByteArray());
        QCOMPARE(serial_date_text(0, true), QByteArray("1904-01-01"));
        QCOMPARE(serial_date_text(43889, true), QByteArray("2024-02-29"));
    }

    void date_formats()
    {
        for (int id : {14, 15, 16, 17, 22, 45, 47, 27, 31, 57})
            QVERIFY2(is_date_format_id(id), QByteArray::number(id).constData());
        for (int id : {0, 1, 2, 4, 9, 10, 11, 12, 13, 23, 37, 44, 48, 49, 32, 33})
            QVERIFY2(!is_date_format_id(id), QByteArray::number(id).constData());
        QVERIFY(is_date_format_code(u"yyyy-mm-dd"));
        QVERIFY(is_date_format_code(u"yyyy\"년\" m\"월\" d\"일\""));
        QVERIFY(is_date_format_code(u"[$-412]yyyy\\-mm\\-dd;@"));
        QVERIFY(is_date_format_code(u"[h]:mm:ss"));
        QVERIFY(is_date_format_code(u"DD/MM/YYYY"));
        QVERIFY(!is_date_format_code(u"General"));
        QVERIFY(!is_date_format_code(u"#,##0.00"));
        QVERIFY(!is_date_format_code(u"0\" day\""));
        QVERIFY(!is_date_format_code(u"[Red]0.00;[Blue]-0.00"));
        QVERIFY(!is_date_format_code(u"0\\d"));
        QVERIFY(!is_date_format_code(u"#,##0_m;-#,##0*m"));
        QVERIFY(!is_date_format_code(u"@"));
        QVERIFY(!is_date_format_code(u"0.00E+00"));
    }

    // Shared strings (normal mode) and inline strings (constant memory)
    // give the same cells.
    void written_workbook_data() { QTest::addColumn<bool>("constant_memory");
        QTest::newRow("shared strings") << false;
        QTest::newRow("inline strings") << true; }
    void written_workbook()
    {
        QFETCH(bool, constant_memory);
        const QString p = write_sample(constant_memory ? "inline.xlsx" : "shared.xlsx", constant_memory);
        QVERIFY(!p.isEmpty());
        QString err = QStringLiteral("stale");
        auto w = WorkbookReader::open(p, &err);
        QVERIFY2(w, qPrintable(err));
        QVERIFY(err.isEmpty());
        QCOMPARE(w->last_row(), 6);
        QCOMPARE(w->cell(1, 1), QString());
        QCOMPARE(w->cell(3, 1), QStringLiteral("구분"));
        QCOMPARE(w->cell(3, 2), QStringLiteral("바코드"));
        QCOMPARE(w->cell(4, 1), QStringLiteral("A"));
        QCOMPARE(w->cell(4, 2), QStringLiteral("00123"));
        QCOMPARE(w->cell(4, 3), QStringLiteral("12"));
        QCOMPARE(w->cell(4, 4), QStringLiteral("1.5"));
        QCOMPARE(w->cell(4, 5), QStringLiteral("1234567890123"));
        QCOMPARE(w->cell(4, 6), QStringLiteral("0.3"));
        QCOMPARE(w->cell(4, 7), QStringLiteral("-3"));
        QCOMPARE(w->cell(4, 8), QStringLiteral("100000000000000000000"));
        QCOMPARE(w->cell(4, 9), QStringLiteral("0.0000001"));
        QCOMPARE(w->cell(4, 10), QStringLiteral("TRUE"));
        QCOMPARE(w->cell(4, 11), QStringLiteral("FALSE"));
        QCOMPARE(w->cell(4, 12), QStringLiteral("7"));
        QCOMPARE(w->cell(5, 1), QString());
        QCOMPARE(w->cell(6, 1), QStringLiteral("2024-02-29"));
        QCOMPARE(w->cell(6, 2), QStringLiteral("1999-12-31"));
        QCOMPARE(w->cell(6, 3), QStringLiteral("2023-01-05"));
        QCOMPARE(w->cell(6, 4), QStringLiteral("24"));
        QCOMPARE(w->cell(6, 5), QStringLiteral("가나"));
        QCOMPARE(w->cell(6, 6), QStringLiteral("굵은 글씨"));
        QCOMPARE(w->cell(6, 7), QString());
        QCOMPARE(w->cell(6, 11), QString());
        QCOMPARE(w->cell(6, 12), QStringLiteral("끝"));
        // outside the sheet
        QCOMPARE(w->cell(6, 13), QString());
        QCOMPARE(w->cell(7, 1), QString());
        QCOMPARE(w->cell(0, 1), QString());
        QCOMPARE(w->cell(1, 0), QString());
        QCOMPARE(w->cell(-1, -1), QString());
        QCOMPARE(w->cell(1000000, 1), QString());
    }

    // The share read is reported rising to 100, for both formats.
    void progress()
    {
        // Enough rows for the sheet to come in several chunks.
        const QString big = path("progress.xlsx");
        lxw_workbook* wb = workbook_new(QFile::encodeName(big).constData());
        lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
        for (int r = 0; r < 20000; ++r) {
            worksheet_write_number(ws, lxw_row_t(r), 0, r, nullptr);
            worksheet_write_string(ws, lxw_row_t(r), 1, QByteArray::number(r * 7919).constData(), nullptr);
        }
        QCOMPARE(workbook_close(wb), LXW_NO_ERROR);
        const QString big_xls = path("progress.xls");
        QByteArray cells;
        for (int r = 0; r < 20000; ++r)
            cells += biff::number(r, 0, r);
        QFile x(big_xls);
        QVERIFY(x.open(QIODevice::WriteOnly));
        x.write(one_sheet(8, {}, cells));
        x.close();
        for (const QString& file : {big, big_xls, fixture("members.xls")}) {
            QList<int> seen;
            auto w = WorkbookReader::open(file, nullptr, [&](int pct) { seen << pct; });
            QVERIFY(w);
            QVERIFY2(std::is_sorted(seen.begin(), seen.end()), qPrintable(file));
            QCOMPARE(seen.value(seen.size() - 1), 100);
            if (file != fixture("members.xls"))
                QVERIFY2(seen.size() > 3, qPrintable(QString::number(seen.size())));
        }
        QCOMPARE(WorkbookReader::open(big)->cell(20000, 2), QStringLiteral("158372081"));
    }

    // .xls records as other writers lay them out, each a file that was
    // refused or read wrong before.
    void written_xls_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("error");
        const QByteArray eof = record(0x000A, {});

        // A chart sheet first; in the worksheet, drawing, object and window
        // records and an embedded chart's own records after the cells.
        const QByteArray drawn = record(0x0200, Bytes().u32(0).u32(1).u16(0).u16(1).u16(0)) + biff::number(0, 0, 1.5)
            + record(0x00EC, QByteArray(40, '\x0F')) + record(0x005D, QByteArray(26, '\x15'))
            + bof8(0x0020) + biff::number(5, 5, 99) + eof + biff::number(1, 0, 2) + record(0x023E, QByteArray(18, '\0'));
        QTest::newRow("drawing records after the cells")
            << biff::compound({{"Workbook", biff::workbook(8, styles(8), {{"차트", 2, biff::number(0, 0, 5)}, {"Sheet1", 0, drawn}})}})
            << QStringList{"1,1=1.5", "2,1=2"} << QString();

        // Strings going on in CONTINUE records: characters switching from
        // one byte to two and back, rich-text runs and a phonetic block
        // spilling over.
        const QByteArray sst = record(0x00FC, Bytes().u32(4).u32(4).u16(5).u8(0).raw("abc"))
            + record(0x003C, Bytes().u8(1).raw(utf16("한글")).u16(2).u8(0x08).u16(2).raw("xy").u32(0x00010000))
            + record(0x003C, Bytes().u32(0x00000002).u16(2).u8(0x05).u32(6).raw(utf16("東京")).raw("\1\2\3"))
            + record(0x003C, Bytes().raw("\4\5\6").u16(3).u8(1).raw(utf16("가")))
            + record(0x003C, Bytes().u8(0).raw("de"));
        QTest::newRow("shared strings continued")
            << one_sheet(8, sst, biff::label_sst(0, 0, 0) + biff::label_sst(0, 1, 1) + biff::label_sst(0, 2, 2)
                                     + biff::label_sst(0, 3, 3) + biff::label_sst(0, 4, 4))
            << QStringList{"1,1=abc한글", "1,2=xy", "1,3=東京", "1,4=가de"} << QString();

        QTest::newRow("cells outside the dimensions")
            << one_sheet(8, {}, record(0x0200, Bytes().u32(0).u32(1).u16(0).u16(1).u16(0))
                                  + record(0x0204, Bytes().u16(0).u16(0).u16(0).raw(biff::string16("A1")))
                                  + biff::number(9, 20, 7)
                                  + record(0x00BD, Bytes().u16(11).u16(1).u16(0).u32(3 << 2 | 2).u16(2).u32(45351 << 2 | 2).u16(2))
                                  + record(0x0205, Bytes().u16(12).u16(0).u16(0).u8(1).u8(0))
                                  + record(0x0205, Bytes().u16(12).u16(1).u16(0).u8(0x2A).u8(1)))
            << QStringList{"1,1=A1", "10,21=7", "12,2=3", "12,3=2024-02-29", "13,1=TRUE", "13,2=#N/A"} << QString();

        // The text result of a filled-down, an array and a table formula,
        // one continued with two-byte characters; a STRING after no formula.
        QTest::newRow("formula results")
            << one_sheet(8, {}, formula(0, 0, 0) + record(0x04BC, QByteArray(10, '\1')) + record(0x0207, biff::string16("NO"))
                                  + formula(1, 0, 0) + record(0x0221, QByteArray(14, '\1')) + record(0x0207, biff::string16("1A"))
                                  + formula(2, 0, 0) + record(0x0236, QByteArray(16, '\1')) + record(0x0207, biff::string16("103a"))
                                  + biff::number(3, 0, 4) + record(0x0207, biff::string16("stray"))
                                  + formula(5, 0, 0) + record(0x0207, Bytes().u16(4).u8(0).raw("ab"))
                                  + record(0x003C, Bytes().u8(1).raw(utf16("다라")))
                                  + formula(6, 0, 24.0) + formula(6, 1, 1, 1) + formula(6, 2, 2, 0x07) + formula(6, 3, 3))
            << QStringList{"1,1=NO", "2,1=1A", "3,1=103a", "4,1=4", "6,1=ab다라", "7,1=24", "7,2=TRUE", "7,3=#DIV/0!"}
            << QString();

        // Excel 5: byte strings in the workbook's code page, rich text,
        // formula results, dates by the cell formats' number formats.
        const QByteArray cp949 = record(0x0204, Bytes().u16(0).u16(0).u16(0).u16(4).raw("\xC8\xB8\xBF\xF8"))
            + record(0x00D6, Bytes().u16(0).u16(1).u16(0).u16(6).raw("\xC8\xAB\xB1\xE6\xB5\xBF").u8(1).u8(2).u8(1))
            + biff::number(1, 0, 45351, 2) + biff::rk(1, 1, 36525, 1) + formula(1, 2, 24.0)
            + formula(1, 3, 0) + record(0x0207, Bytes().u16(4).raw("\xB0\xA1\xB3\xAA"))
            + formula(1, 4, 1, 0) + formula(1, 5, 2, 0x2A);
        QTest::newRow("Excel 5, code page 949")
            << one_sheet(5, record(0x0042, Bytes().u16(949)), cp949)
            << QStringList{"1,1=회원", "1,2=홍길동", "2,1=2024-02-29", "2,2=1999-12-31", "2,3=24", "2,4=가나", "2,5=FALSE",
                           "2,6=#N/A"}
            << QString();
        QTest::newRow("Excel 5, code page 1258, stream BOOK")
            << one_sheet(5, record(0x0042, Bytes().u16(1258)),
                         record(0x0204, Bytes().u16(0).u16(0).u16(0).u16(5).raw("\xD0\xF4\xCCng")), "BOOK")
            << QStringList{QString::fromUtf16(u"1,1=\u0110\u00F4\u0300ng")} << QString();
        QTest::newRow("stream WORKBOOK, 4096-byte sectors")
            << one_sheet(8, {}, biff::number(0, 0, 1), "WORKBOOK", {12, true}) << QStringList{"1,1=1"} << QString();

        QByteArray many;
        QStringList all;
        for (int r = 0; r < 400; ++r) {
            many += biff::number(r, 0, r + 1);
            all << QStringLiteral("%1,1=%1").arg(r + 1);
        }
        QTest::newRow("last sector cut short") << one_sheet(8, {}, many, "Workbook", {9, false}) << all << QString();

        QTest::newRow("encrypted")
            << one_sheet(8, record(0x002F, Bytes().u16(1).raw(QByteArray(52, '\x33'))), biff::number(0, 0, 1))
            << QStringList() << "encrypted";
        QByteArray shift = one_sheet(8, {}, biff::number(0, 0, 1));
        shift[0x1E] = 64;
        QTest::newRow("sector shift 64") << shift << QStringList() << "sector size";
        shift[0x1E] = 9;
        shift[0x20] = 12;
        QTest::newRow("mini sector shift 12") << shift << QStringList() << "sector size";
    }
    void written_xls()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, cells);
        QFETCH(QString, error);
        const QString p = path("written.xls");
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        QString err;
        auto w = WorkbookReader::open(p, &err);
        if (!error.isEmpty()) {
            QVERIFY(!w);
            QVERIFY2(err.contains(error), qPrintable(err));
            return;
        }
        QVERIFY2(w, qPrintable(err));
        QCOMPARE(dump(*w, 30), cells);
    }

    // What libxlsxwriter never writes: the 1904 system, rows and cells
    // without references, cells out of order, phonetic runs, escapes,
    // prefixed names, absolute targets, a first sheet that is not sheet1.
    void hand_made_parts()
    {
        auto p = package(R"(<workbookPr date1904="1"/>)",
                         R"(<sheet name="첫째" sheetId="2" r:id="rId7"/><sheet name="둘째" sheetId="1" r:id="rId1"/>)",
                         rel("rId1", "worksheet", "worksheets/sheet1.xml")
                             + rel("rId7", "worksheet", "/xl/worksheets/other.xml")
                             + rel("rId3", "sharedStrings", "sharedStrings.xml")
                             + rel("rId4", "styles", "styles.xml"));
        p["xl/worksheets/sheet1.xml"] = worksheet(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>wrong sheet</t></is></c></row>)");
        p["xl/sharedStrings.xml"] =
            R"(<?xml version="1.0" encoding="UTF-8"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="3" uniqueCount="3">)"
            R"(<si><t>東京</t><rPh sb="0" eb="2"><t>トウキョウ</t></rPh></si>)"
            R"(<si><r><rPr><b/></rPr><t xml:space="preserve">한 </t></r><r><t>줄</t></r></si>)"
            R"(<si><t>a_x000D_b &amp; c</t></si></sst>)";
        p["xl/styles.xml"] =
            R"(<?xml version="1.0" encoding="UTF-8"?><styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
            R"(<numFmts count="2"><numFmt numFmtId="164" formatCode="yyyy/mm/dd"/><numFmt numFmtId="14" formatCode="0.0"/></numFmts>)"
            R"(<cellStyleXfs count="1"><xf numFmtId="22"/></cellStyleXfs>)"
            R"(<cellXfs count="4"><xf numFmtId="0"/><xf numFmtId="164"/><xf numFmtId="15"/><xf numFmtId="14"/></cellXfs></styleSheet>)";
        p["xl/worksheets/other.xml"] =
            R"(<?xml version="1.0" encoding="UTF-8"?><x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><x:dimension ref="A1:C9"/><x:sheetData>)"
            R"(<x:row><x:c t="s"><x:v>0</x:v></x:c><x:c t="s"><x:v>1</x:v></x:c><x:c t="s"><x:v>2</x:v></x:c></x:row>)"
            R"(<x:row><x:c s="1"><x:v>0</x:v></x:c><x:c s="2"><x:v>43889.5</x:v></x:c><x:c s="3"><x:v>12</x:v></x:c></x:row>)"
            R"(<x:row r="5"><x:c r="C5" t="e"><x:v>#N/A</x:v></x:c><x:c t="d"><x:v>2021-03-04T00:00:00</x:v></x:c></x:row>)"
            R"(<x:row r="4"><x:c r="B4" t="str"><x:f>A1</x:f><x:v>x</x:v></x:c><x:c r="A4" t="b"><x:v>0</x:v></x:c></x:row>)"
            R"(<x:row r="6"><x:c r="A6"><x:f>1/0</x:f></x:c><x:c r="B6" t="s"><x:v>99</x:v></x:c></x:row>)"
            R"(</x:sheetData><x:mergeCells count="1"><x:mergeCell ref="A9:B9"/></x:mergeCells></x:worksheet>)";
        const QString path = this->path("hand.xlsx");
        QVERIFY(write_zip(path, p));
        QString err;
        auto w = WorkbookReader::open(path, &err);
        QVERIFY2(w, qPrintable(err));
        QCOMPARE(dump(*w, 5), QStringList({
                                  "1,1=東京", "1,2=한 줄", QStringLiteral("1,3=a\rb & c"),
                                  "2,1=1904-01-01", "2,2=2024-02-29", "2,3=12",
                                  "4,1=FALSE", "4,2=x",
                                  "5,3=#N/A", "5,4=2021-03-04",
                              }));
        QCOMPARE(w->last_row(), 5);
    }

    // Saved by a spreadsheet program in both formats and both date
    // systems: two empty rows first, headings in row 3, an empty row inside,
    // dates, codes with leading zeros stored as text, numbers, formulas.
    void saved_by_a_spreadsheet_program_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("xlsx") << fixture("members.xlsx");
        QTest::newRow("xls") << fixture("members.xls");
        QTest::newRow("xlsx 1904") << fixture("members_1904.xlsx");
        QTest::newRow("xls 1904") << fixture("members_1904.xls");
    }
    void saved_by_a_spreadsheet_program()
    {
        QFETCH(QString, file);
        QString err;
        auto w = WorkbookReader::open(file, &err);
        QVERIFY2(w, qPrintable(err));
        QCOMPARE(w->last_row(), 8);
        QStringList cells = dump(*w, 10);
        // A text formula's result: the .xls files of this program carry
        // none (their cached value is 0); the .xlsx files do.
        const QString text_formula = cells.takeAt(cells.indexOf(QRegularExpression("^4,7=.*")));
        QCOMPARE(text_formula, file.endsWith(QLatin1String(".xlsx")) ? QStringLiteral("4,7=가나") : QStringLiteral("4,7=0"));
        QCOMPARE(cells, QStringList({
                            "3,1=구분", "3,2=가입일자", "3,3=회원코드", "3,4=회 원 명", "3,5=금액", "3,6=비고",
                            "4,1=A", "4,2=2024-02-29", "4,3=00123", "4,4=홍길동", "4,5=15000", "4,8=2024-03-01",
                            "6,1=B", "6,2=1999-12-31", "6,3=0456", "6,4=김철수", "6,5=1234567890123", "6,6=30000",
                            "7,1=a", "7,2=2023.05.01", "7,3=AB01", "7,4=이영희", "7,5=1.5", "7,6=메모 있음",
                            "8,7=끝",
                        }));
    }

    // Date cells holding the serials 1, 59, 60, 61, 0 and 45351.75 in the
    // 1900 system, which counts a 29 February 1900: both formats give the
    // same texts (the two that are no date fail any date check).
    void first_days_of_1900_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("xlsx") << fixture("dates_1900.xlsx");
        QTest::newRow("xls") << fixture("dates_1900.xls");
    }
    void first_days_of_1900()
    {
        QFETCH(QString, file);
        QString err;
        auto w = WorkbookReader::open(file, &err);
        QVERIFY2(w, qPrintable(err));
        QCOMPARE(dump(*w, 2), QStringList({"1,1=1900-01-01", "2,1=1900-02-28", "3,1=1900-02-29", "4,1=1900-03-01",
                                           "5,1=1900-01-00", "6,1=2024-02-29"}));
    }

    // Booleans, an error, grouped and percent numbers, a time, plain numbers.
    void kinds_of_values_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("xlsx") << fixture("kinds.xlsx");
        QTest::newRow("xls") << fixture("kinds.xls");
    }
    void kinds_of_values()
    {
        QFETCH(QString, file);
        QString err;
        auto w = WorkbookReader::open(file, &err);
        QVERIFY2(w, qPrintable(err));
        // A time of day is shown as a date: day 0 of the 1900 system.
        QCOMPARE(dump(*w, 9), QStringList({"1,1=TRUE", "1,2=FALSE", "1,3=#DIV/0!", "1,4=-1234567.5", "1,5=0.25",
                                           "1,6=1900-01-00", "1,7=123456789", "1,8=0.1"}));
    }

    // One value in the last row a sheet can have, nothing before it.
    void far_cell()
    {
        auto p = package({}, R"(<sheet name="a" sheetId="1" r:id="rId1"/>)", rel("rId1", "worksheet", "worksheets/sheet1.xml"));
        p["xl/worksheets/sheet1.xml"] = worksheet(R"(<row r="1048576"><c r="XFD1048576"><v>5</v></c></row>)");
        const QString far = path("far.xlsx");
        QVERIFY(write_zip(far, p));
        auto w = WorkbookReader::open(far);
        QVERIFY(w);
        QCOMPARE(w->last_row(), 1048576);
        QCOMPARE(w->cell(1048576, 16384), QStringLiteral("5"));
        QCOMPARE(w->cell(1048576, 16383), QString());
        QCOMPARE(w->cell(1, 1), QString());
    }

    // Opened by what the file holds, whatever its name says.
    void opened_by_content()
    {
        for (const char* from : {"members.xls", "members.xlsx"}) {
            const QString to = path(QByteArray(from).endsWith(".xls") ? "renamed_xls.xlsx" : "renamed_xlsx.xls");
            QFile::remove(to);
            QVERIFY(QFile::copy(fixture(from), to));
            QString err;
            auto w = WorkbookReader::open(to, &err);
            QVERIFY2(w, qPrintable(err));
            QCOMPARE(w->cell(4, 4), QStringLiteral("홍길동"));
        }
    }

    void encrypted()
    {
        QString err;
        QVERIFY(!WorkbookReader::open(fixture("members_locked.xls"), &err));
        QVERIFY2(err.contains(QLatin1String("encrypted")), qPrintable(err));

        const QString locked = path("locked.xlsx");
        QFile f(locked);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(encrypted_xlsx());
        f.close();
        err.clear();
        QVERIFY(!compound_stream(encrypted_xlsx(), {u"EncryptionInfo"}, nullptr).isEmpty());
        QVERIFY(!WorkbookReader::open(locked, &err));
        QVERIFY2(err.contains(QLatin1String("encrypted")), qPrintable(err));
    }

    // A chart sheet in front: the first worksheet is the one after it.
    void chart_sheet_first()
    {
        auto p = package({}, R"(<sheet name="차트" sheetId="1" r:id="rId1"/><sheet name="a" sheetId="2" r:id="rId2"/>)",
                         rel("rId1", "chartsheet", "chartsheets/sheet1.xml") + rel("rId2", "worksheet", "worksheets/sheet1.xml"));
        p["xl/chartsheets/sheet1.xml"] = "<chartsheet/>";
        p["xl/worksheets/sheet1.xml"] = worksheet(R"(<row r="2"><c r="B2" t="inlineStr"><is><t>값</t></is></c></row>)");
        const QString file = path("chart_first.xlsx");
        QVERIFY(write_zip(file, p));
        QString err;
        auto w = WorkbookReader::open(file, &err);
        QVERIFY2(w, qPrintable(err));
        QCOMPARE(dump(*w, 3), QStringList({"2,2=값"}));
    }

    // Counts in the file size nothing (uniqueCount, the dimension, spans),
    // and a UTF-16 part whose Hangul holds the bytes of '<', '!', '=' and
    // quotes in its code units reads as it is.
    void counts_and_encodings()
    {
        auto p = package({}, R"(<sheet name="a" sheetId="1" r:id="rId1"/>)",
                         rel("rId1", "worksheet", "worksheets/sheet1.xml") + rel("rId2", "sharedStrings", "sharedStrings.xml"));
        p["xl/sharedStrings.xml"] =
            R"(<?xml version="1.0" encoding="UTF-8"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="999999999" uniqueCount="999999999">)"
            R"(<si><t>하나</t></si><si><t>둘</t></si></sst>)";
        const QString text = QStringLiteral("\u213C값갼갢갽갾 \"=\"");
        const QString sheet = QStringLiteral(
            R"(<?xml version="1.0" encoding="UTF-16"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
            R"(<dimension ref="A1:XFD1048576"/><sheetData><row r="1" spans="1:16384"><c r="A1" t="s"><v>1</v></c>)"
            R"(<c r="B1" t="inlineStr"><is><t>%1</t></is></c><c r="C1" t="s"><v>0</v></c></row></sheetData></worksheet>)").arg(text.toHtmlEscaped());
        QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        p["xl/worksheets/sheet1.xml"] = utf16.encode(sheet);
        const QString file = path("counts.xlsx");
        QVERIFY(write_zip(file, p));
        AddressSpaceCap cap;
        QString err;
        auto w = WorkbookReader::open(file, &err);
        QVERIFY2(w, qPrintable(err));
        QCOMPARE(dump(*w, 3), QStringList({"1,1=둘", "1,2=" + text, "1,3=하나"}));
    }

    // A text longer than a spreadsheet program lets a cell hold is read
    // whole, as other readers read it, in either format (an .xls text
    // cannot pass 65,535 characters). An .xlsx text past 4,194,304
    // characters as written is refused. The characters of a range are added
    // up from the stored texts, in UTF-16 units.
    void cell_lengths()
    {
        const QString longer = QString(32770 - 100, QChar(0xAC00)) + QStringLiteral("_x000D_").repeated(100);
        QVERIFY(write_one_text_everywhere(path("longer.xlsx"), longer, 2, 1));
        QString err;
        auto w = WorkbookReader::open(path("longer.xlsx"), &err);
        QVERIFY2(w, qPrintable(err));
        QCOMPARE(w->cell(2, 1), QString(32770 - 100, QChar(0xAC00)) + QString(100, QChar('\r')));
        for (const int n : {4194304, 4194305}) {
            QVERIFY(write_one_text_everywhere(path("bound.xlsx"), QString(n, QLatin1Char('x')), 2, 1));
            w = WorkbookReader::open(path("bound.xlsx"), &err);
            QCOMPARE(bool(w), n == 4194304);
            if (w)
                QCOMPARE(w->cell(2, 1).size(), n);
            else
                QVERIFY2(err.contains(QLatin1String("more than 4194304 characters")), qPrintable(err));
        }
        for (const int n : {32770, 65535}) {
            QFile f(path("lengths.xls"));
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(biff::texts_everywhere({QString(n, QChar(0xAC00)), QStringLiteral("b")}, 2, 1));
            f.close();
            w = WorkbookReader::open(path("lengths.xls"), &err);
            QVERIFY2(w, qPrintable(err));
            QCOMPARE(w->cell(1, 1), QString(n, QChar(0xAC00)));
        }

        StoredSheet sheet;
        auto put = [&](uint32_t row, uint32_t col, const QString& text) {
            const uint32_t off = sheet.add_text(text);
            QVERIFY(sheet.put(row, col, off, sheet.pool_size() - off));
        };
        put(1, 1, QStringLiteral("abc"));
        put(2, 1, QStringLiteral("가나"));
        put(2, 2, QStringLiteral("\U0001F600x"));   // a character outside the BMP: two units
        put(2, 12, QStringLiteral("zzzz"));
        put(4, 3, QStringLiteral("é"));
        sheet.finish();
        QCOMPARE(sheet.text_length(1, 11, 1000), 9);
        QCOMPARE(sheet.text_length(2, 11, 1000), 6);
        QCOMPARE(sheet.text_length(2, 12, 1000), 10);
        QCOMPARE(sheet.text_length(3, 2, 1000), 0);
        QCOMPARE(sheet.text_length(2, 1, 1000), 2);
        QVERIFY(sheet.text_length(1, 11, 4) > 4);
    }

    // Parts that would take the machine's memory or minutes: refused at
    // once, saying why.
    void refused_hostile_parts_data()
    {
        QTest::addColumn<QByteArray>("part");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("why");
        const QByteArray strings = "xl/sharedStrings.xml", sheet = "xl/worksheets/sheet1.xml";
        // Entities that expand to nothing, each four times the one before.
        QTest::newRow("document type declaration")
            << strings
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE sst [<!ENTITY a0 \"\"><!ENTITY a1 \"&a0;&a0;&a0;&a0;\">"
                          "<!ENTITY a2 \"&a1;&a1;&a1;&a1;\">]><sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                          "<si><t>x&a2;&a2;</t></si></sst>")
            << "DTD";
        QTest::newRow("row one billion") << sheet << worksheet(R"(<row r="1000000000"><c r="A1000000000"><v>1</v></c></row>)") << "beyond";
        QTest::newRow("row after the last") << sheet << worksheet(R"(<row r="1048577"><c><v>1</v></c></row>)") << "beyond";
        QTest::newRow("column after the last") << sheet << worksheet(R"(<row r="1"><c r="XFE1"><v>1</v></c></row>)") << "beyond";
        // 2^32 + 1: the row would be 1 if it wrapped.
        QTest::newRow("row of eleven digits") << sheet << worksheet(R"(<row r="1"><c r="A4294967297"><v>1</v></c></row>)") << "beyond";
        QByteArray wide = "<row>";
        for (int c = 0; c <= 16384; ++c)
            wide += "<c><v>1</v></c>";
        QTest::newRow("cells without references past the last column") << sheet << worksheet(wide + "</row>") << "beyond";
        QByteArray attributes = "<row r=\"1\"";
        for (int a = 0; a < 65; ++a)
            attributes += " a" + QByteArray::number(a) + "=\"1\"";
        QTest::newRow("element with 65 attributes") << sheet << worksheet(attributes + "/>") << "attributes";
        QTest::newRow("elements 300 deep") << sheet << worksheet(QByteArray("<x>").repeated(300) + QByteArray("</x>").repeated(300)) << "deeper";
        QTest::newRow("comment of 300 KB") << sheet << worksheet("<!--" + QByteArray(300 << 10, 'z') + "-->") << "comment";
    }
    void refused_hostile_parts()
    {
        QFETCH(QByteArray, part);
        QFETCH(QByteArray, content);
        QFETCH(QString, why);
        auto p = package({}, R"(<sheet name="a" sheetId="1" r:id="rId1"/>)",
                         rel("rId1", "worksheet", "worksheets/sheet1.xml") + rel("rId2", "sharedStrings", "sharedStrings.xml"));
        p["xl/worksheets/sheet1.xml"] = worksheet(R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row>)");
        p["xl/sharedStrings.xml"] = shared_strings({QStringLiteral("x")});
        p[part.toStdString()] = content;
        const QString file = path("hostile.xlsx");
        QVERIFY(write_zip(file, p));
        AddressSpaceCap cap;
        QString err;
        QVERIFY(!WorkbookReader::open(file, &err));
        QVERIFY2(err.contains(why), qPrintable(err));
    }

    // A part that inflates past the limit is refused, whether its size in
    // the zip says so or lies about it.
    void inflation_limit()
    {
        auto p = package({}, R"(<sheet name="a" sheetId="1" r:id="rId1"/>)", rel("rId1", "worksheet", "worksheets/sheet1.xml"));
        p["xl/worksheets/sheet1.xml"] = worksheet(R"(<row r="1"><c r="A1"><v>7</v></c></row>)" + QByteArray(300 << 10, ' '));
        const QString file = path("inflating.xlsx");
        QVERIFY(write_zip(file, p));
        QString err;
        StoredSheet sheet;
        QVERIFY(!read_xlsx(file, sheet, &err, {}, 256 << 10));
        QVERIFY2(err.contains(QLatin1String("inflates to more than 262144 bytes")), qPrintable(err));
        auto w = WorkbookReader::open(file, &err);
        QVERIFY2(w, qPrintable(err));
        QCOMPARE(w->cell(1, 1), QStringLiteral("7"));

        // The central directory made to declare 1,000 bytes for the sheet.
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
        f.close();
        qsizetype at = -1;
        for (qsizetype i = bytes.indexOf("PK\x01\x02"); i >= 0; i = bytes.indexOf("PK\x01\x02", i + 4))
            if (bytes.mid(i + 46, 24) == "xl/worksheets/sheet1.xml")
                at = i;
        QVERIFY(at >= 0);
        const char declared[4] = {char(0xE8), char(0x03), 0, 0};
        bytes.replace(at + 24, 4, QByteArray(declared, 4));
        const QString lying = path("lying.xlsx");
        QFile g(lying);
        QVERIFY(g.open(QIODevice::WriteOnly));
        g.write(bytes);
        g.close();
        QVERIFY(!WorkbookReader::open(lying, &err));
        QVERIFY2(err.contains(QLatin1String("1000 bytes it declares")), qPrintable(err));
    }

    void refused_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing") << "missing.xlsx" << QByteArray();
        QTest::newRow("empty") << "empty.xlsx" << QByteArray("");
        QTest::newRow("text") << "text.xls" << QByteArray("구분,바코드\nA,00123\n");
        QTest::newRow("zip signature only") << "short.xlsx" << QByteArray("PK\x03\x04 not really");
        QTest::newRow("ole signature only") << "short.xls" << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 truncated", 18);
    }
    void refused()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        const QString p = dir_.filePath(file);
        if (!content.isNull()) {
            QFile f(p);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        QString err;
        QVERIFY(!WorkbookReader::open(p, &err));
        QVERIFY(!err.isEmpty());
        QVERIFY(!WorkbookReader::open(p));   // no error text wanted
    }

    // Zips that are no workbook, or a workbook with a part that is damaged.
    void refused_packages()
    {
        QString err;
        const QString other = path("other.xlsx");
        QVERIFY(write_zip(other, {{"word/document.xml", "<document/>"}}));
        QVERIFY(!WorkbookReader::open(other, &err));
        QVERIFY2(err.contains(QLatin1String("not a workbook")), qPrintable(err));

        auto p = package({}, R"(<sheet name="a" sheetId="1" r:id="rId1"/>)", rel("rId1", "worksheet", "worksheets/sheet1.xml"));
        p["xl/worksheets/sheet1.xml"] = worksheet(R"(<row r="1"><c r="A1"><v>1</v></c></row><row><c><v>2</c></row>)");
        const QString bad_xml = path("bad_xml.xlsx");
        QVERIFY(write_zip(bad_xml, p));
        QVERIFY(!WorkbookReader::open(bad_xml, &err));
        QVERIFY2(err.contains(QLatin1String("damaged")), qPrintable(err));

        p.erase("xl/worksheets/sheet1.xml");
        const QString no_sheet = path("no_sheet.xlsx");
        QVERIFY(write_zip(no_sheet, p));
        QVERIFY(!WorkbookReader::open(no_sheet, &err));

        auto chart = package({}, R"(<sheet name="a" sheetId="1" r:id="rId1"/>)", rel("rId1", "chartsheet", "chartsheets/sheet1.xml"));
        chart["xl/chartsheets/sheet1.xml"] = "<chartsheet/>";
        const QString only_chart = path("only_chart.xlsx");
        QVERIFY(write_zip(only_chart, chart));
        QVERIFY(!WorkbookReader::open(only_chart, &err));
        QVERIFY2(err.contains(QLatin1String("no worksheet")), qPrintable(err));

        // A zip whose (64-bit) end record lists 200,000 entries: refused
        // before its directory is read into memory.
        auto le = [](quint64 v, int bytes) {
            QByteArray b;
            for (int i = 0; i < bytes; ++i)
                b += char((v >> (8 * i)) & 0xFF);
            return b;
        };
        const QByteArray many = QByteArray("PK\x03\x04", 4) + le(0, 4)
            + QByteArray("PK\x06\x06", 4) + le(44, 8) + le(45, 2) + le(45, 2) + le(0, 8) + le(200000, 8) + le(200000, 8)
            + le(0, 8) + le(8, 8)
            + QByteArray("PK\x06\x07", 4) + le(0, 4) + le(8, 8) + le(1, 4)
            + QByteArray("PK\x05\x06", 4) + le(0, 4) + le(0xFFFF, 2) + le(0xFFFF, 2) + le(0xFFFFFFFF, 4) + le(0xFFFFFFFF, 4) + le(0, 2);
        QFile m(path("many.xlsx"));
        QVERIFY(m.open(QIODevice::WriteOnly));
        m.write(many);
        m.close();
        QVERIFY(!WorkbookReader::open(path("many.xlsx"), &err));
        QVERIFY2(err.contains(QLatin1String("200000 parts")), qPrintable(err));

        // A good workbook cut short, and one whose compressed sheet data is
        // overwritten (the inflater or the checksum catches it).
        const QString good = write_sample("good.xlsx", false);
        QFile g(good);
        QVERIFY(g.open(QIODevice::ReadOnly));
        const QByteArray bytes = g.readAll();
        g.close();
        QFile x(fixture("members.xls"));
        QVERIFY(x.open(QIODevice::ReadOnly));
        const QByteArray xls = x.readAll();
        for (const auto& [name, data] :
             {std::pair{"cut.xls", xls.left(xls.size() / 2)},
              std::pair{"cut.xlsx", bytes.left(bytes.size() / 2)},
              std::pair{"scribbled.xlsx", QByteArray(bytes).replace(bytes.indexOf("sheet1.xml") + 40, 200, QByteArray(200, 'z'))}}) {
            QFile f(path(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(data);
            f.close();
            QVERIFY2(!WorkbookReader::open(path(name), &err), name);
            QVERIFY(!err.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestWorkbook)
#include "tst_workbook.moc"
