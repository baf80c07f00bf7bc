#pragma once
#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QStringList>
#include <QTableView>
#include <algorithm>
#include <vector>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

// Asks for huge pages on the inside of a big buffer (fewer page faults while
// a long list is loaded); does nothing where the system has none.
void advise_huge(void* p, size_t bytes);

// Growable buffer of plain values on malloc/realloc: a big buffer grows by
// remapping its pages instead of copying them, so loading a long list does
// not pay for its memory twice. New elements are zeroed.
template <class T> class PodBuf {
    static_assert(std::is_trivially_copyable_v<T>);
public:
    PodBuf() = default;
    ~PodBuf() { std::free(p_); }
    PodBuf(const PodBuf&) = delete;
    PodBuf& operator=(const PodBuf&) = delete;
    size_t size() const { return n_; }
    size_t capacity() const { return cap_; }
    T* data() { return p_; }
    const T* data() const { return p_; }
    T& operator[](size_t i) { return p_[i]; }
    const T& operator[](size_t i) const { return p_[i]; }
    void clear() { n_ = 0; }
    void reserve(size_t c)
    {
        if (c <= cap_) return;
        T* q = static_cast<T*>(std::realloc(p_, c * sizeof(T)));
        if (!q) throw std::bad_alloc();
        p_ = q;
        cap_ = c;
        advise_huge(p_, cap_ * sizeof(T));
    }
    void resize(size_t n)
    {
        if (n > cap_) reserve(std::max(n, cap_ + cap_ / 2 + 64));
        if (n > n_) std::memset(static_cast<void*>(p_ + n_), 0, (n - n_) * sizeof(T));
        n_ = n;
    }
    void append(const T* src, size_t k)
    {
        if (k == 0) return;
        const size_t at = n_;
        if (n_ + k > cap_) reserve(std::max(n_ + k, cap_ + cap_ / 2 + 4096));
        std::memcpy(static_cast<void*>(p_ + at), src, k * sizeof(T));
        n_ += k;
    }
    void zero() { if (n_) std::memset(static_cast<void*>(p_), 0, n_ * sizeof(T)); }
    void swap(PodBuf& o) { std::swap(p_, o.p_); std::swap(n_, o.n_); std::swap(cap_, o.cap_); }

private:
    T* p_ = nullptr;
    size_t n_ = 0, cap_ = 0;
};

// Compact string matrix: every cell is an (offset, length) into one UTF-8
// pool. Row 0 is the grid's fixed header row.
class GridStore {
public:
    int rows() const { return rows_; }
    int cols() const { return cols_; }
    void resize(int rows, int cols);
    void clear_texts();
    QString text(int r, int c) const;
    // The start of a cell's text, at most `units` UTF-16 units of it (a
    // character outside the BMP is never halved), and whether the text goes
    // on past it. Only that start is read, however long the text.
    QString text_head(int r, int c, int units, bool* cut) const;
    void set_text(int r, int c, const QString& t);
    void set_utf8(int r, int c, const char* p, int len);
    const char* utf8(int r, int c, int* len) const;
    void reserve_rows(int rows, int bytes_per_row);
    // Removes data row r (1 .. rows()-1); the rows below move up.
    void remove_row(int r);
    // Puts data rows in the order of `order` (old row numbers, one per data
    // row); the header row stays.
    void reorder_rows(const std::vector<int>& order);
    size_t bytes() const { return pool_.capacity() + cells_.capacity() * sizeof(Cell); }

private:
    void compact();
    struct Cell { quint32 off = 0; quint32 len = 0; };
    PodBuf<Cell> cells_;
    PodBuf<char> pool_;
    int rows_ = 0;
    int cols_ = 0;
};

class FlexGridModel;

// The grid of every list, picker and counter screen. Rows and columns count
// from 0; row 0 is the header (shown as the view's horizontal header), data
// rows are 1 .. rows()-1. Widths and heights are twips.
class FlexGrid : public QTableView {
    Q_OBJECT
public:
    enum Align { AlignLeft, AlignCenter, AlignRight };

    explicit FlexGrid(QWidget* parent = nullptr);
    ~FlexGrid() override;

    // Pixels between a cell's text and the cell's left and right edges (the
    // narrow padding of a classic grid), and the room for text that a
    // column of `twips` leaves beside its grid line.
    static constexpr int cell_padding = 1;
    static int text_room(int twips);

    int rows() const;
    void set_rows(int n);          // header row included; at least 1
    int cols() const;
    void set_cols(int n);

    // Current row and column (row 0 while no data row is current).
    int row() const;
    void set_row(int r);
    int col() const;
    void set_col(int c);

