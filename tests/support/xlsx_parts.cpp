#include "support/xlsx_parts.h"

#include <QFile>
#include <QStringList>
#include <cstdlib>
#include <cstring>
#include <zip.h>

namespace xlsx_parts {

namespace {
const char* kContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>)";
const char* kRootRels =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>
</Relationships>)";
} // namespace

bool write_zip(const QString& path, const Parts& parts)
{
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z)
        return false;
    for (const auto& [name, data] : parts) {
        // libzip frees the copy when it is done with it.
        void* copy = malloc(size_t(data.size()));
        memcpy(copy, data.constData(), size_t(data.size()));
        zip_source_t* s = zip_source_buffer(z, copy, zip_uint64_t(data.size()), 1);
        if (!s || zip_file_add(z, name.c_str(), s, ZIP_FL_ENC_UTF_8) < 0) {
            zip_discard(z);
            return false;
        }
    }
    return zip_close(z) == 0;
}

Parts package(const QByteArray& workbook_pr, const QByteArray& sheets_xml, const QByteArray& rels_xml)
{
    Parts p;
    p["[Content_Types].xml"] = kContentTypes;
    p["_rels/.rels"] = kRootRels;
    p["xl/workbook.xml"] =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
        + workbook_pr + "<sheets>" + sheets_xml + "</sheets></workbook>";
    p["xl/_rels/workbook.xml.rels"] =
        R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        + rels_xml + "</Relationships>";
    return p;
}

QByteArray rel(const char* id, const char* type, const char* target)
{
    return QByteArray("<Relationship Id=\"") + id
        + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + type + "\" Target=\""
        + target + "\"/>";
}

QByteArray worksheet(const QByteArray& sheet_data)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
        + sheet_data + "</sheetData></worksheet>";
}

QByteArray shared_strings(const QStringList& strings)
{
    QByteArray x = R"(<?xml version="1.0" encoding="UTF-8"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)";
    for (const QString& s : strings)
        x += "<si><t>" + s.toHtmlEscaped().toUtf8() + "</t></si>";
    return x + "</sst>";
}

bool write_one_text_everywhere(const QString& path, const QString& text, int rows, int cols)
{
    const QByteArray row = "<row>" + QByteArray("<c t=\"s\"><v>0</v></c>").repeated(cols) + "</row>";
    Parts p = package({}, R"(<sheet name="a" sheetId="1" r:id="rId1"/>)",
                      rel("rId1", "worksheet", "worksheets/sheet1.xml") + rel("rId2", "sharedStrings", "sharedStrings.xml"));
    p["xl/worksheets/sheet1.xml"] = worksheet(row.repeated(rows));
    p["xl/sharedStrings.xml"] = shared_strings({text});
    return write_zip(path, p);
}

} // namespace xlsx_parts
