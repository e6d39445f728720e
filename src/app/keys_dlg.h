#pragma once
#include <QDialog>
#include <QString>

#include "samples/sample_decryption.h"

class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;

// The keys of the lines of `text`, one a line ("KID:KEY" or "KEY"; blank lines and the
// blanks around a key are skipped). Empty when every line is a key, else the faults,
// one a line, each naming its line.
QString ReadKeyLines(const QString& text, KeyRing& keys);

// File > Keys...: the keys for protected samples, one a line. OK with a malformed line
// keeps the dialog open and tells which lines are wrong.
class CKeysDlg : public QDialog {
    Q_OBJECT
public:
    CKeysDlg(const QString& text, QWidget* parent);

    QString Text() const;
    const KeyRing& Keys() const { return m_keys; }
    QPlainTextEdit* Edit() const { return m_edit; }
    QLabel* Faults() const { return m_faults; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

    void accept() override;

private:
    KeyRing m_keys;
    QPlainTextEdit* m_edit;
    QLabel* m_faults;
    QDialogButtonBox* m_buttons;
};
