#pragma once
#include <QString>
#include <QtGlobal>

// ---- CONPATH.txt as the folder dialog shows and writes it ----
struct ConpathView {
    bool found = false;    // CONPATH.txt exists
    bool server = false;   // first character "S"
    QString folder;        // the rest of the joined text
};
ConpathView load_conpath_view();

enum class ConpathSave { NoFile, WriteFailed, Ok };
// Rewrites an existing CONPATH.txt with one line: "S" or "C", then the
// folder as given (already cleaned), ended by CR LF. Never creates the file.
ConpathSave save_conpath(bool server, const QString& folder);

// ---- The TB0 row as the settings dialog edits it ----
enum SettingsField {
    F_P_COD_CNT, F_M_COD_CNT, F_HAEBI, F_F1_NAM, F_F2_NAM, F_F3_NAM, F_F4_NAM, F_F5_NAM, F_F6_NAM,
    F_MAX_DAT, F_MAX_CNT, F_COUNT
};

// The eleven box texts, in the order of SettingsField.
struct SettingsText {
    QString v[F_COUNT];
};

struct SettingsValues {
    qint64 m_cod_cnt = 0, p_cod_cnt = 0, haebi = 0, max_dat = 0, max_cnt = 0;
    QString f_nam[6];
};

// Reads the TB0 row into box texts (numbers with digit grouping); false
// when there is no row.
bool read_settings_text(SettingsText* t);

// A number as typed: an optional sign, digits with optional group commas, an
// optional fraction; rounded to the nearest whole number. False for anything
// else (empty, a lone sign, letters) and for magnitudes a whole number
// cannot hold.
bool parse_whole(const QString& text, qint64* out);
// What a numeric box shows while typing: the number with digit grouping, or
// the text unchanged when it is not a number.
QString group_while_typing(const QString& text);

// Checks the boxes in the dialog's order (captions as the dialog cleaned them); the empty
// string when all is well, else the message, with *bad the field at fault.
// Values the log-in cannot read back (16-bit counts, a 32-bit fee) are
// refused with their field's message.
QString check_settings(const SettingsText* t, SettingsValues* v, int* bad);

// Stores the values into the TB0 row in one transaction; false on any error
// and when no row was changed.
bool write_settings(const SettingsValues& v);
