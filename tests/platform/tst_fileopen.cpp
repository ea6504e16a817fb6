#include "platform/fileopen.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

std::atomic<int> g_signalsCaught{0};

void countSignal(int)
{
    ++g_signalsCaught;
}

// The system call the thread `tid` of this process is blocked in, from /proc; -1 while it runs
// or when it cannot be read.
long blockedSyscall(pid_t tid)
{
    QFile file(QStringLiteral("/proc/self/task/%1/syscall").arg(tid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    bool ok = false;
    const long number = file.readAll().split(' ').value(0).trimmed().toLong(&ok);
    return ok ? number : -1;
}

} // namespace

class TestFileOpen : public QObject
{
    Q_OBJECT

private slots:
    void interruptedOpenIsTriedAgain()
    {
        // Opening a FIFO for reading waits for a writer. A signal whose handler does not ask for
        // restarted calls interrupts the wait once; the open is tried again and succeeds when the
        // writer comes.
        QTemporaryDir dir;
        const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("fifo")));
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        const pid_t tid = static_cast<pid_t>(::syscall(SYS_gettid));
        if (QFile syscallFile(QStringLiteral("/proc/self/task/%1/syscall").arg(tid));
            !syscallFile.open(QIODevice::ReadOnly))
            QSKIP("/proc does not show which system call a thread waits in");

        struct sigaction action = {};
        action.sa_handler = countSignal;
        sigemptyset(&action.sa_mask);
        struct sigaction previous = {};
        QCOMPARE(::sigaction(SIGUSR1, &action, &previous), 0);
        g_signalsCaught = 0;

        const pthread_t opener = ::pthread_self();
        std::atomic<bool> openReturned{false};
        std::thread writer([&] {
            const auto waitInOpen = [&] {
                while (!openReturned && blockedSyscall(tid) != SYS_openat)
                    ::usleep(1000);
            };
            waitInOpen();
            ::pthread_kill(opener, SIGUSR1);
            while (g_signalsCaught == 0)
                ::usleep(1000);
            // Only an open tried again finds the writer: a writer that does not block is refused
            // while no reader waits.
            waitInOpen();
            int fd = -1;
            while (!openReturned && fd < 0) {
                fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd < 0)
                    ::usleep(1000);
            }
            if (fd >= 0)
                ::close(fd);
        });
        const int fd = openUninterrupted(fifo.constData(), O_RDONLY | O_CLOEXEC);
        const int openError = errno;
        openReturned = true;
        writer.join();
        ::sigaction(SIGUSR1, &previous, nullptr);
        if (fd >= 0)
            ::close(fd);

        QCOMPARE(g_signalsCaught.load(), 1);
        QVERIFY2(fd >= 0, std::strerror(openError));
    }
};

QTEST_GUILESS_MAIN(TestFileOpen)
#include "tst_fileopen.moc"
