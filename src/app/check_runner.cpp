#include "app/check_runner.h"

#include <memory>

#include <QFile>
#include <QThread>

#include "boxes/containers/corvel.h"
#include "check/checker.h"

namespace {
std::vector<Finding> CheckPath(const std::string& path) {
    CCorvelLib lib;
    if (lib.Init(path) < 0) return {};
    lib.Go();  // a file that stops parsing halfway is checked as far as it was read
    const CCorvel* parser = lib.Parser();
    if (!parser || parser->NotMediaHeader()) return {};
    return CheckFile(*parser);
}
}  // namespace

CCheckRunner::CCheckRunner(QObject* parent) : QObject(parent) {}

CCheckRunner::~CCheckRunner() {
    if (!m_thread) return;
    m_thread->wait();
    delete m_thread;
}

void CCheckRunner::Start(const QString& path) {
    ++m_run;
    m_pending.reset();
    if (m_thread)
        m_pending = path;
    else
        Launch(path, m_run);
}

void CCheckRunner::Cancel() {
    ++m_run;
    m_pending.reset();
}

void CCheckRunner::Launch(const QString& path, uint64_t run) {
    auto findings = std::make_shared<std::vector<Finding>>();
    const std::string file = QFile::encodeName(path).toStdString();
    m_thread = QThread::create([findings, file] { *findings = CheckPath(file); });
    // finished is emitted on the worker thread; the results are taken on this one.
    connect(m_thread, &QThread::finished, this, [this, run, findings] { Finished(run, *findings); },
            Qt::QueuedConnection);
    m_thread->start(QThread::LowPriority);
}

void CCheckRunner::Finished(uint64_t run, const std::vector<Finding>& findings) {
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    if (run == m_run) emit checked(findings);
    if (m_pending) {
        const QString next = *m_pending;
        m_pending.reset();
        Launch(next, m_run);
    }
}
