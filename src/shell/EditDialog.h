#pragma once
#include <QDialog>
#include <QString>

// A modal dialog (objectName `name`, title `caption`) that writes for the
// list window `owner`. It is kept across openings:
// every successful write sets `saved` to 1 (never reset), and every closing
// after a save reloads the owner's list.
class EditDialog : public QDialog {
    Q_OBJECT
public:
    EditDialog(const QString& name, const QString& caption, const QString& owner, QWidget* parent = nullptr);
    int saved = 0;

    // A write's outcome told to the clerk: `failed_text` when it failed;
    // otherwise `done_text`, and saved = 1. True when it was written.
    bool report_write(bool written, const QString& failed_text, const QString& done_text);

public slots:
    void done(int r) override;

protected:
    // Runs on every closing, before the owner's list is reloaded.
    virtual void on_close() {}

private:
    QString owner_;
};
