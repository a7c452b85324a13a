#include "editor/X11KeyCodes.h"

#include <X11/keysym.h>

namespace tapwise {

namespace {

struct KeysymCode {
    quint32 keysym;
    int code;
};

// Keys recognised by the keysym the event gave, whatever the layout.
constexpr KeysymCode SpecialKeys[] = {
    {XK_Shift_L, 16},       {XK_Shift_R, 16},      {XK_Control_L, 17},
    {XK_Control_R, 17},     {XK_Alt_L, 18},        {XK_Alt_R, 18},
    {XK_Meta_L, 18},        {XK_Meta_R, 18},       {XK_ISO_Level3_Shift, 18},
    {XK_Mode_switch, 18},   {XK_BackSpace, 8},     {XK_Tab, 9},
    {XK_ISO_Left_Tab, 9},   {XK_Return, 13},       {XK_KP_Enter, 13},
    {XK_KP_Begin, 12},      {XK_Pause, 19},        {XK_Break, 19},
    {XK_Caps_Lock, 20},     {XK_Escape, 27},       {XK_space, 32},
    {XK_KP_Space, 32},      {XK_Prior, 33},        {XK_KP_Prior, 33},
    {XK_Next, 34},          {XK_KP_Next, 34},      {XK_End, 35},
    {XK_KP_End, 35},        {XK_Home, 36},         {XK_KP_Home, 36},
    {XK_Left, 37},          {XK_KP_Left, 37},      {XK_Up, 38},
    {XK_KP_Up, 38},         {XK_Right, 39},        {XK_KP_Right, 39},
    {XK_Down, 40},          {XK_KP_Down, 40},      {XK_Print, 44},
    {XK_Sys_Req, 44},       {XK_Insert, 45},       {XK_KP_Insert, 45},
    {XK_Delete, 46},        {XK_KP_Delete, 46},    {XK_Num_Lock, 144},
    {XK_Scroll_Lock, 145},  {XK_KP_Multiply, 106}, {XK_KP_Add, 107},
    {XK_KP_Separator, 108}, {XK_KP_Subtract, 109}, {XK_KP_Decimal, 110},
    {XK_KP_Divide, 111},
};

// Punctuation keys by their unshifted character, numbered as on a US
// keyboard; they have no name, so only their being in range matters.
constexpr KeysymCode PunctuationKeys[] = {
    {XK_semicolon, 186},  {XK_minus, 189},       {XK_period, 190},    {XK_slash, 191},
    {XK_grave, 192},      {XK_bracketleft, 219}, {XK_backslash, 220}, {XK_bracketright, 221},
    {XK_apostrophe, 222}, {XK_less, 226},
};
constexpr int OtherCharacterKey = 223;

int lookUp(const KeysymCode* begin, const KeysymCode* end, quint32 keysym) {
    for (const KeysymCode* entry = begin; entry != end; ++entry) {
        if (entry->keysym == keysym)
            return entry->code;
    }
    return 0;
}

int specialCode(quint32 keysym) {
    if (keysym >= XK_F1 && keysym <= XK_F16)
        return 112 + static_cast<int>(keysym - XK_F1);
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9)
        return 96 + static_cast<int>(keysym - XK_KP_0);
    return lookUp(std::begin(SpecialKeys), std::end(SpecialKeys), keysym);
}

bool isKeypad(quint32 keysym) {
    return keysym >= XK_KP_Space && keysym <= XK_KP_Equal;
}

int letterCode(quint32 keysym) {
    if (keysym >= XK_a && keysym <= XK_z)
        return 'A' + static_cast<int>(keysym - XK_a);
    if (keysym >= XK_A && keysym <= XK_Z)
        return static_cast<int>(keysym);
    return 0;
}

int digitCode(quint32 keysym) {
    return keysym >= XK_0 && keysym <= XK_9 ? static_cast<int>(keysym) : 0;
}

} // namespace

int VirtualKeyCode(const X11Key& key) {
    if (const int code = specialCode(key.keysym))
        return code;
    if (isKeypad(key.keysym))
        return 0;
    if (const int code = letterCode(key.level1))
        return code;
    if (const int code = digitCode(key.level1) ? digitCode(key.level1) : digitCode(key.level2))
        return code;
    if (key.level1 == XK_plus || key.level2 == XK_plus)
        return 187;
    if (key.level1 == XK_comma || key.level2 == XK_comma)
        return 188;
    if (const int code = lookUp(std::begin(PunctuationKeys), std::end(PunctuationKeys), key.level1))
        return code;
    if (KeysymCharacter(key.level1) != 0 || KeysymCharacter(key.keysym) != 0 ||
        (key.level1 >= XK_dead_grave && key.level1 <= XK_dead_greek))
        return OtherCharacterKey;
    return 0;
}

char32_t KeysymCharacter(quint32 keysym) {
    if ((keysym >= 0x20 && keysym <= 0x7e) || (keysym >= 0xa0 && keysym <= 0xff))
        return keysym;
    if (keysym >= 0x01000100 && keysym <= 0x0110ffff)
        return keysym - 0x01000000;
    if (keysym == XK_EuroSign)
        return 0x20ac;
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9)
        return U'0' + (keysym - XK_KP_0);
    switch (keysym) {
    case XK_KP_Multiply:
        return U'*';
    case XK_KP_Add:
        return U'+';
    case XK_KP_Separator:
        return U',';
    case XK_KP_Subtract:
        return U'-';
    case XK_KP_Decimal:
        return U'.';
    case XK_KP_Divide:
        return U'/';
    case XK_KP_Equal:
        return U'=';
    default:
        return 0;
    }
}

char32_t BaseCharacter(const X11Key& key) {
    if (isKeypad(key.keysym))
        return KeysymCharacter(key.keysym);
    return KeysymCharacter(key.level1);
}

} // namespace tapwise
