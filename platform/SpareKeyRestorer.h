#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

namespace tapwise {

// A spare key code that we mapped to a keysym for typing.
struct SpareKey {
    unsigned keycode = 0;
    std::uint32_t keysym = 0;
};

// Puts spare key codes back to no symbol from a process of their own, a new
// instance of the running program (/proc/self/exe) that does only that and
// ends, so that the program can end at once after its last key.
//
// Programs look a key code up only when they handle its event, which can be
// seconds after it was sent, so a key code goes back only once nobody has
// pressed it for `quiet`: from `lastUse` (our last key through it) and from
// every later press of it by any program, which the process watches (another
// run, or xdotool, may find the keysym there and type through it). Between
// its last look at the presses and the change the process holds the server.
// A key code that meanwhile got another keysym (a new keymap) is left alone.
// The process ends when all are back, or when the display goes away.
//
// The process is not waited for: it is the program's child until the program
// ends, which it is about to. Returns false when it could not be started;
// the caller must then put the key codes back itself.
bool restoreSpareKeysLater(const char* displayName, const std::vector<SpareKey>& keys,
                           std::chrono::steady_clock::time_point lastUse,
                           std::chrono::milliseconds quiet);

} // namespace tapwise
