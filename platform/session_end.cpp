#include "platform/session_end.h"

#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace devimax::platform {
namespace {

// A signal handler may only do async-signal-safe work: it writes one byte, and the
// event loop reads it through a socket notifier.
int signalSockets[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[1], &byte, 1);
}

bool installHandlers() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSockets) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
    return true;
}

} // namespace

void closeWindowWhenSessionEnds(QWidget* window) {
    static const bool installed = installHandlers();
    if (!installed)
        return;
    auto* notifier = new QSocketNotifier(signalSockets[0], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
        char bytes[16];
        while (::read(signalSockets[0], bytes, sizeof bytes) > 0) {
        }
        window->close();
    });
}

} // namespace devimax::platform
