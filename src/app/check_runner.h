#pragma once
#include <vector>

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include "check/finding.h"

class QProcess;

// Checks a file with `corvel check --json` in a process of its own: the window's memory
// holds none of the check's (it reads every box again with its spans), opening another
// file or closing the window ends a check at once, and a check that fails on a hostile
// file leaves the window standing. One check runs at a time.
class CCheckRunner : public QObject {
    Q_OBJECT
public:
    explicit CCheckRunner(QObject* parent = nullptr);
    ~CCheckRunner() override;  // ends the check going

    // The corvel program: beside this one (as built and installed), else on the PATH.
    void SetProgram(const QString& program) { m_program = program; }
    const QString& Program() const { return m_program; }

    // Ends the check going, then checks the file at `path` (a media segment with its
    // `init` segment when one is given); `checked` follows (not when the program is
    // missing or fails).
    void Start(const QString& path, const QString& init = QString());
    // The arguments of the check started last.
    const QStringList& Arguments() const { return m_arguments; }
    // Ends the check going; it tells nothing.
    void Cancel();
    bool Running() const { return m_process != nullptr; }

signals:
    // What a check that ran to its end found.
    void checked(const std::vector<Finding>& findings);

private:
    void Finished();

    QString m_program;
    QStringList m_arguments;
    QProcess* m_process = nullptr;
};

// The findings of a `corvel check --json` document; false when it is not one.
bool ParseFindingsJson(const QByteArray& json, std::vector<Finding>& findings);
