// SIGINT, SIGTERM and SIGHUP (Ctrl-C, kill, the end of the session) as a Qt
// signal on the interface thread, where the window can end as Exit does:
// a signal handler may do next to nothing, so it writes the signal's
// number to a pipe that the event loop watches. A second such signal ends
// the program at once, for a program that does not end of its own accord.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace ftvb::ui::qt {

class EndSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; one object at a time.
    explicit EndSignals(QObject* parent = nullptr);
    // Puts the default actions back.
    ~EndSignals() override;

    // The first of the signals received, 0 while none came.
    int received() const { return received_; }

signals:
    void ending(int signal);

private:
    QSocketNotifier* notifier_ = nullptr;
    int received_ = 0;
};

}  // namespace ftvb::ui::qt
