// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QuitSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int gPipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
} // namespace

QuitSignals::QuitSignals(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gPipe) != 0)
        return;
    ::fcntl(gPipe[0], F_SETFL, O_NONBLOCK);
    ::fcntl(gPipe[1], F_SETFL, O_NONBLOCK);
    notifier_ = new QSocketNotifier(gPipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::drain);

    struct sigaction action = {};
    action.sa_handler = &QuitSignals::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals)
        ::sigaction(number, &action, nullptr);
}

QuitSignals::~QuitSignals()
{
    for (int number : kSignals)
        ::signal(number, SIG_DFL);
    for (int &fd : gPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

// Runs in the signal handler: only write(2), which is async-signal-safe.
void QuitSignals::handle(int signalNumber)
{
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(gPipe[0], &byte, 1);
}

void QuitSignals::drain()
{
    unsigned char byte = 0;
    int last = 0;
    while (::read(gPipe[1], &byte, 1) == 1)
        last = byte;
    if (last)
        emit quitRequested(last);
}
