#include "ui/FlexGrid.h"
#include "data/text.h"
#include "ui/twips.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <cstdlib>
#include <cstring>
#ifdef __linux__
#include <sys/mman.h>
#endif

void advise_huge(void* p, size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr size_t huge = size_t(2) << 20;
    if (bytes < 2 * huge) return;
    const auto b = reinterpret_cast<uintptr_t>(p);
    const uintptr_t first = (b + huge - 1) & ~(huge - 1);
    const uintptr_t last = (b + bytes) & ~(huge - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)p;
    (void)bytes;
#endif
}

// ----------------------------------------------------------------- GridStore
void GridStore::resize(int rows, int cols)
{
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    if (cols == cols_) {
        cells_.resize(size_t(rows) * cols);
    } else {
        // A new shape keeps the room the grid had (a list reloaded into
        // the same grid grows into memory it already holds).
        PodBuf<Cell> n;
        n.reserve(std::max(size_t(rows) * cols, cells_.capacity()));
        n.resize(size_t(rows) * cols);
        for (int r = 0; r < std::min(rows, rows_); ++r)
            for (int c = 0; c < std::min(cols, cols_); ++c) n[size_t(r) * cols + c] = cells_[size_t(r) * cols_ + c];
        cells_.swap(n);
    }
    const bool shrunk = rows < rows_ || cols < cols_;
    rows_ = rows;
    cols_ = cols;
    if (rows_ == 0) pool_.clear();
    else if (shrunk) compact();
}

void GridStore::compact()
{
    // Texts of rows that went away stay in the pool until it is packed; a
    // list that reloads (set_rows(1), rows appended) would otherwise grow
    // by a whole list each time. The pool keeps its capacity for the next load.
    size_t used = 0;
    for (size_t i = 0; i < cells_.size(); ++i) used += cells_[i].len;
    if (used * 2 >= pool_.size()) return;
    PodBuf<char> kept;
    kept.reserve(std::max<size_t>(used, 1));
    for (size_t i = 0; i < cells_.size(); ++i) {
        Cell& c = cells_[i];
        if (!c.len) continue;
        const auto off = quint32(kept.size());
        kept.append(pool_.data() + c.off, c.len);
        c.off = off;
    }
    // The pool keeps its room for the next load.
    pool_.clear();
    if (kept.size()) pool_.append(kept.data(), kept.size());
}

void GridStore::clear_texts()
{
    cells_.zero();
    pool_.clear();
}

void GridStore::reserve_rows(int rows, int bytes_per_row)
{
    cells_.reserve(size_t(rows) * size_t(cols_));
    pool_.reserve(size_t(rows) * bytes_per_row);
}

void GridStore::remove_row(int r)
{
    if (r < 1 || r >= rows_) return;
    Cell* base = cells_.data();
    std::memmove(static_cast<void*>(base + size_t(r) * cols_), base + size_t(r + 1) * cols_,
                 size_t(rows_ - r - 1) * cols_ * sizeof(Cell));
    cells_.resize(size_t(rows_ - 1) * cols_);
    --rows_;
}

void GridStore::reorder_rows(const std::vector<int>& order)
{
    if (int(order.size()) != rows_ - 1) return;
    PodBuf<Cell> n;
    n.reserve(cells_.capacity());
    n.append(cells_.data(), size_t(cols_));
    for (int old : order) n.append(cells_.data() + size_t(old) * cols_, size_t(cols_));
    cells_.swap(n);
}

void GridStore::set_utf8(int r, int c, const char* p, int len)
{
    if (r < 0 || c < 0 || r >= rows_ || c >= cols_) return;
    Cell& cell = cells_[size_t(r) * cols_ + c];
    if (len <= 0) { cell = Cell{}; return; }
    if (quint32(len) <= cell.len) {   // fits in place
        std::memcpy(pool_.data() + cell.off, p, size_t(len));
        cell.len = quint32(len);
        return;
    }
    cell.off = quint32(pool_.size());
    cell.len = quint32(len);
    pool_.append(p, size_t(len));
}

void GridStore::set_text(int r, int c, const QString& t)
{
    const QByteArray u = t.toUtf8();
    set_utf8(r, c, u.constData(), int(u.size()));
}

