#include "platform/X11Keyboard.h"

#include "platform/PlatformTexts.h"
#include "platform/SpareKeyRestorer.h"
#include "platform/X11ErrorTrap.h"

#include <X11/XKBlib.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

// Xlib defines Status as a macro; ours is tapwise::Status.
#undef Status

#include <algorithm>
#include <iterator>
#include <thread>

namespace tapwise {
namespace {

using Clock = std::chrono::steady_clock;

// How long keys that a user still holds are waited for.
constexpr auto kHeldKeysTimeLimit = std::chrono::seconds(3);
// A spare key code is mapped to another keysym only this long after its last
// use, so that a slow program still reads the old keysym for its events.
constexpr auto kRemapReuseDelay = std::chrono::milliseconds(500);
// Spare key codes unused this long are put back to no symbol.
constexpr auto kIdleRestore = std::chrono::seconds(10);
// Internal: every spare key code is taken by the keys of the current chunk.
constexpr int kSparesInUse = -2;
// At the end, spare key codes are put back once nobody has typed through
// them for this long.
constexpr auto kFinalRestoreDelay = std::chrono::milliseconds(1000);

std::uint32_t namedKeysym(NamedKey key) {
    // In the order of NamedKey, up to F1.
    static constexpr std::uint32_t kKeysyms[] = {
        XK_BackSpace, XK_Pause, XK_Caps_Lock,   XK_Delete, XK_Down,     XK_End,  XK_Return,
        XK_Escape,    XK_Home,  XK_Insert,      XK_Left,   XK_Num_Lock, XK_Next, XK_Prior,
        XK_Print,     XK_Right, XK_Scroll_Lock, XK_Tab,    XK_Up};
    static_assert(std::size(kKeysyms) == std::size_t(NamedKey::F1));
    const auto index = static_cast<std::size_t>(key);
    return key < NamedKey::F1 ? kKeysyms[index] : XK_F1 + (index - std::size_t(NamedKey::F1));
}

bool isLockKeysym(std::uint32_t sym) {
    return sym == XK_Caps_Lock || sym == XK_Shift_Lock || sym == XK_Num_Lock ||
           sym == XK_Scroll_Lock;
}

QString keysymName(std::uint32_t sym) {
    char name[64];
    return xkb_keysym_get_name(sym, name, sizeof name) > 0 ? QString::fromLatin1(name)
                                                           : QStringLiteral("?");
}

std::uint32_t firstKeysym(xkb_keymap* km, unsigned kc) {
    const xkb_keysym_t* syms = nullptr;
    if (xkb_keymap_num_layouts_for_key(km, kc) == 0 ||
        xkb_keymap_key_get_syms_by_level(km, kc, 0, 0, &syms) < 1) {
        return XKB_KEY_NoSymbol;
    }
    return syms[0];
}

bool hasSymbols(xkb_keymap* km, unsigned kc) {
    for (xkb_layout_index_t g = 0; g < xkb_keymap_num_layouts_for_key(km, kc); ++g) {
        for (xkb_level_index_t l = 0; l < xkb_keymap_num_levels_for_key(km, kc, g); ++l) {
            const xkb_keysym_t* syms = nullptr;
            const int n = xkb_keymap_key_get_syms_by_level(km, kc, g, l, &syms);
            for (int i = 0; i < n; ++i) {
                if (syms[i] != XKB_KEY_NoSymbol) {
                    return true;
                }
            }
        }
    }
    return false;
}

// The text a keysym stands for, for messages: its character, else its name.
QString keysymText(std::uint32_t sym) {
    const char32_t c = xkb_keysym_to_utf32(sym);
    return c >= 0x20 ? QString::fromUcs4(&c, 1) : keysymName(sym);
}

} // namespace

X11Keyboard::X11Keyboard(Display* display, X11ErrorTrap& trap, const QString& lang)
    : display_(display), trap_(trap), lang_(lang), keyState_(display),
      context_(nullptr, &xkb_context_unref), keymap_(nullptr, &xkb_keymap_unref) {}

X11Keyboard::~X11Keyboard() {
    releaseAll();
    restoreAtEnd();
    trap_.sync();
}

// A program may still be working through keys typed through spare key
// codes; it would find them without symbols if they went back at once. A
// process of their own puts them back when their time has come, so that the
// program can end now; only when it cannot be started do we wait here.
void X11Keyboard::restoreAtEnd() {
    if (remapped_.empty() || trap_.lost()) {
        restoreAll();
        return;
    }
    Clock::time_point lastUse{};
    std::vector<SpareKey> keys;
    for (const auto& [kc, remap] : remapped_) {
        lastUse = std::max(lastUse, remap.lastUse);
        keys.push_back(SpareKey{kc, remap.keysym});
    }
    trap_.sync(); // our last releases are through before anything else happens
    if (restoreSpareKeysLater(DisplayString(display_), keys, lastUse, kFinalRestoreDelay)) {
        remapped_.clear();
        return;
    }
    std::this_thread::sleep_until(lastUse + kFinalRestoreDelay);
    restoreAll();
}

Error X11Keyboard::error(int code, const QString& message) const {
    return Error{code, message};
}

Status X11Keyboard::init() {
    xcb_connection_t* connection = XGetXCBConnection(display_);
    int opcode = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (!XkbQueryExtension(display_, &opcode, &xkbEventBase_, &errorBase, &major, &minor) ||
        !xkb_x11_setup_xkb_extension(
            connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr)) {
        return error(kDisplayUnavailable, platform_text::kNoXkb.in(lang_));
    }
    deviceId_ = xkb_x11_get_core_keyboard_device_id(connection);
    context_.reset(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    if (deviceId_ < 0 || !context_) {
        return error(kDisplayUnavailable, platform_text::kNoXkb.in(lang_));
    }
    const unsigned mask = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
    XkbSelectEvents(display_, XkbUseCoreKbd, mask, mask);
    keyState_.init();
    return ensureKeymap();
}

Status X11Keyboard::ensureKeymap() {
    if (!stale_ && keymap_) {
        return {};
    }
    xkb_keymap* fresh = xkb_x11_keymap_new_from_device(context_.get(), XGetXCBConnection(display_),
                                                       deviceId_, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!fresh) {
        // The tables read before, if any, stay in use.
        return error(kDisplayFailed, platform_text::kNoXkb.in(lang_));
    }
    keymap_.reset(fresh);
    buildTables();
    stale_ = false;
    return {};
}

// Reads what does not depend on the group: spare key codes, the Pause keys,
// the modifier keys to check for being held; forgets remapped key codes that
// a new keymap took away.
void X11Keyboard::buildTables() {
    tables_.clear();
    spare_.clear();
    pauseKeys_.clear();
    xkb_keymap* km = keymap_.get();
    std::set<unsigned> modifierKeys;
    heldCheckKeys_.clear();
    if (XModifierKeymap* map = XGetModifierMapping(display_)) {
        for (int mod = 0; mod < 8; ++mod) {
            for (int i = 0; i < map->max_keypermod; ++i) {
                const unsigned kc = map->modifiermap[mod * map->max_keypermod + i];
                if (kc != 0) {
                    modifierKeys.insert(kc);
                }
            }
        }
        XFreeModifiermap(map);
    }
    for (unsigned kc = xkb_keymap_min_keycode(km); kc <= xkb_keymap_max_keycode(km); ++kc) {
        const std::uint32_t first = firstKeysym(km, kc);
        const auto remap = remapped_.find(kc);
        if (remap != remapped_.end()) {
            if (first != remap->second.keysym) {
                remapped_.erase(remap); // a new keymap gave this key code a meaning
            } else {
                continue;
            }
        }
        if (first == XKB_KEY_Pause || first == XKB_KEY_Break) {
            pauseKeys_.insert(kc);
        }
        if (modifierKeys.count(kc) && !isLockKeysym(first)) {
            heldCheckKeys_.push_back(kc);
        }
        if (!hasSymbols(km, kc) && !modifierKeys.count(kc)) {
            spare_.push_back(kc);
        }
    }
}

const X11Keyboard::Table& X11Keyboard::tableFor(int group) {
    auto found = tables_.find(group);
    if (found != tables_.end()) {
        return found->second;
    }
    Table& table = tables_[group];
    xkb_keymap* km = keymap_.get();
    std::unique_ptr<xkb_state, void (*)(xkb_state*)> state(xkb_state_new(km), &xkb_state_unref);
    xkb_state_update_mask(state.get(), 0, 0, 0, 0, 0, group);
    for (unsigned kc = xkb_keymap_min_keycode(km); kc <= xkb_keymap_max_keycode(km); ++kc) {
        if (remapped_.count(kc)) {
            continue;
        }
        const xkb_layout_index_t layout = xkb_state_key_get_layout(state.get(), kc);
        if (layout == XKB_LAYOUT_INVALID) {
            continue;
        }
        const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(km, kc, layout);
        for (xkb_level_index_t level = 0; level < levels; ++level) {
            const xkb_keysym_t* syms = nullptr;
            if (xkb_keymap_key_get_syms_by_level(km, kc, layout, level, &syms) != 1) {
                continue;
            }
            xkb_mod_mask_t masks[16];
            const std::size_t count =
                xkb_keymap_key_get_mods_for_level(km, kc, layout, level, masks, 16);
            for (std::size_t i = 0; i < count; ++i) {
                if ((masks[i] & ~xkb_mod_mask_t(ShiftMask)) != 0) {
                    continue; // needs Lock, Num Lock, AltGr or the like
                }
                auto [entry, added] = table.try_emplace(syms[0], KeyChoice{kc, masks[i]});
                if (!added && masks[i] < entry->second.mods) {
                    entry->second = KeyChoice{kc, masks[i]};
                }
            }
        }
    }
    return table;
}

void X11Keyboard::noteMappingChange(unsigned first, unsigned count) {
    for (unsigned kc = first; kc < first + count; ++kc) {
        if (!remapped_.count(kc) && !std::binary_search(spare_.begin(), spare_.end(), kc)) {
            stale_ = true;
            return;
        }
    }
}

bool X11Keyboard::isPauseKeycode(unsigned keycode) {
    (void)ensureKeymap(); // on failure the tables read before stay in use
    const auto remap = remapped_.find(keycode);
    return pauseKeys_.count(keycode) ||
           (remap != remapped_.end() && remap->second.keysym == XK_Pause);
}

std::vector<unsigned> X11Keyboard::pauseKeycodes() {
    (void)ensureKeymap(); // on failure the tables read before stay in use
    std::vector<unsigned> keys(pauseKeys_.begin(), pauseKeys_.end());
    for (const auto& [kc, remap] : remapped_) {
        if (remap.keysym == XK_Pause) {
            keys.push_back(kc);
        }
    }
    return keys;
}

bool X11Keyboard::takeOwnPausePress() {
    if (ownPausePresses_ > 0) {
        --ownPausePresses_;
        return true;
    }
    return false;
}

Status X11Keyboard::sync() {
    return trap_.syncStatus(lang_);
}

Status X11Keyboard::press(unsigned keycode) {
    if (failAfter_ == 0) {
        return error(kDisplayFailed, platform_text::kDisplayError.in(lang_).arg(-1));
    }
    if (failAfter_ > 0) {
        --failAfter_;
    }
    XTestFakeKeyEvent(display_, keycode, True, CurrentTime);
    pressed_.push_back(keycode);
    // A spare key code is in use from its last press on, not from when a
    // call mapped it, which may have been long before.
    if (const auto remap = remapped_.find(keycode); remap != remapped_.end()) {
        remap->second.lastUse = Clock::now();
    }
    if (isPauseKeycode(keycode)) {
        ++ownPausePresses_;
    }
    return {};
}

void X11Keyboard::release(unsigned keycode) {
    XTestFakeKeyEvent(display_, keycode, False, CurrentTime);
    const auto it = std::find(pressed_.rbegin(), pressed_.rend(), keycode);
    if (it != pressed_.rend()) {
        pressed_.erase(std::next(it).base());
    }
}

void X11Keyboard::releaseAll() {
    while (!pressed_.empty()) {
        release(pressed_.back());
    }
}

void X11Keyboard::setCapsLock(bool on) {
    XkbLockModifiers(display_, XkbUseCoreKbd, LockMask, on ? LockMask : 0);
}

// The keys down are those read at most X11KeyState::kMaxAge ago; while some
// are held, they are read again every 10 ms.
Status X11Keyboard::waitForReleasedModifiers() {
    const auto deadline = Clock::now() + kHeldKeysTimeLimit;
    while (true) {
        QStringList held;
        for (unsigned kc : heldCheckKeys_) {
            if (keyState_.isDown(kc)) {
                held << keysymName(firstKeysym(keymap_.get(), kc));
            }
        }
        if (trap_.lost()) {
            return trap_.lostError(lang_);
        }
        if (held.isEmpty()) {
            return {};
        }
        if (Clock::now() >= deadline) {
            return error(kKeysHeldDown, platform_text::kKeysHeld.in(lang_).arg(held.join(", ")));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        keyState_.read();
    }
}

Status X11Keyboard::type(const QList<KeyStroke>& strokes) {
    if (trap_.lost()) {
        return trap_.lostError(lang_);
    }
    Status status = ensureKeymap();
    if (status) {
        status = waitForReleasedModifiers();
    }
    if (!status || strokes.isEmpty()) {
        return status;
    }
    // The group and Caps Lock as the server's state events told them: the
    // caller has taken the events of every change made before this call.
    const bool capsWasOn = keyState_.capsLocked();
    bool capsFinal = capsWasOn;
    if (capsWasOn) {
        setCapsLock(false);
    }
    status = typeInChunks(strokes, keyState_.group(), capsFinal);
    // Whatever happened above: nothing of ours stays down, Caps Lock is as
    // the user left it (or as a {CAPSLOCK} of the text turned it): we have
    // kept it off since the start, and every {CAPSLOCK} was undone at once.
    // A call that went through has synced its last key already.
    bool changed = !pressed_.empty() || !status;
    releaseAll();
    if (capsFinal) {
        setCapsLock(true);
        changed = true;
    }
    if (!changed) {
        return status;
    }
    const Status synced = sync();
    return status ? synced : status;
}

// Every key of a chunk is found, and every spare key code mapped, before
// the chunk's first press, so that programs see the mapping changes ahead of
// our keys. A chunk ends only when it has used up the spare key codes.
Status X11Keyboard::typeInChunks(const QList<KeyStroke>& strokes, int group, bool& capsFinal) {
    std::vector<KeyChoice> keys;
    qsizetype chunk = 0; // first stroke not typed yet
    pinned_.clear();
    for (qsizetype i = 0; i < strokes.size(); ++i) {
        auto key = chooseKey(strokes[i], group);
        if (!key && key.error().code == kSparesInUse && i > chunk) {
            for (; chunk < i; ++chunk) {
                if (Status s =
                        typeStroke(strokes[chunk], keys[std::size_t(chunk)], group, capsFinal);
                    !s) {
                    return s;
                }
            }
            pinned_.clear();
            key = chooseKey(strokes[i], group);
        }
        if (!key) {
            return key.error().code == kSparesInUse ? error(kKeyNotTypeable, QString())
                                                    : key.error();
        }
        keys.push_back(key.value());
        pinned_.insert(key.value().keycode);
    }
    for (; chunk < strokes.size(); ++chunk) {
        if (Status s = typeStroke(strokes[chunk], keys[std::size_t(chunk)], group, capsFinal); !s) {
            return s;
        }
    }
    return {};
}

Result<X11Keyboard::KeyChoice> X11Keyboard::chooseKey(const KeyStroke& stroke, int group) {
    if (stroke.kind == KeyStroke::Kind::ModifiersOnly) {
        return KeyChoice{};
    }
    if (stroke.kind == KeyStroke::Kind::Named) {
        return resolve(namedKeysym(stroke.key), false, group);
    }
    // A character may be on the map under its legacy keysym or its Unicode one.
    const std::uint32_t keysym = xkb_utf32_to_keysym(stroke.character);
    const Table& table = tableFor(group);
    const auto unicode = table.find(0x1000000 | stroke.character);
    if (!table.count(keysym) && unicode != table.end()) {
        return unicode->second;
    }
    return resolve(keysym, true, group);
}

Status X11Keyboard::typeStroke(const KeyStroke& stroke, KeyChoice key, int group, bool& capsFinal) {
    auto modifiers = modifierKeys(stroke.modifiers, key.mods, group);
    if (!modifiers) {
        return modifiers.error();
    }
    for (unsigned kc : modifiers.value()) {
        if (Status s = press(kc); !s) {
            return s;
        }
    }
    const bool capsKey = stroke.kind == KeyStroke::Kind::Named && stroke.key == NamedKey::CapsLock;
    const int presses = key.keycode != 0 ? stroke.repeat : 0;
    for (int i = 0; i < presses; ++i) {
        if (Status s = press(key.keycode); !s) {
            return s;
        }
        release(key.keycode);
        if (capsKey) {
            capsFinal = !capsFinal;
            setCapsLock(false);
        }
        if (i + 1 == presses) {
            releaseAll(); // the modifiers, in the same round trip as the last key
        }
        if (Status s = sync(); !s) {
            return s;
        }
    }
    if (presses > 0) {
        return {};
    }
    releaseAll();
    return sync();
}

Result<std::vector<unsigned>> X11Keyboard::modifierKeys(unsigned modifiers, unsigned levelMods,
                                                        int group) {
    struct Wanted {
        bool on;
        std::uint32_t left;
        std::uint32_t right;
        const char* name;
    };
    const Wanted wanted[] = {
        {(modifiers & ShiftModifier) || (levelMods & ShiftMask), XK_Shift_L, XK_Shift_R, "Shift"},
        {bool(modifiers & CtrlModifier), XK_Control_L, XK_Control_R, "Ctrl"},
        {bool(modifiers & AltModifier), XK_Alt_L, XK_Meta_L, "Alt"},
    };
    std::vector<unsigned> keys;
    const Table& table = tableFor(group);
    for (const Wanted& w : wanted) {
        if (!w.on) {
            continue;
        }
        auto it = table.find(w.left);
        if (it == table.end() || it->second.mods != 0) {
            it = table.find(w.right);
        }
        if (it == table.end() || it->second.mods != 0) {
            return error(kKeyNotTypeable,
                         platform_text::kMissingModifierKey.in(lang_).arg(QLatin1String(w.name)));
        }
        keys.push_back(it->second.keycode);
    }
    return keys;
}

Result<X11Keyboard::KeyChoice> X11Keyboard::resolve(std::uint32_t keysym, bool allowShift,
                                                    int group) {
    const Table& table = tableFor(group);
    const auto it = table.find(keysym);
    if (it != table.end() && (allowShift || it->second.mods == 0)) {
        return it->second;
    }
    auto spare = mapSpare(keysym);
    if (!spare && spare.error().code == kSparesInUse) {
        return spare.error();
    }
    if (!spare && spare.error().code == kKeyNotTypeable) {
        return error(kKeyNotTypeable,
                     platform_text::kNotTypeable.in(lang_).arg(keysymText(keysym)));
    }
    if (!spare) {
        return spare.error();
    }
    return KeyChoice{spare.value(), 0};
}

Result<unsigned> X11Keyboard::mapSpare(std::uint32_t keysym) {
    for (auto& [kc, remap] : remapped_) {
        if (remap.keysym == keysym) {
            remap.lastUse = Clock::now();
            return kc;
        }
    }
    auto taken = takeSpareKeycode();
    if (!taken) {
        return taken.error();
    }
    const unsigned kc = taken.value();
    if (Status set = setKeysym(kc, keysym); !set) {
        spare_.insert(std::lower_bound(spare_.begin(), spare_.end(), kc), kc);
        return set.error();
    }
    remapped_[kc] = Remap{keysym, Clock::now()};
    return kc;
}

// The highest free spare key code that is still empty on the server, or the
// least recently used of ours once its reuse delay has passed.
Result<unsigned> X11Keyboard::takeSpareKeycode() {
    while (!spare_.empty()) {
        const unsigned kc = spare_.back();
        spare_.pop_back();
        int perKey = 0;
        KeySym* syms = XGetKeyboardMapping(display_, kc, 1, &perKey);
        const bool empty =
            syms && std::all_of(syms, syms + perKey, [](KeySym s) { return s == NoSymbol; });
        if (syms) {
            XFree(syms);
        }
        if (empty) {
            return kc;
        }
    }
    auto oldest = remapped_.end();
    for (auto it = remapped_.begin(); it != remapped_.end(); ++it) {
        if (!pinned_.count(it->first) &&
            (oldest == remapped_.end() || it->second.lastUse < oldest->second.lastUse)) {
            oldest = it;
        }
    }
    if (oldest == remapped_.end()) {
        return error(remapped_.empty() ? kKeyNotTypeable : kSparesInUse, QString());
    }
    std::this_thread::sleep_until(oldest->second.lastUse + kRemapReuseDelay);
    const unsigned kc = oldest->first;
    remapped_.erase(oldest);
    return kc;
}

Status X11Keyboard::setKeysym(unsigned keycode, std::uint32_t keysym) {
    KeySym syms[2] = {keysym, keysym};
    XChangeKeyboardMapping(display_, keycode, 2, syms, 1);
    if (Status synced = sync(); !synced) {
        return synced;
    }
    int perKey = 0;
    KeySym* now = XGetKeyboardMapping(display_, keycode, 1, &perKey);
    const bool confirmed = now && perKey > 0 && now[0] == keysym;
    if (now) {
        XFree(now);
    }
    if (!confirmed) {
        return trap_.lost() ? trap_.lostError(lang_)
                            : Error{kDisplayFailed, platform_text::kDisplayError.in(lang_).arg(0)};
    }
    return {};
}

void X11Keyboard::restoreAll() {
    for (const auto& [kc, remap] : remapped_) {
        KeySym none[2] = {NoSymbol, NoSymbol};
        XChangeKeyboardMapping(display_, kc, 2, none, 1);
        spare_.insert(std::lower_bound(spare_.begin(), spare_.end(), kc), kc);
    }
    remapped_.clear();
}

void X11Keyboard::restoreIdleMappings() {
    if (remapped_.empty()) {
        return;
    }
    const auto now = Clock::now();
    for (const auto& [kc, remap] : remapped_) {
        if (now - remap.lastUse < kIdleRestore) {
            return;
        }
    }
    restoreAll();
    trap_.sync();
}

} // namespace tapwise
