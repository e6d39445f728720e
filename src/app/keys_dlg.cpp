#include "app/keys_dlg.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {
// A pasted page of text must not make a label as long: the first faults are told, each
// cut short, and how many more there are.
constexpr qsizetype kFaultsTold = 8, kFaultLength = 160;
}  // namespace

QString ReadKeyLines(const QString& text, KeyRing& keys) {
    keys = KeyRing();
    QStringList faults;
    qsizetype more = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        std::string error;
        if (line.isEmpty() || keys.Add(line.toStdString(), error)) continue;
        if (faults.size() == kFaultsTold) {
            ++more;
            continue;
        }
        QString fault = QStringLiteral("Line %1: %2").arg(i + 1).arg(QString::fromStdString(error));
        if (fault.size() > kFaultLength) fault = fault.left(kFaultLength - 3) + QStringLiteral("...");
        faults << fault;
    }
    if (more) faults << QStringLiteral("and %1 more.").arg(more);
    if (!faults.isEmpty()) keys = KeyRing();
    return faults.join(QLatin1Char('\n'));
}

CKeysDlg::CKeysDlg(const QString& text, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Keys"));
    auto* intro = new QLabel(
        QStringLiteral("Keys for protected samples, one a line: KID:KEY, or a KEY for every KID "
                       "(32 hexadecimal digits each).\nThey are kept until Tessaly closes and never saved."),
        this);
    intro->setWordWrap(true);
    m_edit = new QPlainTextEdit(this);
    m_edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_edit->setPlainText(text);
    m_edit->setMinimumWidth(m_edit->fontMetrics().horizontalAdvance(QString(70, QLatin1Char('0'))));
    m_faults = new QLabel(this);
    m_faults->setTextFormat(Qt::PlainText);  // a fault quotes the line as typed
    m_faults->setWordWrap(true);
    m_faults->setStyleSheet(QStringLiteral("color: #b00000"));
    m_faults->hide();
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CKeysDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_edit);
    layout->addWidget(m_faults);
    layout->addWidget(m_buttons);
}

QString CKeysDlg::Text() const { return m_edit->toPlainText(); }

void CKeysDlg::accept() {
    const QString faults = ReadKeyLines(Text(), m_keys);
    m_faults->setText(faults);
    m_faults->setVisible(!faults.isEmpty());
    if (faults.isEmpty()) QDialog::accept();
}
