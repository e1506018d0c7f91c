#include "gui/shell/SignalClose.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QWidget>

namespace {
int g_pipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] ssize_t written = write(g_pipe[1], &byte, 1);
}

void InstallHandler(int signalNumber, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, nullptr);
}
}  // namespace

TSignalCloser::TSignalCloser(QWidget* window) : QObject(window), window_(window) {
    if (g_pipe[0] < 0) {
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) return;
        fcntl(g_pipe[1], F_SETFL, O_NONBLOCK);
    }
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TSignalCloser::SignalArrived);
    InstallHandler(SIGTERM, OnSignal);
    InstallHandler(SIGINT, OnSignal);
}

TSignalCloser::~TSignalCloser() {
    InstallHandler(SIGTERM, SIG_DFL);
    InstallHandler(SIGINT, SIG_DFL);
}

void TSignalCloser::SignalArrived() {
    char byte;
    [[maybe_unused]] ssize_t got = read(g_pipe[0], &byte, 1);
    if (!window_) return;
    window_->setProperty(kClosingBySignal, true);
    window_->close();
}
