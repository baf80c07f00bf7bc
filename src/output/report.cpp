#include "output/report.h"
#include "data/db.h"
#include "data/state.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace {
constexpr int kBodyWidth = 15570;
constexpr int kFooterHeight = 285;
constexpr int kFieldHeight = 240;
constexpr int kHeadingHeight = 360;
constexpr Qt::Alignment L = Qt::AlignLeft, C = Qt::AlignHCenter, R = Qt::AlignRight;

// Two-line reports: a heading cell over two rows of captions, a field on
// each line (an empty column name: no field on that line).
struct Column2 {
    int left, width;
    QString head1, head2;
    QString col1;
    int f1_left, f1_width;
    QString col2;
    int f2_left, f2_width;
    Qt::Alignment align;
    int top2 = 375;
};
struct Column1 {
    int left, width;
    QString head;
    QString col;
    int f_left, f_width;
    Qt::Alignment align;
};

ReportLayout two_line(const char* name, const QString& title, const char* table, int detail_height,
                      const QList<Column2>& cols)
{
    ReportLayout l{QLatin1String(name), title, QLatin1String(table), 1710, detail_height, {}, {}};
    for (const Column2& c : cols) {
        l.headings << ReportHeading{c.head1, c.left, 990, c.width} << ReportHeading{c.head2, c.left, 1350, c.width};
        l.fields << ReportField{c.col1, c.f1_left, 60, c.f1_width, c.align};
        if (!c.col2.isEmpty()) l.fields << ReportField{c.col2, c.f2_left, c.top2, c.f2_width, c.align};
    }
    return l;
}

ReportLayout one_line(const char* name, const QString& title, const char* table, const QList<Column1>& cols)
{
    ReportLayout l{QLatin1String(name), title, QLatin1String(table), 1350, 330, {}, {}};
    for (const Column1& c : cols) {
        l.headings << ReportHeading{c.head, c.left, 990, c.width};
        l.fields << ReportField{c.col, c.f_left, 60, c.f_width, c.align};
    }
    return l;
}

QFont report_font(int twips, bool bold = false)
{
    QFont f(QStringLiteral("NanumBarunGothic"));
    f.setPixelSize(twips);   // the painter draws in twips
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}
} // namespace

