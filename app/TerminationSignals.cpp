#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace tapwise {

namespace {

constexpr std::array HandledSignals{SIGTERM, SIGHUP, SIGINT};

// The pipe through which the handler hands a signal number to the event
// loop: writing to a pipe is one of the few things a handler may do.
int signalPipe[2] = {-1, -1};

void onSignal(int number) {
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::exitOnSignal);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : HandledSignals)
        ::sigaction(number, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    for (const int number : HandledSignals)
        std::signal(number, SIG_DFL);
}

void TerminationSignals::exitOnSignal() {
    unsigned char number = 0;
    if (::read(signalPipe[0], &number, 1) == 1)
        std::exit(128 + number);
}

} // namespace tapwise
