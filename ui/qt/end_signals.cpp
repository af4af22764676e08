#include "ui/qt/end_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace ftvb::ui::qt {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
int pipeEnds[2] = {-1, -1};
volatile std::sig_atomic_t delivered = 0;

void onSignal(int signal) {
    if (delivered != 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    delivered = signal;
    const auto byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t ignored = ::write(pipeEnds[1], &byte, 1);
}

}  // namespace

EndSignals::EndSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    delivered = 0;
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        while (::read(pipeEnds[0], &byte, 1) == 1) {
            if (received_ == 0) received_ = static_cast<unsigned char>(byte);
        }
        if (received_ != 0) emit ending(received_);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

EndSignals::~EndSignals() {
    for (const int signal : kSignals) std::signal(signal, SIG_DFL);
    delete notifier_;
    for (int& end : pipeEnds) {
        if (end >= 0) ::close(end);
        end = -1;
    }
}

}  // namespace ftvb::ui::qt
