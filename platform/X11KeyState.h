#pragma once

#include <chrono>

struct _XDisplay;

namespace tapwise {

// What the server's keyboard state is, as our connection knows it, without a
// round trip for each key typed.
//
// The keys down are read at most once per kMaxAge (a string line types a
// character every few hundred microseconds and asks for the Pause key after
// each; a user's finger is not that quick), shared by the Pause key check and
// the check for modifiers the user still holds. The keyboard group and the
// locked modifiers (Caps Lock) are read once and then kept from the XKB
// state events the server sends when they change.
class X11KeyState {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr auto kMaxAge = std::chrono::milliseconds(10);

    explicit X11KeyState(_XDisplay* display) : display_(display) {}

    // Asks for XKB state events on group and lock changes and reads the
    // state once.
    void init();

    // Whether a key is down, as read at most kMaxAge ago; an older reading
    // is renewed first (one round trip).
    bool isDown(unsigned keycode);
    // Reads the keys down now (one round trip): events the server sent
    // before are then in our queue.
    void read();
    // Reads the keys down when the last reading is older than kMaxAge; true
    // when it did. A reading not renewed is at most kMaxAge old, and so is
    // our last round trip.
    bool readIfOld();
    // The next isDown() reads the keys again (a Pause key went down or up).
    void forget() { readAt_ = {}; }
    // When the keys were last read (changes at every reading).
    Clock::time_point readAt() const { return readAt_; }

    // The keyboard group in use and the locked modifier mask.
    int group() const { return group_; }
    bool capsLocked() const;
    // An XKB state event: the effective group and the locked modifiers.
    void noteState(int group, unsigned lockedModifiers);

private:
    _XDisplay* display_;
    char keys_[32] = {};
    Clock::time_point readAt_{};
    int group_ = 0;
    unsigned locked_ = 0;
};

} // namespace tapwise
