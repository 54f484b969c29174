// The hexagonal model of hue: six sectors, in each of which every channel takes one of four
// levels. The conversion to RGB and the selector's fills read the same table.
#pragma once
#include <cstdint>

// One sixth of the hue circle. Six sectors make 65538, so hue 65535 still lands in sector 5.
constexpr uint32_t kHueSectorSize = 10923;

// With f = (hue % kHueSectorSize) * 6 and s the saturation: full, p = full - s,
// q = full - s * f, t = full - s * (full - f) (products scaled back to 16 bits).
enum SectorLevel : uint8_t {
    LevelFull = 0,
    LevelP = 1,
    LevelQ = 2,
    LevelT = 3,
};

// [sector][0 red, 1 green, 2 blue]
inline constexpr SectorLevel kSectorLevels[6][3] = {
    {LevelFull, LevelT, LevelP}, {LevelQ, LevelFull, LevelP}, {LevelP, LevelFull, LevelT},
    {LevelP, LevelQ, LevelFull}, {LevelT, LevelP, LevelFull}, {LevelFull, LevelP, LevelQ},
};