const char* GridStore::utf8(int r, int c, int* len) const
{
    if (r < 0 || c < 0 || r >= rows_ || c >= cols_) { *len = 0; return ""; }
    const Cell& cell = cells_[size_t(r) * cols_ + c];
    *len = int(cell.len);
    return cell.len ? pool_.data() + cell.off : "";
}

QString GridStore::text(int r, int c) const
{
    int n = 0;
    const char* p = utf8(r, c, &n);
    return QString::fromUtf8(p, n);
}

QString GridStore::text_head(int r, int c, int units, bool* cut) const
{
    int n = 0;
    const char* p = utf8(r, c, &n);
    const qsizetype end = utf8_head_bytes(p, n, units);
    *cut = end < n;
    return QString::fromUtf8(p, end);
}

// ------------------------------------------------------------- FlexGridModel
class FlexGridModel : public QAbstractTableModel {
public:
    // What the grid lays out of a cell on screen: only as much of its text
    // as the column can show, and never more than the visible area can,
    // ending in "…" where the text goes on. Every character drawn is at
    // least a pixel wide, so a start of twice the pixels (and a little) runs
    // past the cell; the rest could only be elided. Line breaks are spaces,
    // as a cell is drawn on one line. The display role keeps handing out
    // the whole text.
    static constexpr int ShownTextRole = Qt::UserRole + 1;
    // The same for a column as wide as the visible area, whatever the
    // column's width now: what an auto-fit measures.
    static constexpr int FitTextRole = Qt::UserRole + 2;

    explicit FlexGridModel(FlexGrid* g) : QAbstractTableModel(g), g_(g) {}
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() || frozen_ ? shown_rows_ : std::max(g_->store_.rows() - 1, 0);
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() || frozen_ ? shown_cols_ : g_->store_.cols();
    }
    QVariant data(const QModelIndex& i, int role) const override
    {
        const int r = i.row() + 1, c = i.column();
        switch (role) {
        case Qt::DisplayRole: return g_->store_.text(r, c);
        case ShownTextRole: return shown(r, c, std::min(g_->columnWidth(c), g_->viewport()->width()));
        case FitTextRole: return shown(r, c, g_->viewport()->width());
        case Qt::TextAlignmentRole: return align(c);
        case Qt::ForegroundRole: {
            if (g_->colors_.isEmpty()) return {};
            auto it = g_->colors_.constFind((quint64(r) << 32) | quint32(c));
            return it == g_->colors_.cend() ? QVariant() : QVariant(QColor::fromRgb(*it));
        }
        default: return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o == Qt::Horizontal && role == Qt::DisplayRole) return g_->store_.text(0, section);
        if (o == Qt::Horizontal && role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
        return {};
    }
    // What a cell `px` pixels wide shows of cell (r, c)'s text.
    QString shown(int r, int c, int px) const
    {
        bool cut = false;
        QString head = g_->store_.text_head(r, c, 2 * std::max(px, 0) + 8, &cut);
        if (cut) head += QChar(0x2026);
        const auto is_break = [](QChar ch) {
            return ch == u'\n' || ch == u'\r' || ch == QChar::LineSeparator || ch == QChar::ParagraphSeparator;
        };
        if (std::any_of(head.cbegin(), head.cend(), is_break)) std::replace_if(head.begin(), head.end(), is_break, u' ');
        return head;
    }
    QVariant align(int c) const
    {
        const auto a = c < int(g_->aligns_.size()) ? g_->aligns_[size_t(c)] : FlexGrid::AlignLeft;
        Qt::Alignment h = a == FlexGrid::AlignRight ? Qt::AlignRight : a == FlexGrid::AlignCenter ? Qt::AlignHCenter : Qt::AlignLeft;
        return int(h | Qt::AlignVCenter);
    }
    void freeze()
    {
        if (frozen_) return;
        shown_rows_ = rowCount();
        shown_cols_ = columnCount();
        frozen_ = true;
    }
    void thaw()
    {
        beginResetModel();
        frozen_ = false;
        endResetModel();
    }
    bool frozen() const { return frozen_; }
    void cell_changed(int r, int c)
    {
        if (frozen_) return;
        if (r == 0) emit headerDataChanged(Qt::Horizontal, c, c);
        else emit dataChanged(index(r - 1, c), index(r - 1, c));
    }
    void reset() { if (!frozen_) { beginResetModel(); endResetModel(); } }
    void begin_rows(int first, int last) { if (!frozen_) beginInsertRows({}, first, last); }
    void end_rows() { if (!frozen_) endInsertRows(); }
    void begin_remove(int row) { if (!frozen_) beginRemoveRows({}, row, row); }
    void end_remove() { if (!frozen_) endRemoveRows(); }

private:
    FlexGrid* g_;
    bool frozen_ = false;
    int shown_rows_ = 0;
    int shown_cols_ = 0;
};

