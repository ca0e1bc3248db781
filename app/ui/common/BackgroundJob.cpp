#include "ui/common/BackgroundJob.h"

#include <QThread>

namespace quillbay {

BackgroundJob::BackgroundJob(QObject *parent) : QObject(parent) {}

BackgroundJob::~BackgroundJob()
{
    wait();
    delete m_thread;
}

bool BackgroundJob::start(std::function<void()> work, std::function<void()> done)
{
    if (m_thread)
        return false;
    m_thread = QThread::create(std::move(work));
    connect(m_thread, &QThread::finished, this, [this, done = std::move(done)] {
        QThread *thread = m_thread;
        m_thread = nullptr;
        thread->wait();
        thread->deleteLater();
        if (done)
            done();
        emit finished();
    });
    m_thread->start();
    return true;
}

void BackgroundJob::wait()
{
    if (m_thread)
        m_thread->wait();
}

} // namespace quillbay
