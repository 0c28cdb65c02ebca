// Three-part unit names: a start, a middle and an end syllable, chosen so that no two unit
// records share a name. The repeated syllables make those more likely. Unit views and the
// console print names through FormatUnitName.
#include <cstdio>
#include <vector>

#include "gamedata/catalogue.h"
#include "gamedata/engine_settings.h"
#include "shell/random.h"
#include "world/world_tables.h"

const char* const NameStarts[NAME_START_COUNT] = {
    "A",  "Ab",  "Ac",  "Ad", "Af",  "Agr", "Ast",  "As",  "Al",  "Adw", "Adr", "Ar",  "B",
    "Br", "C",   "C",   "C",  "Cr",  "Ch",  "Cad",  "D",   "Dr",  "Dw",  "Ed",  "Eth", "Et",
    "Er", "El",  "Eow", "F",  "Fr",  "G",   "Gr",   "Gw",  "Gw",  "Gal", "Gl",  "H",   "Ha",
    "Ib", "Jer", "K",   "Ka", "Ked", "L",   "Loth", "Lar", "Leg", "M",   "Mir", "N",   "Nyd",
    "Ol", "Oc",  "On",  "P",  "Pr",  "Q",   "R",    "Rh",  "S",   "Sev", "T",   "Tr",  "Th",
    "Th", "Ul",  "Um",  "Un", "V",   "Y",   "Yb",   "Z",   "W",   "W",   "Wic"};

const char* const NameMiddles[NAME_MIDDLE_COUNT] = {
    "a",   "ae",  "ae",  "au",  "ao",  "are", "ale",  "ali",  "ay", "ardo", "e",   "edri", "ei",
    "ea",  "ea",  "eri", "era", "ela", "eli", "enda", "erra", "i",  "ia",   "ie",  "ire",  "ira",
    "ila", "ili", "ira", "igo", "o",   "oha", "oma",  "oa",   "oi", "oe",   "ore", "u",    "y"};

const char* const NameEnds[NAME_END_COUNT] = {
    "a",    "and",  "b",    "bwyn", "baen", "bari", "c",    "ch",   "can", "d",    "dan",
    "don",  "der",  "dric", "dus",  "f",    "g",    "gord", "gan",  "han", "har",  "jar",
    "jan",  "k",    "kin",  "kith", "kath", "koth", "kor",  "kon",  "l",   "li",   "lin",
    "lith", "lath", "loth", "ld",   "ldan", "m",    "mas",  "mos",  "mar", "mond", "n",
    "nydd", "nidd", "nnon", "nwan", "nyth", "nad",  "nn",   "nnor", "nd",  "p"};

char NameBuffer[NAME_BUFFER_BYTES];

namespace {

bool NameTaken(int a, int b, int c) {
    for (int r = 0; r < UNIT_CAPACITY; ++r) {
        const std::int16_t* parts = UnitTable[r].nameParts;
        if (parts[0] == a && parts[1] == b && parts[2] == c) return true;
    }
    return false;
}

constexpr int TRIPLES = NAME_START_COUNT * NAME_MIDDLE_COUNT * NAME_END_COUNT;

int Triple(int a, int b, int c) {
    return (a * NAME_MIDDLE_COUNT + b) * NAME_END_COUNT + c;
}

// The triples the table holds (the unit's own included); false when it holds every one.
bool GatherTakenTriples(std::vector<bool>& taken) {
    taken.assign(TRIPLES, false);
    int count = 0;
    for (int r = 0; r < UNIT_CAPACITY; ++r) {
        const std::int16_t* parts = UnitTable[r].nameParts;
        if (parts[0] < 0 || parts[0] >= NAME_START_COUNT || parts[1] < 0 ||
            parts[1] >= NAME_MIDDLE_COUNT || parts[2] < 0 || parts[2] >= NAME_END_COUNT)
            continue;
        int t = Triple(parts[0], parts[1], parts[2]);
        count += !taken[t];
        taken[t] = true;
    }
    return count < TRIPLES;
}

}  // namespace

void PickNameParts(int unit) {
    if (UnitTable == nullptr || unit < 0 || unit >= UNIT_CAPACITY) return;
    // Draws until a triple no record holds. After a few draws that all hit held triples the
    // table is crowded: the held ones are gathered once and each draw is looked up, which
    // takes the same draws, and a table holding every triple (a unit capacity past 160,056)
    // leaves the unit's parts as they are instead of drawing forever.
    constexpr int SCANNED_DRAWS = 64;
    std::vector<bool> taken;
    int a, b, c;
    for (int draw = 0;; ++draw) {
        a = RandomBelow(NAME_START_COUNT);
        b = RandomBelow(NAME_MIDDLE_COUNT);
        c = RandomBelow(NAME_END_COUNT);
        if (draw < SCANNED_DRAWS ? !NameTaken(a, b, c) : !taken[Triple(a, b, c)]) break;
        if (draw == SCANNED_DRAWS - 1 && !GatherTakenTriples(taken)) return;
    }
    UnitTable[unit].nameParts[0] = std::int16_t(a);
    UnitTable[unit].nameParts[1] = std::int16_t(b);
    UnitTable[unit].nameParts[2] = std::int16_t(c);
}

void FormatUnitName(int unit) {
    if (UnitTable == nullptr || unit < 0 || unit >= UNIT_CAPACITY) return;
    // The parts are read as unsigned, so a negative part is out of range too.
    const std::int16_t* parts = UnitTable[unit].nameParts;
    unsigned a = std::uint16_t(parts[0]), b = std::uint16_t(parts[1]), c = std::uint16_t(parts[2]);
    if (a >= NAME_START_COUNT || b >= NAME_MIDDLE_COUNT || c >= NAME_END_COUNT) return;
    std::snprintf(NameBuffer, sizeof NameBuffer, "%s%s%s", NameStarts[a], NameMiddles[b],
                  NameEnds[c]);
}
