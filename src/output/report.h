#pragma once
#include "ui/FlexGrid.h"

#include <QList>
#include <QString>
#include <QStringList>

class Connection;
class QPagedPaintDevice;
class QPainter;

// The printed reports r_1, r_3, r_4, r_5, r_6 as data: every measure in
// twips (1440 to the inch) on a body 15570 wide, printed on A4 landscape.
struct ReportHeading {    // a grey heading cell, its caption centred
    QString caption;
    int left, top, width;
};
struct ReportField {      // a text box of the detail band, 240 high
    QString column;       // the print table's column it shows
    int left, top, width;
    Qt::Alignment align;
};
struct ReportLayout {
    QString name;          // "r_1"
    QString title;         // "전체회원리스트"
    QString table;         // "prt1"
    int header_height = 0; // page header band
    int detail_height = 0; // one record
    QList<ReportHeading> headings;
    QList<ReportField> fields;
};
// A report's layout, its item-field headings taken from the settings now.
// Empty (no name) for an unknown report.
ReportLayout report_layout(const QString& name);

// The rows a report shows: the print table read in the order the rows were
// written (the data environment's command).
struct ReportData {
    QStringList columns;
    GridStore rows;        // no header row: row 0 is the first record
};
bool load_report_data(Connection& prt, const QString& table, ReportData* data);

// Paints a report onto any paged device (the preview's printer, a PDF
// writer): the page header (title, print date, information line, headings)
// on every page, the records, and the footer with "page / pages".
class ReportRenderer {
public:
    ReportRenderer(ReportLayout layout, const ReportData& data, QString info, QString print_date);

    // A4 landscape with the report's margins.
    static void set_page(QPagedPaintDevice* device);
    // Records on one page and the number of pages for a device.
    int records_per_page(const QPagedPaintDevice* device) const;
    int page_count(const QPagedPaintDevice* device) const;
    // Every page (a printer's page range only, when it has one); false when
    // the device cannot be painted.
    bool print(QPagedPaintDevice* device) const;

    const ReportLayout& layout() const { return layout_; }
    const QString& info() const { return info_; }

private:
    void paint_page(QPainter& p, int page, int pages, int per_page, int body_left) const;
    ReportLayout layout_;
    const ReportData& data_;
    QString info_, date_;
    QList<int> field_cols_;   // column of each field in data_, -1 when missing
};
