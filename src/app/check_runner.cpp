#include "app/check_runner.h"

#include <algorithm>
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
    for (QThread* thread : m_threads) {
        thread->wait();
        delete thread;
    }
}

void CCheckRunner::Start(const QString& path) {
    const uint64_t run = ++m_run;
    auto findings = std::make_shared<std::vector<Finding>>();
    const std::string file = QFile::encodeName(path).toStdString();
    QThread* thread = QThread::create([findings, file] { *findings = CheckPath(file); });
    // finished is emitted on the worker thread; the results are taken on this one.
    connect(thread, &QThread::finished, this, [this, run, thread, findings] { Finished(run, thread, *findings); },
            Qt::QueuedConnection);
    m_threads.push_back(thread);
    thread->start(QThread::LowPriority);
}

void CCheckRunner::Finished(uint64_t run, QThread* thread, const std::vector<Finding>& findings) {
    m_threads.erase(std::remove(m_threads.begin(), m_threads.end(), thread), m_threads.end());
    thread->wait();
    delete thread;
    if (run == m_run) emit checked(findings);
}