ReportLayout report_layout(const QString& name)
{
    if (name == QLatin1String("r_1")) {
        return two_line("r_1", QStringLiteral("전체회원리스트"), "prt1", 720, {
            {0, 1065, QStringLiteral("회원구분"), QStringLiteral("가입일자"), "gbn", 60, 930, "dat", 60, 930, C, 390},
            {1065, 1065, QStringLiteral("시작일자"), QStringLiteral("만료일자"), "sdat", 1095, 1020, "edat", 1095, 1020, C, 390},
            {2130, 1065, QStringLiteral("결제여부"), QStringLiteral("미 반 납"), "kyu", 2190, 1005, "mee", 2190, 1020, C, 390},
            {3195, 2220, QStringLiteral("회원코드"), QStringLiteral("회 원 명"), "cod", 3300, 2100, "nam", 3300, 2100, L, 390},
            {5415, 3585, QStringLiteral("전화번호"), QStringLiteral("팩스번호"), "tel", 5505, 3390, "phn", 5505, 3405, L, 390},
            {9000, 6570, QStringLiteral("주    소"), QStringLiteral("비    고"), "adr", 9045, 6420, "big", 9045, 6405, L, 390},
        });
    }
    if (name == QLatin1String("r_3")) {
        return one_line("r_3", QStringLiteral("전체품목리스트"), "prt3", {
            {0, 650, QStringLiteral("상태"), "sta", 45, 525, C},
            {645, 1395, QStringLiteral("품목분류"), "gbn", 690, 1290, L},
            {2040, 1695, QStringLiteral("바코드"), "cod", 2070, 1635, L},
            {3735, 3450, f1_nam, "f1", 3765, 3360, L},
            {7185, 1890, f2_nam, "f2", 7260, 1725, L},
            {9075, 2340, f3_nam, "f3", 9135, 2145, L},
            {11415, 1155, QStringLiteral("대여료"), "dae", 11475, 1080, R},
            {12570, 1155, QStringLiteral("연체료"), "yun", 12765, 915, R},
            {13725, 1830, QStringLiteral("비고"), "big", 13785, 1695, L},
        });
    }
    if (name == QLatin1String("r_4")) {
        return two_line("r_4", QStringLiteral("대여반납리스트"), "prt4", 690, {
            {0, 645, QStringLiteral("MK"), QStringLiteral("CNT"), "mk", 45, 525, "cnt", 45, 525, C, 370},
            {645, 1290, QStringLiteral("대여일자"), QStringLiteral("반납예정"), "dat1", 690, 1155, "dat2", 690, 1155, C, 370},
            {1920, 1080, QStringLiteral("반납일자"), QString(), "dat3", 1935, 975, QString(), 0, 0, C},
            {2985, 1365, QStringLiteral("회원코드"), QStringLiteral("바 코 드"), "m_cod", 3000, 1290, "p_cod", 3000, 1260, C},
            {4350, 2655, QStringLiteral("회 원 명"), f1_nam, "m_nam", 4395, 2550, "p_nam", 4395, 2550, L},
            {7005, 1245, QStringLiteral("대여료"), QStringLiteral("연체료"), "dae", 7080, 1080, "yun", 7080, 1080, R},
            {8250, 1245, QStringLiteral("대여처리"), QStringLiteral("반납처리"), "u_dae", 8280, 1170, "u_ban", 8280, 1170, L},
            {9480, 6075, QStringLiteral("비고"), QString(), "big", 9540, 5940, QString(), 0, 0, L},
        });
    }
    if (name == QLatin1String("r_5")) {
        return one_line("r_5", QStringLiteral("정회원별거래집계"), "prt5", {
            {0, 1215, QStringLiteral("가입일"), "dat", 60, 1140, C},
            {1215, 1575, QStringLiteral("회원코드"), "cod", 1290, 1455, C},
            {2790, 1605, QStringLiteral("회 원 명"), "nam", 2850, 1470, L},
            {4395, 1230, QStringLiteral("시작일"), "sdat", 4425, 1170, C},
            {5625, 1230, QStringLiteral("만료일"), "edat", 5670, 1170, C},
            {6855, 1140, QStringLiteral("연회비"), "haebi", 6900, 1080, R},
            {7995, 1155, QStringLiteral("이전미수"), "pre", 8040, 1080, R},
            {9150, 1155, QStringLiteral("연체총액"), "tot_yun", 9195, 1080, R},
            {10305, 1155, QStringLiteral("연체결제"), "tot_kyu", 10350, 1080, R},
            {11460, 1155, QStringLiteral("미수총액"), "tot_mee", 11505, 1080, R},
            {12615, 2940, QStringLiteral("비고"), "big", 12660, 2820, L},
        });
    }
    if (name == QLatin1String("r_6")) {
        return one_line("r_6", QStringLiteral("비회원별거래집계"), "prt6", {
            {0, 1215, QStringLiteral("가입일"), "dat", 60, 1125, C},
            {1215, 1575, QStringLiteral("회원코드"), "cod", 1275, 1470, C},
            {2790, 1605, QStringLiteral("회 원 명"), "nam", 2835, 1530, L},
            {4395, 1155, QStringLiteral("이전미수"), "pre", 4455, 1050, R},
            {5550, 1155, QStringLiteral("대여총액"), "tot_dae", 5625, 1050, R},
            {6705, 1155, QStringLiteral("연체총액"), "tot_yun", 6795, 1050, R},
            {7860, 1155, QStringLiteral("대여결제"), "dae_kyu", 7935, 1050, R},
            {9015, 1155, QStringLiteral("연체결제"), "yun_kyu", 9105, 1050, R},
            {10170, 1155, QStringLiteral("미수총액"), "tot_mee", 10245, 1050, R},
            {11325, 4230, QStringLiteral("비    고"), "big", 11430, 4050, L},
        });
    }
    return {};
}

bool load_report_data(Connection& prt, const QString& table, ReportData* data)
{
    data->columns.clear();
    data->rows.resize(0, 0);
    Cursor cur(prt, Query(QStringLiteral("select * from ") + table + QStringLiteral(" order by rowid")));
    if (!cur.ok()) return false;
    const int cols = cur.columns();
    for (int c = 0; c < cols; ++c) data->columns << cur.name(c);
    data->rows.resize(0, cols);
    int n = 0;
    while (cur.next()) {
        data->rows.resize(n + 1, cols);
        for (int c = 0; c < cols; ++c) {
            int len = 0;
            const char* p = cur.utf8(c, &len);
            data->rows.set_utf8(n, c, p, len);
        }
        ++n;
    }
    return cur.ok();
}

ReportRenderer::ReportRenderer(ReportLayout layout, const ReportData& data, QString info, QString print_date)
    : layout_(std::move(layout)), data_(data), info_(std::move(info)), date_(std::move(print_date))
{
    for (const ReportField& f : layout_.fields) field_cols_ << int(data_.columns.indexOf(f.column));
}

