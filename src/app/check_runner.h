#pragma once
#include <cstdint>
#include <vector>

#include <QObject>
#include <QString>

#include "check/finding.h"

class QThread;

// Checks files on threads of their own, each with a parse of its own: the window's
// boxes stay with the GUI thread, and opening a big file never waits for its check.
// A run started later makes the results of the runs before it stale; they are dropped.
class CCheckRunner : public QObject {
    Q_OBJECT
public:
    explicit CCheckRunner(QObject* parent = nullptr);
    // Waits for the runs still going: their threads read files and boxes of their own.
    ~CCheckRunner() override;

    // Starts checking the file at `path`; `checked` follows with its findings.
    void Start(const QString& path);
    // Drops the results of every run started so far.
    void Cancel() { ++m_run; }

signals:
    // The findings of the latest run (none when the file could not be read or is not a
    // media file).
    void checked(const std::vector<Finding>& findings);

private:
    void Finished(uint64_t run, QThread* thread, const std::vector<Finding>& findings);

    uint64_t m_run = 0;
    std::vector<QThread*> m_threads;
};
