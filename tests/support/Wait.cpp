#include "Wait.h"

#include <QCoreApplication>

#include <thread>

namespace tapwise::test {

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               std::chrono::milliseconds interval) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (QCoreApplication::instance()) {
            QCoreApplication::processEvents();
        }
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(interval);
    }
}

} // namespace tapwise::test
