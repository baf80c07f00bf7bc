#include "ui/boxes.h"
#include "data/text.h"
#include "ui/msgbox.h"

#include <QEvent>
#include <QLineEdit>
#include <algorithm>

namespace {
// What a box was filled with, whole, and what the box read afterwards. An
// emptied box (by the screen or by the clerk) no longer stands for it.
class FilledText : public QObject {
public:
    explicit FilledText(QLineEdit* b) : QObject(b), b_(b)
    {
        b->installEventFilter(this);
        connect(b, &QLineEdit::textChanged, this, [this](const QString& t) {
            if (t.isEmpty()) forget();
        });
    }
    void set(const QString& whole)
    {
        whole_ = whole;
        shown_ = b_->text();
        filled_ = true;
    }
    void forget()
    {
        filled_ = false;
        whole_.clear();
        shown_.clear();
    }
    bool untouched() const { return filled_ && b_->text() == shown_; }
    const QString& whole() const { return whole_; }
    // Filled with more than the box holds, and changed since.
    bool drops_text() const { return filled_ && whole_.size() != shown_.size() && !untouched(); }

protected:
    // Tabbing into a box selects its text and leaves the caret at the end,
    // scrolled to the text's end; a box still as filled keeps the text
    // selected but shows it from the start.
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::FocusIn || !untouched()) return false;
        static_cast<QObject*>(b_)->event(e);
        const int n = int(b_->text().size());
        if (n > 0 && b_->selectionLength() == n) b_->setSelection(n, -n);
        return true;
    }

private:
    QLineEdit* b_;
    QString whole_, shown_;
    bool filled_ = false;
};

FilledText* filled_of(const QLineEdit* b)
{
    for (QObject* o : b->children())
        if (auto* f = dynamic_cast<FilledText*>(o)) return f;
    return nullptr;
}

bool box_untouched(const QLineEdit* b)
{
    const FilledText* f = filled_of(b);
    return f && f->untouched();
}
}

void fill_box(QLineEdit* b, const QString& text)
{
    FilledText* f = filled_of(b);
    if (!f) f = new FilledText(b);
    b->setText(text);
    b->setCursorPosition(0);
    f->set(text);
}

QString box_value(const QLineEdit* b)
{
    const FilledText* f = filled_of(b);
    return f && f->untouched() ? f->whole() : b->text();
}

void clean_changed(const QList<QLineEdit*>& boxes)
{
    for (QLineEdit* b : boxes)
        if (!box_untouched(b)) b->setText(clean_input(b->text()));
}

bool confirm_and_clean(QWidget* parent, const QList<QLineEdit*>& cleaned, const QList<QLineEdit*>& uncleaned)
{
    const auto drops = [](const QLineEdit* b) {
        const FilledText* f = filled_of(b);
        return f && f->drops_text();
    };
    if ((std::any_of(cleaned.begin(), cleaned.end(), drops) || std::any_of(uncleaned.begin(), uncleaned.end(), drops))
        && !msg_ask(
            parent,
            QStringLiteral("원래 내용이 입력란에 다 들어가지 않는 항목을 수정하였습니다!\n저장하면 입력란에 보이는 내용만 남고 나머지는 지워집니다. 저장하시겠습니까?")))
        return false;
    clean_changed(cleaned);
    return true;
}