void ReportRenderer::set_page(QPagedPaintDevice* device)
{
    device->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

int ReportRenderer::records_per_page(const QPagedPaintDevice* device) const
{
    const double page_h = device->height() * 1440.0 / device->logicalDpiY();
    const int room = int(page_h) - layout_.header_height - kFooterHeight;
    return std::max(1, layout_.detail_height > 0 ? room / layout_.detail_height : 1);
}

int ReportRenderer::page_count(const QPagedPaintDevice* device) const
{
    const int per = records_per_page(device);
    return std::max(1, (data_.rows.rows() + per - 1) / per);
}

bool ReportRenderer::print(QPagedPaintDevice* device) const
{
    QPainter p;
    if (!p.begin(device)) return false;
    const int per = records_per_page(device);
    const int pages = page_count(device);
    const double page_w = device->width() * 1440.0 / device->logicalDpiX();
    const int body_left = std::max(0, int(page_w - kBodyWidth) / 2);
    // A printer may be asked for some pages only (the print dialog's range).
    int first = 0, last = pages - 1;
    if (auto* printer = dynamic_cast<QPrinter*>(device); printer && printer->fromPage() > 0) {
        first = std::min(printer->fromPage(), pages) - 1;
        last = std::clamp(printer->toPage() > 0 ? printer->toPage() - 1 : last, first, pages - 1);
    }
    for (int page = first; page <= last; ++page) {
        if (page > first && !device->newPage()) return false;
        paint_page(p, page, pages, per, body_left);
    }
    return p.end();
}

void ReportRenderer::paint_page(QPainter& p, int page, int pages, int per_page, int body_left) const
{
    QPaintDevice* dev = p.device();
    const double sx = dev->logicalDpiX() / 1440.0, sy = dev->logicalDpiY() / 1440.0;
    const int page_h = int(dev->height() / sy);
    p.save();
    p.scale(sx, sy);
    p.translate(body_left, 0);
    p.setRenderHint(QPainter::TextAntialiasing);

    static const QFont title_font = report_font(320, true);
    static const QFont head_font = report_font(170);
    static const QFont line_font = report_font(160);
    static const QFont field_font = report_font(175);
    const QPen frame(QColor(150, 150, 150), 10);

    // Page header: title, print date and information line, rule, headings.
    p.fillRect(QRect(0, 0, kBodyWidth, 630), QColor(245, 245, 245));
    p.setFont(title_font);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, kBodyWidth, 630), Qt::AlignCenter | Qt::TextSingleLine, layout_.title);
    p.setFont(line_font);
    p.drawText(QRect(0, 720, 855, 195), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, QStringLiteral("출력일자:"));
    p.drawText(QRect(930, 720, 1740, 195), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, date_);
    p.drawText(QRect(3825, 720, 11745, 195), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, info_);
    p.fillRect(QRect(0, 930, kBodyWidth, 15), Qt::black);
    p.setFont(head_font);
    for (const ReportHeading& h : layout_.headings) {
        const QRect cell(h.left, h.top, h.width, kHeadingHeight);
        p.fillRect(cell, QColor(224, 224, 224));
        p.setPen(frame);
        p.drawRect(cell);
        p.setPen(Qt::black);
        p.drawText(cell, Qt::AlignCenter | Qt::TextSingleLine, h.caption);
    }

    // Records: each in a frame the width of the body.
    p.setFont(field_font);
    const QFontMetricsF fm(field_font);
    const int first = page * per_page;
    const int last = std::min(data_.rows.rows(), first + per_page);
    for (int r = first; r < last; ++r) {
        const int y = layout_.header_height + (r - first) * layout_.detail_height;
        p.setPen(frame);
        p.drawRect(QRect(0, y, kBodyWidth, layout_.detail_height));
        p.setPen(Qt::black);
        for (int i = 0; i < layout_.fields.size(); ++i) {
            if (field_cols_[i] < 0) continue;
            const ReportField& f = layout_.fields[i];
            // A text far longer than its box shows its start, from the box's
            // left edge: laid out whole it could cost seconds a page. Even at
            // the narrowest stretch a character of the field font that takes
            // room is more than ten twips wide, so what lies past that many
            // characters falls outside the box anyway.
            bool cut = false;
            const QString text = data_.rows.text_head(r, field_cols_[i], f.width / 10 + 8, &cut);
            if (text.isEmpty()) continue;
            const Qt::Alignment align = cut ? Qt::AlignLeft : f.align;
            const QRectF box(f.left, y + f.top, f.width, kFieldHeight);
            const double w = fm.horizontalAdvance(text);
            if (w > f.width) {
                // Too wide for its box: drawn narrower rather than cut.
                QFont narrow = field_font;
                narrow.setStretch(std::max(60, int(100.0 * f.width / w)));
                p.setFont(narrow);
                p.drawText(box, align | Qt::AlignVCenter | Qt::TextSingleLine, text);
                p.setFont(field_font);
            } else {
                p.drawText(box, align | Qt::AlignVCenter | Qt::TextSingleLine, text);
            }
        }
    }

    // Page footer at the foot of the page.
    const int fy = page_h - kFooterHeight;
    p.fillRect(QRect(0, fy, kBodyWidth, 15), Qt::black);
    p.setFont(line_font);
    p.drawText(QRect(0, fy + 75, 2580, 195), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               QStringLiteral("PrintViewer"));
    p.drawText(QRect(12960, fy + 75, 2580, 195), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
               QStringLiteral("%1 / %2").arg(page + 1).arg(pages));
    p.restore();
}
