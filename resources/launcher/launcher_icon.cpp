// toolgate's program icon (resource 128): a disc with a start mark, 32 by 32,
// in XPM form, which Qt reads as it stands.
#include "resources/launcher/launcher_icon.h"

namespace resources {
namespace {

constexpr const char* kIcon[] = {
    "32 32 6 1",
    ". c None",
    "s c #C8CCD4",
    "g c #9098A8",
    "w c #F4F6FA",
    "k c #202830",
    "G c #2EA043",
    "................................",
    "...........kkkkkkkkkk...........",
    ".........kksssssssssskk.........",
    ".......kksssssssssssssskk.......",
    "......kksssssssssssssssskk......",
    ".....ksssssggggggggggsssssk.....",
    "....ksssssggssssssssggsssssk....",
    "...kksssggssssssssssssggssskk...",
    "...ksssggssssssssssssssggsssk...",
    "..kssssgssssssssssssssssgssssk..",
    "..ksssgssssssssssssssssssgsssk..",
    ".ksssggssssssswwwwsssssssggsssk.",
    ".ksssgsssssswwwwwwwwssssssgsssk.",
    ".ksssgsssssswwwwwwwwssssssgsssk.",
    ".ksssgssssswww....wwwsssssgsssk.",
    ".ksssgssssswww....wwwsssssgsssk.",
    ".ksssgssssswww...kwwwsssssgsssk.",
    ".ksssgssssswww...Gkwwsssssgsssk.",
    ".ksssgsssssswwwwwGGGksssssgsssk.",
    ".ksssgsssssswwwwwGGGGkksssgsssk.",
    ".ksssggssssssswwwGGGGGGksggsssk.",
    "..ksssgssssssssssGGGGGGGGksssk..",
    "..kssssgsssssssssGGGGGGGGGGksk..",
    "...ksssggssssssssGGGGGGGGGGGkk..",
    "...kksssggsssssssGGGGGGGGGGGkk..",
    "....ksssssggsssssGGGGGGGGGGk....",
    ".....ksssssggggggGGGGGGGGkk.....",
    "......kksssssssssGGGGGGkkk......",
    ".......kkssssssssGGGGkkkk.......",
    ".........kkssssssGGGkkk.........",
    "...........kkkkkkGkkk...........",
    ".................k..............",
};

}  // namespace

std::span<const char* const> LauncherIconXpm() { return kIcon; }

}  // namespace resources
