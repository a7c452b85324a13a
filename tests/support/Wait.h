#pragma once

#include <chrono>
#include <functional>

namespace tapwise::test {

// Polls `condition` until it holds or `timeout` has passed; true when it
// held. Pending Qt events are processed between polls when there is an
// application object. Time limits in end-to-end tests should be generous:
// they only bound a failure, a passing test never waits for them.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(30),
               std::chrono::milliseconds interval = std::chrono::milliseconds(20));

} // namespace tapwise::test
