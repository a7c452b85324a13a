#include "RealClockDesktop.h"

#include <thread>

namespace tapwise {

std::chrono::nanoseconds RealClockDesktop::monotonicTime() {
    return std::chrono::steady_clock::now().time_since_epoch();
}

void RealClockDesktop::sleep(std::chrono::microseconds duration) {
    std::this_thread::sleep_for(duration);
}

} // namespace tapwise