// ------------------------------------------------------------ FlexGridCells
namespace {
// The length of a start of `text` wider on one line than `width` pixels,
// found laying out no more of it than it must: a short start first, then
// each time a start as long as the last one's width says should pass (and
// a quarter more). 0 when only the whole text could, which is left to the
// caller.
qsizetype passing_start(const QFontMetrics& fm, const QString& text, int width)
{
    width = std::max(width, 0);
    for (qsizetype n = width / 32 + 8; n < text.size();) {
        if (text.at(n - 1).isHighSurrogate()) ++n;
        if (n >= text.size()) break;
        const int w = fm.horizontalAdvance(text.left(n));
        if (w > width) return n;
        n = qsizetype(double(n) * width / std::max(w, 1) * 1.25) + 8;
    }
    return 0;
}

// `text` elided to `width` pixels; of a long text only a start that passes
// the width is laid out.
QString elided(const QFontMetrics& fm, const QString& text, int width)
{
    const qsizetype n = passing_start(fm, text, width);
    return fm.elidedText(n > 0 ? text.left(n) + QChar(0x2026) : text, Qt::ElideRight, width);
}
}

// Paints a cell as the style does, but its text with the grid's own narrow
// padding instead of the style's wider item margins. What it paints and
// measures of a cell's text is only what the column, and at most the
// visible area, can show: a cell of a million characters paints as fast as
// a short one, in however wide a column.
class FlexGridCells : public QStyledItemDelegate {
public:
    explicit FlexGridCells(FlexGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}
    // As the style's own does for the roles the grid's model gives, but with
    // the text the cell shows instead of the whole text.
    void initStyleOption(QStyleOptionViewItem* o, const QModelIndex& index) const override
    {
        prepare(o, index, FlexGridModel::ShownTextRole);
    }
    // The style's own size for the text as a column with room to spare
    // shows it, so an auto-fit comes out the same from any width the column
    // has; never wider than the visible area. Of a text that runs past that
    // area only a start is laid out, and its line's height taken from its
    // first characters.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        prepare(&opt, index, FlexGridModel::FitTextRole);
        const int most = std::max(grid_->viewport()->width(), 0);
        const bool past = passing_start(opt.fontMetrics, opt.text, most) > 0;
        if (past) opt.text.truncate(opt.text.at(7).isHighSurrogate() ? 9 : 8);
        const QWidget* w = opt.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        const QSize s = style->sizeFromContents(QStyle::CT_ItemViewItem, &opt, QSize(), w);
        return {past ? most : std::min(s.width(), most), s.height()};
    }
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* w = opt.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, p, w);
        if (text.isEmpty()) return;
        const QRect r = opt.rect.adjusted(FlexGrid::cell_padding, 0, -FlexGrid::cell_padding, 0);
        const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (opt.state & QStyle::State_Active) ? QPalette::Active
                                                                                 : QPalette::Inactive;
        const bool selected = opt.state & QStyle::State_Selected;
        const int room = std::min(r.width(), grid_->viewport()->width());
        p->save();
        p->setFont(opt.font);
        p->setPen(opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        p->drawText(r, int(opt.displayAlignment) | Qt::TextSingleLine, elided(opt.fontMetrics, text, room));
        p->restore();
    }

