#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include <QObject>
#include <QString>

#include "check/finding.h"

class QThread;

// Checks a file on a thread of its own, with a parse of its own: the window's boxes stay
// with the GUI thread, and opening a big file never waits for its check. One check runs
// at a time (a check holds the file's boxes read again with their spans): a file opened
// while one runs is checked after it, and a run started later makes the results of the
// runs before it stale.
class CCheckRunner : public QObject {
    Q_OBJECT
public:
    explicit CCheckRunner(QObject* parent = nullptr);
    // Waits for the check still going: its thread reads a file and boxes of its own.
    ~CCheckRunner() override;

    // Checks the file at `path` once the check going (if any) is done; `checked`
    // follows with its findings.
    void Start(const QString& path);
    // Drops the results of every run started so far.
    void Cancel();
    bool Running() const { return m_thread != nullptr; }

signals:
    // The findings of the latest run (none when the file could not be read or is not a
    // media file).
    void checked(const std::vector<Finding>& findings);

private:
    void Launch(const QString& path, uint64_t run);
    void Finished(uint64_t run, const std::vector<Finding>& findings);

    uint64_t m_run = 0;
    QThread* m_thread = nullptr;
    std::optional<QString> m_pending;  // the file to check next, as run m_run
};
