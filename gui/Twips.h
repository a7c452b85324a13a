#pragma once

namespace tapwise {

// Window layouts are drawn in twips: 1440 to the inch, 15 to a pixel at
// 96 dots per inch (Qt scales pixels on screens with a higher density).
constexpr int TwipsToPixels(int twips) {
    return (twips + 7) / 15;
}

} // namespace tapwise
