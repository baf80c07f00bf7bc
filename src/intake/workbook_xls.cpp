// .xls: the older binary workbook, read through FreeXL. FreeXL hands every
// text over as UTF-8 (it converts the workbook's code page itself) and
// reports cells whose format shows a date as "yyyy-mm-dd" text, but leaves
// formula cells empty: their cached results are read beside it
// (workbook_biff.cpp). The first worksheet is copied into the compact sheet
// and the file closed again.
#include "intake/workbook_sheet.h"

#include <QFile>
#include <cstring>
#include <freexl.h>

namespace {

struct Handle {
    const void* h = nullptr;
    ~Handle()
    {
        if (h)
            freexl_close(h);
    }
};

QString freexl_error(int code)
{
    switch (code) {
    case FREEXL_FILE_NOT_FOUND: return QStringLiteral("file not found");
    case FREEXL_INSUFFICIENT_MEMORY: return QStringLiteral("out of memory");
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return QStringLiteral("no workbook stream (an encrypted .xlsx or another document)");
    case FREEXL_CRAFTED_FILE: return QStringLiteral("the file is damaged");
    case FREEXL_UNSUPPORTED_CHARSET: return QStringLiteral("unsupported code page");
    case FREEXL_INVALID_CHARACTER: return QStringLiteral("text not valid in its code page");
    default: return QStringLiteral("damaged or unsupported (FreeXL error %1)").arg(code);
    }
}

} // namespace

bool read_xls(const QString& path, StoredSheet& sheet, QString* error)
{
    Handle x;
    const int rc = freexl_open(QFile::encodeName(path).constData(), &x.h);
    if (rc != FREEXL_OK) {
        // A password-protected .xlsx is a compound file too: its encrypted
        // package sits beside the key's description.
        if (compound_has_stream(path, u"EncryptedPackage"))
            *error = QStringLiteral("%1: the workbook is encrypted").arg(path);
        else
            *error = QStringLiteral("%1: %2").arg(path, freexl_error(rc));
        return false;
    }
    if (!x.h) {   // FreeXL's answer to a password-protected workbook
        *error = QStringLiteral("%1: the workbook is encrypted").arg(path);
        return false;
    }
    unsigned int info = 0;
    if (freexl_get_info(x.h, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED) {
        *error = QStringLiteral("%1: the workbook is encrypted").arg(path);
        return false;
    }
    unsigned int sheets = 0;
    if (freexl_get_info(x.h, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0) {
        *error = QStringLiteral("%1 has no worksheet").arg(path);
        return false;
    }
    const char* name = nullptr;
    freexl_get_worksheet_name(x.h, 0, &name);
    const QString first_sheet = QString::fromUtf8(name);
    unsigned int rows = 0;
    unsigned short cols = 0;
    int e = freexl_select_active_worksheet(x.h, 0);
    if (e == FREEXL_OK)
        e = freexl_worksheet_dimensions(x.h, &rows, &cols);
    if (e != FREEXL_OK) {
        *error = QStringLiteral("%1: %2").arg(path, freexl_error(e));
        return false;
    }

    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < cols; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(x.h, r, c, &v) != FREEXL_OK)
                continue;
            QByteArray num;
            const char* text = nullptr;
            size_t len = 0;
            switch (v.type) {
            case FREEXL_CELL_INT:
                num = QByteArray::number(v.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                num = number_text(v.value.double_value);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_TIME:
                text = v.value.text_value;
                break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
                // "yyyy-mm-dd" or "yyyy-mm-dd hh:mm:ss": the date part
                text = v.value.text_value;
                if (text && std::strlen(text) > 10)
                    len = 10;
                break;
            default:
                break;
            }
            if (text) {
                if (!len)
                    len = std::strlen(text);
            } else {
                text = num.constData();
                len = size_t(num.size());
            }
            if (!len)
                continue;
            const uint32_t off = sheet.add_text(text, len);
            sheet.put(r + 1, uint32_t(c) + 1, off, uint32_t(len));
        }
    }
    read_xls_formulas(path, first_sheet, sheet);
    return true;
}
