#pragma once

#include <QString>

namespace gyrodex {

// How an operation of the lower layers reaches the program around it while the operation runs:
// the busy pointer, and an information box after which the operation goes on. The desktop
// program shows the wait cursor and a message box, the command line writes to stderr, tests
// record the calls. Both do nothing unless overridden. What an operation has to report when it
// ends (a loaded file, a changed recent list) it returns to its caller instead.
class Host {
public:
    Host() = default;
    Host(const Host&) = default;
    Host& operator=(const Host&) = default;
    virtual ~Host();

    // True before a long operation (a full repaint), false after it.
    virtual void setBusy(bool busy);
    // Shows a text with an OK button; the operation that asked goes on afterwards.
    virtual void showMessage(const QString& text);
};

// Shows the busy pointer through a host for the guard's lifetime, so an error can never leave it
// on. A null host shows nothing.
class BusyGuard {
public:
    explicit BusyGuard(Host* host);
    ~BusyGuard();
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    Host* host_;
};

} // namespace gyrodex