private:
    // The option as the style fills it for the roles the grid's model
    // gives, the text taken from `text_role`.
    void prepare(QStyleOptionViewItem* o, const QModelIndex& index, int text_role) const
    {
        o->index = index;
        if (const QVariant a = index.data(Qt::TextAlignmentRole); a.isValid())
            o->displayAlignment = Qt::Alignment(a.toInt());
        if (const QVariant f = index.data(Qt::ForegroundRole); f.canConvert<QBrush>())
            o->palette.setBrush(QPalette::Text, f.value<QBrush>());
        o->features |= QStyleOptionViewItem::HasDisplay;
        o->text = index.data(text_role).toString();
        o->backgroundBrush = QBrush();
        o->styleObject = nullptr;
    }
    FlexGrid* grid_;
};

// ------------------------------------------------------------------ FlexGrid
int FlexGrid::text_room(int twips)
{
    // The grid line takes the last pixel of each cell.
    return twips_to_px(twips) - 1 - 2 * cell_padding;
}

namespace {
// A press on the header row is a press on the grid's row 0: the screens
// hear of it as of a press on any other row (the right button opens the
// list's popup there too).
class HeaderPresses : public QObject {
public:
    explicit HeaderPresses(FlexGrid* grid) : QObject(grid), grid_(grid) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonPress) {
            const auto* m = static_cast<QMouseEvent*>(e);
            emit grid_->MouseDown(m->button(), m->globalPosition().toPoint());
        }
        return false;
    }

private:
    FlexGrid* grid_;
};
}

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent), model_(new FlexGridModel(this))
{
    setItemDelegate(new FlexGridCells(this));
    store_.resize(1, 2);
    // Every column has its width and alignment from the start, as set_cols gives them.
    widths_.resize(size_t(store_.cols()), 1000);
    aligns_.resize(size_t(store_.cols()), AlignLeft);
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->viewport()->installEventFilter(new HeaderPresses(this));
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    set_row_height(0, header_h_);
    set_row_height(1, row_h_);
    sync_columns();
}

FlexGrid::~FlexGrid() = default;

int FlexGrid::rows() const { return store_.rows(); }
int FlexGrid::cols() const { return store_.cols(); }

void FlexGrid::clear_grid(int cols)
{
    clear_cells();
    set_rows(1);
    set_cols(cols);
    if (cols <= 1) {
        bare_ = true;
        setColumnHidden(0, true);
    }
}

void FlexGrid::set_rows(int n)
{
    n = std::max(n, 1);
    if (bare_ && n > 1) {
        bare_ = false;
        sync_columns();
    }
    if (n == store_.rows()) return;
    const int cur = row();
    store_.resize(n, store_.cols());
    // Colours of rows that went away go with them.
    if (!colors_.isEmpty())
        for (auto it = colors_.begin(); it != colors_.end();)
            it = int(it.key() >> 32) >= n ? colors_.erase(it) : std::next(it);
    model_->reset();
    if (model_->frozen()) pending_row_ = std::min(cur, n - 1);
    else if (cur > 0 && cur < n) set_row(cur);
}

void FlexGrid::set_cols(int n)
{
    n = std::max(n, 1);
    if (bare_ && n > 1) {
        bare_ = false;
        sync_columns();
    }
    if (n == store_.cols()) return;
    store_.resize(store_.rows(), n);
    widths_.resize(size_t(n), 1000);
    aligns_.resize(size_t(n), AlignLeft);
    model_->reset();
    sync_columns();
}

int FlexGrid::row() const
{
    if (model_->frozen()) return pending_row_;
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

void FlexGrid::set_row(int r)
{
    if (model_->frozen()) { pending_row_ = r; return; }
    if (r <= 0 || r >= rows()) { setCurrentIndex({}); return; }
    setCurrentIndex(model_->index(r - 1, std::clamp(cur_col_, 0, cols() - 1)));
}

int FlexGrid::col() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() : cur_col_;
}

void FlexGrid::set_col(int c)
{
    cur_col_ = std::clamp(c, 0, cols() - 1);
    const QModelIndex i = currentIndex();
    if (i.isValid() && !model_->frozen())
        selectionModel()->setCurrentIndex(model_->index(i.row(), cur_col_), QItemSelectionModel::NoUpdate);
}

QString FlexGrid::text(int r, int c) const { return store_.text(r, c); }

void FlexGrid::set_text(int r, int c, const QString& t)
{
    store_.set_text(r, c, t);
    model_->cell_changed(r, c);
}

