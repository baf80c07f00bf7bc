#pragma once
// Workbooks of the older binary format, built in memory for the tests and
// the benchmark: BIFF records composed by the caller, put together into a
// workbook stream and wrapped in a compound (OLE) file.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace biff {

// Little-endian bytes, appended in order.
struct Bytes {
    QByteArray b;
    Bytes& u8(int v);
    Bytes& u16(int v);
    Bytes& u32(quint32 v);
    Bytes& f64(double v);
    Bytes& raw(const QByteArray& v);
    operator QByteArray() const { return b; }
};

QByteArray record(int type, const QByteArray& data);

// A BIFF8 string with a 16-bit character count: one byte a character when
// every character is below 256, else two.
QByteArray string16(const QString& s);

// Cells, as BIFF5 and BIFF8 both lay them out (row and column 0-based).
QByteArray number(int row, int col, double v, int xf = 0);
QByteArray rk(int row, int col, qint32 whole, int xf = 0);   // a whole number in an RK record
QByteArray label_sst(int row, int col, quint32 index, int xf = 0);

// Cell formats (BIFF8 20 bytes, BIFF5 16) and number formats.
QByteArray xf(int version, int format);
QByteArray format(int version, int index, const QString& code);
// The shared strings: an SST record and the CONTINUE records its strings
// spill into (records at most 8,224 bytes long).
QByteArray sst(const QStringList& strings);

struct Sheet {
    QString name;
    int type = 0;         // 0 worksheet, 2 chart
    QByteArray records;   // between its BOF and EOF
};
// A workbook stream: the globals' BOF, `globals`, one BOUNDSHEET per sheet
// and EOF, then each sheet between its BOF and EOF. Version 8 (Excel 97 and
// later) or 5 (Excel 5 and 95; names in Latin-1).
QByteArray workbook(int version, const QByteArray& globals, const QList<Sheet>& sheets);

struct Options {
    int sector_shift = 9;    // 512-byte sectors, or 12 for 4096
    bool pad_last = true;    // false: the file ends with the last stream's last byte
};
// A compound file holding the streams given (name, bytes) at its root.
// Streams under 4,096 bytes go into the mini stream.
QByteArray compound(const QList<std::pair<QString, QByteArray>>& streams, const Options& opt = {});

// A whole .xls file whose few shared strings fill `rows` rows of `cols`
// columns, taken in turn: a small file whose cells, spelled out, are many
// times its size.
QByteArray texts_everywhere(const QStringList& texts, int rows, int cols);

} // namespace biff