    QString text(int r, int c) const;
    void set_text(int r, int c, const QString& t);
    // Current cell's text.
    QString text() const { return text(row(), col()); }

    // Appends a data row (its cells empty) and returns its index.
    int add_row();
    // Removes data row r; the rows below move up, the current row stays on
    // the same number (or the last row).
    void remove_row(int r);
    // The grid's own sort: data rows ordered on column c by their text,
    // compared without regard to case; rows with equal texts keep their order.
    void sort_rows(int c, bool descending);
    // Scrolls data row r to the top of the view (as far as the rows below allow).
    void set_top_row(int r);
    // Room for this many rows (header included) before a long run of add_row.
    void reserve_rows(int rows, int bytes_per_row) { store_.reserve_rows(rows, bytes_per_row); }
    void set_utf8(int r, int c, const char* p, int len);

    void set_col_width(int c, int twips);
    int col_width(int c) const;
    // Row 0 sets the header's height; any data row sets the height of all data rows.
    void set_row_height(int r, int twips);
    int row_height(int r) const;
    // Data rows no higher than set, but low enough (down to the font's line)
    // that n of them show under the header without scrolling; row_height()
    // keeps the height set.
    void fit_data_rows(int n);
    void set_col_alignment(int c, Align a);
    Align col_alignment(int c) const;
    void set_cell_fore_color(int r, int c, const QColor& color);
    QColor cell_fore_color(int r, int c) const;

    // Redraw off: changes are not shown until redraw is switched on again.
    void set_redraw(bool on);
    bool redraw() const { return redraw_; }
    // Empties every cell (header included); rows and columns stay.
    void clear_cells();
    // The header row: as many columns as texts, the standard header height
    // (440 twips), the texts.
    void set_header(const QStringList& heads)
    {
        set_cols(int(heads.size()));
        set_row_height(0, 440);
        for (int c = 0; c < int(heads.size()); ++c) set_text(0, c, heads[c]);
    }
    void set_col_alignment(std::initializer_list<int> cs, Align a)
    {
        for (int c : cs) set_col_alignment(c, a);
    }
    // Back to the header row alone: no texts, `cols` columns. With one
    // column the grid is empty: its header bar shows without a blank cell,
    // until rows or columns are added or the column gets a width.
    void clear_grid(int cols = 1);
    // The last column takes what remains of `width` (twips) after columns
    // first .. last-1, less 330, and at least 2500.
    void fit_last_column(int width, int first = 0)
    {
        const int last = cols() - 1;
        if (last < first) return;
        int used = 0;
        for (int c = first; c < last; ++c) used += col_width(c);
        set_col_width(last, std::max(width - used - 330, 2500));
    }
    // The current data row; 0 when there is none.
    int data_row() const
    {
        const int r = row();
        return rows() > 1 && r >= 1 && r < rows() ? r : 0;
    }

    // Wheel by the list windows' rule (see hook_wheel).
    void set_wheel_hooked(bool on) { wheel_hooked_ = on; }
    bool wheel_hooked() const { return wheel_hooked_; }
    // One wheel message: 120 a line up, more a page up, -120 a line down,
    // less a page down, 0 nothing. Steps smaller than a notch (fine wheels,
    // touch pads) are added up: a line for each 120 they make in one
    // direction; turning back starts the sum anew.
    void wheel_scroll(int delta);

    const GridStore& store() const { return store_; }
    size_t memory_bytes() const;

signals:
    void Click();
    void DblClick();
    void KeyDown(int key, Qt::KeyboardModifiers mods);
    void MouseDown(Qt::MouseButton button, const QPoint& global_pos);

protected:
    // What an auto-fit of the column gives it (a double click on its
    // header's divider): its widest text, at most the visible area's width.
    int sizeHintForColumn(int column) const override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    friend class FlexGridModel;
    void sync_columns();
    GridStore store_;
    FlexGridModel* model_;
    std::vector<int> widths_;     // twips
    bool bare_ = false;           // emptied: the lone column not shown
    std::vector<Align> aligns_;
    QHash<quint64, QRgb> colors_;
    int header_h_ = 440;
    int row_h_ = 380;
    int cur_col_ = 0;
    int pending_row_ = 0;
    bool redraw_ = true;
    bool wheel_hooked_ = false;
    int wheel_rest_ = 0;   // fine steps not yet making a notch
};

// Let the wheel scroll a grid by the line/page rule; true when hooked.
bool hook_wheel(FlexGrid* grid);
void unhook_wheel(FlexGrid* grid);
