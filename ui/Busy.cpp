#include "Busy.h"

#include "Error.h"

#include <QCursor>
#include <QGuiApplication>
#include <exception>
#include <new>

namespace gyrodex {

BusyCursor::BusyCursor() {
    SetBusyCursor(true);
}

BusyCursor::~BusyCursor() {
    SetBusyCursor(false);
}

void SetBusyCursor(bool busy) {
    if (busy)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

void RunCommand(Services& services, const std::function<void()>& command) {
    try {
        command();
    } catch (const Error& e) {
        services.information(e.message());
    } catch (const std::bad_alloc&) {
        services.information(QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        services.information(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace gyrodex
