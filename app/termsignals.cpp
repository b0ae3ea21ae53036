#include "app/termsignals.h"

#include <QSocketNotifier>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {

sigset_t TerminationSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&set, s);
    return set;
}

} // namespace

struct TTerminationSignals::Waiter
{
    int readFd = -1;
    int writeFd = -1;
    std::atomic<bool> stop{false};
    std::thread thread;
};

void TTerminationSignals::BlockInThisAndLaterThreads()
{
    const sigset_t set = TerminationSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

TTerminationSignals::TTerminationSignals(std::function<void(int)> onSignal, QObject *parent)
    : QObject(parent), FOnSignal(std::move(onSignal)), FWaiter(std::make_unique<Waiter>())
{
    BlockInThisAndLaterThreads();
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    FWaiter->readFd = fds[0];
    FWaiter->writeFd = fds[1];
    FNotifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, [this] { ReadPipe(); });
    // The signals stay blocked in every thread, the database client's included, so that no
    // thread is interrupted by them; this one thread takes them and passes them on.
    FWaiter->thread = std::thread([w = FWaiter.get()] {
        const sigset_t set = TerminationSet();
        const timespec tick = {0, 200 * 1000 * 1000};
        while (!w->stop) {
            const int sig = sigtimedwait(&set, nullptr, &tick);
            if (sig > 0) {
                const unsigned char b = static_cast<unsigned char>(sig);
                (void)!::write(w->writeFd, &b, 1);
            }
        }
    });
}

TTerminationSignals::~TTerminationSignals()
{
    if (FWaiter->thread.joinable()) {
        FWaiter->stop = true;
        FWaiter->thread.join();
    }
    delete FNotifier;
    for (int fd : {FWaiter->readFd, FWaiter->writeFd})
        if (fd >= 0)
            ::close(fd);
}

void TTerminationSignals::ReadPipe()
{
    unsigned char buf[16];
    const ssize_t n = ::read(FWaiter->readFd, buf, sizeof buf);
    if (n > 0 && FOnSignal)
        FOnSignal(buf[0]);
}
