// The program icon: a DVD with a globe, drawn for this program.
#include "resources/zone/zone_icon.h"

namespace resources {
namespace {

constexpr ZoneIconColour kPalette[] = {
    {'.', 0x00000000u}, {'k', 0xFF000000u}, {'w', 0xFFFFFFFFu}, {'s', 0xFFC0C0C0u},
    {'c', 0xFF9FD8E8u}, {'b', 0xFF1060C0u}, {'g', 0xFF30A040u},
};

constexpr const char* kRows[kZoneIconSize] = {
    "................................", "...........kkksssskkk...........",
    "........kksssssssssssskk........", ".......kssssssssssssssssk.......",
    "......kssssssssssssssssssk......", ".....ksssssssccccccsssssssk.....",
    "....ksssssccccccccccccsssssk....", "...ksssssccccssssssccccsssssk...",
    "..kssssscccsssssssssscccsssssk..", "..ksssscccsssssssssssscccssssk..",
    "..sssscccsssssssssssssscccssss..", ".kssssccssssswwwwwwsssssccssssk.",
    ".kssssccsssswwwwwwwwssssccssssk.", ".ksssccsssswwwkkkkwwwssssccsssk.",
    ".ssssccsssswwk....kwwssssccssss.", ".ssssccsssswwk....kwwssssccssss.",
    ".ssssccsssswwk....kwwssssccssss.", ".ssssccsssswwk....kwkkkggkkksss.",
    ".ksssccsssswwwkkkkwkbbbggbbbksk.", ".kssssccsssswwwwwwkbbbbggbbbbkk.",
    ".kssssccssssswwwwkbbbggggggbbbk.", "..sssscccsssssssskbbggbggbggbbk.",
    "..ksssscccssssssskbbgbbggbbgbbk.", "..kssssscccssssssgggggggggggggg.",
    "...ksssssccccssssgggggggggggggg.", "....ksssssccccccckbbgbbggbbgbbk.",
    ".....kssssssscccckbbggbggbggbbk.", "......ksssssssssskbbbggggggbbbk.",
    ".......ksssssssssskbbbbggbbbbk..", "........kkssssssssskbbbggbbbk...",
    "...........kkksssskkkkkggkkk....", "................................",
};

}  // namespace

std::span<const char* const> ZoneIconRows() { return kRows; }
std::span<const ZoneIconColour> ZoneIconPalette() { return kPalette; }

}  // namespace resources