void FlexGrid::set_utf8(int r, int c, const char* p, int len)
{
    store_.set_utf8(r, c, p, len);
    model_->cell_changed(r, c);
}

int FlexGrid::add_row()
{
    const int r = store_.rows();
    model_->begin_rows(r - 1, r - 1);
    store_.resize(r + 1, store_.cols());
    model_->end_rows();
    return r;
}

void FlexGrid::remove_row(int r)
{
    if (r < 1 || r >= rows()) return;
    const int cur = row();
    model_->begin_remove(r - 1);
    store_.remove_row(r);
    model_->end_remove();
    if (!colors_.isEmpty()) {
        QHash<quint64, QRgb> kept;
        for (auto it = colors_.cbegin(); it != colors_.cend(); ++it) {
            const int cr = int(it.key() >> 32);
            if (cr == r) continue;
            const quint64 row_part = quint64(cr > r ? cr - 1 : cr) << 32;
            kept.insert(row_part | (it.key() & 0xffffffffULL), it.value());
        }
        colors_.swap(kept);
    }
    if (model_->frozen()) pending_row_ = std::min(cur, rows() - 1);
    else if (cur > 0) set_row(std::min(cur, rows() - 1));
}

void FlexGrid::sort_rows(int c, bool descending)
{
    const int n = rows() - 1;
    if (n < 2 || c < 0 || c >= cols()) return;
    std::vector<QString> keys(static_cast<size_t>(n) + 1);
    for (int r = 1; r <= n; ++r) keys[size_t(r)] = store_.text(r, c).toCaseFolded();
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) order[size_t(i)] = i + 1;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int k = keys[size_t(a)].compare(keys[size_t(b)]);
        return descending ? k > 0 : k < 0;
    });
    keys.clear();
    store_.reorder_rows(order);
    if (!colors_.isEmpty()) {
        std::vector<int> to(static_cast<size_t>(n) + 1);
        for (int i = 0; i < n; ++i) to[size_t(order[size_t(i)])] = i + 1;
        QHash<quint64, QRgb> moved;
        for (auto it = colors_.cbegin(); it != colors_.cend(); ++it) {
            const int cr = int(it.key() >> 32);
            const int nr = cr >= 1 && cr <= n ? to[size_t(cr)] : cr;
            moved.insert((quint64(nr) << 32) | (it.key() & 0xffffffffULL), it.value());
        }
        colors_.swap(moved);
    }
    model_->reset();
}

void FlexGrid::set_top_row(int r)
{
    if (model_->frozen() || r < 1 || r >= rows()) return;
    executeDelayedItemsLayout();
    updateGeometries();
    verticalScrollBar()->setValue(r - 1);
}

void FlexGrid::set_col_width(int c, int twips)
{
    if (c < 0 || c >= cols()) return;
    if (c == 0) bare_ = false;
    widths_[size_t(c)] = std::max(twips, 0);
    setColumnHidden(c, twips <= 0);
    if (twips > 0) horizontalHeader()->resizeSection(c, twips_to_px(twips));
}

int FlexGrid::sizeHintForColumn(int column) const
{
    // As a spreadsheet caps a column: a text too long for the visible area
    // fits the column to that area.
    return std::min(QTableView::sizeHintForColumn(column), viewport()->width());
}

int FlexGrid::col_width(int c) const { return c >= 0 && c < cols() ? widths_[size_t(c)] : 0; }

void FlexGrid::set_row_height(int r, int twips)
{
    if (r == 0) {
        header_h_ = twips;
        horizontalHeader()->setFixedHeight(std::max(twips_to_px(twips), 1));
    } else {
        row_h_ = twips;
        verticalHeader()->setDefaultSectionSize(std::max(twips_to_px(twips), 1));
    }
}

int FlexGrid::row_height(int r) const { return r == 0 ? header_h_ : row_h_; }

void FlexGrid::fit_data_rows(int n)
{
    if (n <= 0) return;
    // The header's set height: the view may not have laid it out yet.
    const int room = height() - 2 * frameWidth() - std::max(twips_to_px(header_h_), 1);
    const int line = fontMetrics().height() + 4;
    const int px = std::clamp(room / n, line, std::max(twips_to_px(row_h_), line));
    verticalHeader()->setDefaultSectionSize(px);
}

