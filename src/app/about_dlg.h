#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

// "Tessaly version " and the version the build was given, or "FileVersion Not
// Available" when it has none.
QString VersionCaption(const QString& version);

// The About box: icon, version caption, the maker's name and the OK button.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent);
    QLabel* VersionLabel() const { return m_version; }
    QPushButton* OkButton() const { return m_ok; }

private:
    QLabel* m_version;
    QPushButton* m_ok;
};
