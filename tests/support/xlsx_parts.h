#pragma once
// .xlsx workbooks made of hand-written parts, for what libxlsxwriter cannot
// write (texts longer than a cell holds, the 1904 system, hostile markup).
#include <QByteArray>
#include <QString>
#include <map>
#include <string>

namespace xlsx_parts {

using Parts = std::map<std::string, QByteArray>;

// A zip holding the given parts, stored as given.
bool write_zip(const QString& path, const Parts& parts);

// A package: workbook.xml with `workbook_pr`, the sheets listed in
// `sheets_xml` (r:id rIdN -> parts given in `rels_xml`); the sheet parts
// themselves are the caller's.
Parts package(const QByteArray& workbook_pr, const QByteArray& sheets_xml, const QByteArray& rels_xml);
QByteArray rel(const char* id, const char* type, const char* target);
QByteArray worksheet(const QByteArray& sheet_data);
// A shared strings part holding `strings` (characters XML-escaped).
QByteArray shared_strings(const QStringList& strings);

// A workbook whose one shared string `text` fills `rows` rows of `cols`
// columns: a small file whose cells, spelled out, are `rows * cols` times
// the text.
bool write_one_text_everywhere(const QString& path, const QString& text, int rows, int cols);

} // namespace xlsx_parts