void FlexGrid::set_col_alignment(int c, Align a)
{
    if (c < 0 || c >= cols()) return;
    aligns_[size_t(c)] = a;
    if (!model_->frozen() && rows() > 1)
        emit model_->dataChanged(model_->index(0, c), model_->index(rows() - 2, c), {Qt::TextAlignmentRole});
}

FlexGrid::Align FlexGrid::col_alignment(int c) const
{
    return c >= 0 && c < cols() ? aligns_[size_t(c)] : AlignLeft;
}

void FlexGrid::set_cell_fore_color(int r, int c, const QColor& color)
{
    if (r < 0 || c < 0 || r >= rows() || c >= cols()) return;
    const quint64 key = (quint64(r) << 32) | quint32(c);
    if (color == QColor(Qt::black) || !color.isValid()) colors_.remove(key);
    else colors_.insert(key, color.rgb());
    model_->cell_changed(r, c);
}

QColor FlexGrid::cell_fore_color(int r, int c) const
{
    auto it = colors_.constFind((quint64(r) << 32) | quint32(c));
    return it == colors_.cend() ? QColor(Qt::black) : QColor::fromRgb(*it);
}

void FlexGrid::set_redraw(bool on)
{
    if (on == redraw_) return;
    redraw_ = on;
    if (!on) {
        pending_row_ = row();
        model_->freeze();
        setUpdatesEnabled(false);
    } else {
        model_->thaw();
        sync_columns();
        setUpdatesEnabled(true);
        set_row(pending_row_);
    }
}

void FlexGrid::clear_cells()
{
    store_.clear_texts();
    colors_.clear();
    model_->reset();
}

void FlexGrid::sync_columns()
{
    for (int c = 0; c < cols(); ++c) {
        const int w = widths_.size() > size_t(c) ? widths_[size_t(c)] : 1000;
        setColumnHidden(c, w <= 0 || (bare_ && c == 0));
        if (w > 0) horizontalHeader()->resizeSection(c, twips_to_px(w));
    }
}

size_t FlexGrid::memory_bytes() const { return store_.bytes() + size_t(colors_.size()) * 24; }

void FlexGrid::keyPressEvent(QKeyEvent* e)
{
    emit KeyDown(e->key(), e->modifiers());
    QTableView::keyPressEvent(e);
}

void FlexGrid::mousePressEvent(QMouseEvent* e)
{
    QTableView::mousePressEvent(e);
    const QModelIndex i = indexAt(e->position().toPoint());
    if (i.isValid()) cur_col_ = i.column();
    emit MouseDown(e->button(), e->globalPosition().toPoint());
    if (e->button() == Qt::LeftButton) emit Click();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTableView::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton && indexAt(e->position().toPoint()).isValid()) emit DblClick();
}

void FlexGrid::wheel_scroll(int delta)
{
    constexpr int notch = 120;
    QScrollBar* bar = verticalScrollBar();
    if (delta == 0) return;
    if (std::abs(delta) >= notch) {
        wheel_rest_ = 0;
        if (delta == notch) bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        else if (delta > 0) bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        else if (delta == -notch) bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        else bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        return;
    }
    if ((wheel_rest_ > 0) != (delta > 0)) wheel_rest_ = 0;
    wheel_rest_ += delta;
    for (; wheel_rest_ >= notch; wheel_rest_ -= notch) bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    for (; wheel_rest_ <= -notch; wheel_rest_ += notch) bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}

void FlexGrid::wheelEvent(QWheelEvent* e)
{
    if (!wheel_hooked_) { QTableView::wheelEvent(e); return; }
    // One scroll per wheel message, vertical only; the view's own wheel
    // handling is not run on top of it.
    const QPoint d = e->angleDelta();
    if (d.y() != 0 && std::abs(d.y()) >= std::abs(d.x())) wheel_scroll(d.y());
    e->accept();
}

bool hook_wheel(FlexGrid* grid)
{
    if (!grid) return false;
    grid->set_wheel_hooked(true);
    return true;
}

void unhook_wheel(FlexGrid* grid)
{
    if (grid) grid->set_wheel_hooked(false);
}
