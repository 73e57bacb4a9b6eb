#pragma once

#include "Host.h"
#include "Services.h"

#include <functional>

namespace gyrodex {

// Shows the busy pointer for its lifetime, so an error can never leave it on.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Turns the busy pointer on (true) and off (false); handed to the painter for its long runs.
void SetBusyCursor(bool busy);

// How the painter and the loaders reach the desktop: the wait cursor and message boxes.
class DesktopHost final : public Host {
public:
    explicit DesktopHost(Services& services) : services_(services) {}
    void setBusy(bool busy) override { SetBusyCursor(busy); }
    void showMessage(const QString& text) override { services_.information(text); }

private:
    Services& services_;
};

// Runs one user command: an error it raises ends it, and its text is shown in a message box.
// No exception ever leaves a Qt slot; the state stays as far as the command got.
void RunCommand(Services& services, const std::function<void()>& command);

} // namespace gyrodex
