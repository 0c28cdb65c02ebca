// The strategic turn: settlement of the player's towns, well income, combat between towns
// of different kingdoms, expansion of the computer's kingdoms, attrition and repair, and the
// winner. The scans go over the whole unit table and test kind and owner only, so towns that
// fell or were never bought still take part, as they always have.
#include "world/strategic_turn.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "gamedata/engine_settings.h"
#include "platform/platform.h"
#include "platform/virtual_keys.h"
#include "scene/key_poll.h"
#include "scene/view_position.h"
#include "shell/input_hooks.h"
#include "shell/random.h"
#include "world/world_tables.h"

std::int32_t turnCounter = 1;

namespace {

constexpr int PLAYER = 1;
constexpr int VIEW_KEY_KINGDOMS = 5;
constexpr int LAST_SETTLEMENT_TURN = 13;
constexpr int LAST_EXPANSION_TURN = 27;
constexpr int SETTLE_NEAR = 14;  // a player's town lies closer than this to one of his records
constexpr int SETTLE_APART = 8;  // ... and no closer than this to any of them
constexpr int EXPANSION_APART = 8;
constexpr int EXPANSION_SPREAD = 24;  // offsets -12..11 around an existing record
constexpr int INCOME_RANGE = 12;
constexpr int COMBAT_RANGE = 14;
constexpr int SETTLE_TILE_PIXELS = 16;
constexpr int TURN_PAUSE_MS = 1480;
constexpr std::int16_t SPRITE_CASTLE = 189;
constexpr int TILE_PLAIN = 10, TILE_FOREST = 11, TILE_HILLS = 18, TILE_MOUNTAIN = 19,
              TILE_HIGH_MOUNTAIN = 20;

int Distance(const UnitRecord& a, const UnitRecord& b) {
    return std::abs(int(a.x) - int(b.x)) + std::abs(int(a.y) - int(b.y));
}

// Kingdom k's capital, or nullptr when k names no kingdom (owner 0, or a kingdom beyond the
// settings or the table). With 99 kingdoms or more, kingdom 99 is one like the others, its
// capital record 99, though the wells carry its number as their neutral owner.
UnitRecord* Capital(int k) {
    if (k < 1 || k > KINGDOM_COUNT || k >= UNIT_CAPACITY) return nullptr;
    return &UnitTable[k];
}

bool Alive(int k) {
    const UnitRecord* capital = Capital(k);
    return capital != nullptr && capital->inUse != 0;
}

// The record a new town may take: past the capitals and inside the table, so that neither a
// capital nor the player's unit is overwritten, nor memory beyond the table.
bool CandidateRecordFree() {
    return nextUnit > KINGDOM_COUNT && nextUnit < UNIT_CAPACITY;
}

bool PurchaseRoom() {
    return nextUnit < UNIT_CAPACITY - 2;
}

UnitRecord NewTown(int owner, int x, int y) {
    UnitRecord town{};
    town.kind = KIND_TOWN;
    town.id = nextUnit;
    town.x = std::uint16_t(x);
    town.y = std::uint16_t(y);
    town.level = 0;
    town.maxStrength = RandomBelow(8) + 5;
    town.strength = town.maxStrength;
    town.sprite = SPRITE_CASTLE;
    town.destroyed = 0;
    town.statusMark = 0;
    town.owner = owner;
    return town;
}

// Copies the candidate's town fields onto record nextUnit, which stays free until bought.
void WriteCandidate(const UnitRecord& town) {
    UnitRecord& c = UnitTable[nextUnit];
    c.kind = town.kind;
    c.id = town.id;
    c.x = town.x;
    c.y = town.y;
    c.level = town.level;
    c.maxStrength = town.maxStrength;
    c.strength = town.strength;
    c.sprite = town.sprite;
    c.destroyed = town.destroyed;
    c.statusMark = town.statusMark;
    c.owner = town.owner;
}

// Pays rand() % 3 + 1 from kingdom k's treasury for the candidate on nextUnit.
void BuyCandidate(int k) {
    if (!PurchaseRoom()) return;
    int price = RandomBelow(3) + 1;
    UnitRecord* capital = Capital(k);
    if (capital == nullptr || capital->treasury < price) return;
    capital->treasury -= price;
    UnitTable[nextUnit].inUse = 1;
    ++nextUnit;
}

void ViewKeys() {
    for (int n = 1; n <= VIEW_KEY_KINGDOMS; ++n) {
        if (KeyDown('0' + n) == 0 || KINGDOM_COUNT < n) continue;
        const UnitRecord* capital = Capital(n);
        if (capital == nullptr) continue;
        ViewX = capital->x;
        ViewY = capital->y;
        ViewLevel = capital->level;
    }
}

// Some owner-1 record (other than `skip`) on the town's level lies closer than SETTLE_NEAR,
// and none closer than SETTLE_APART.
bool AcceptableSite(const UnitRecord& town, int skip) {
    bool near = false;
    for (int r = 1; r < UNIT_CAPACITY; ++r) {
        const UnitRecord& other = UnitTable[r];
        if (r == skip || other.owner != PLAYER || other.level != town.level) continue;
        int d = Distance(other, town);
        if (d < SETTLE_APART) return false;
        if (d < SETTLE_NEAR) near = true;
    }
    return near;
}

// The player's town at the cursor; false when the site is refused and the turn not played.
bool Settle() {
    int x = CursorColumn() / SETTLE_TILE_PIXELS + ViewX;
    int y = CursorRow() / SETTLE_TILE_PIXELS + ViewY;
    UnitRecord town = NewTown(PLAYER, x, y);
    if (x < 0 || x >= MAP_WIDTH || y < 0 || y >= MAP_WIDTH) return false;
    const bool written = CandidateRecordFree();
    if (written) WriteCandidate(town);
    if (!AcceptableSite(town, written ? nextUnit : -1)) return false;
    if (written) BuyCandidate(PLAYER);
    return true;
}

int WellIncome(const UnitRecord& well) {
    if (well.x >= MAP_WIDTH || well.y >= MAP_WIDTH || well.level >= LEVEL_COUNT) return 0;
    int tile = MapGrid[CellIndex(well.x, well.y, well.level)];
    int gold = 0;
    if (tile == TILE_PLAIN && RandomBelow(2) == 1) gold += 1;
    for (int paying : {TILE_FOREST, TILE_HILLS, TILE_MOUNTAIN, TILE_HIGH_MOUNTAIN})
        if (tile == paying) gold += 1;
    return gold;
}

// Each well pays every town of a living kingdom within range; the die for plain is rolled
// per town.
void Income() {
    for (int w = 0; w < UNIT_CAPACITY; ++w) {
        const UnitRecord& well = UnitTable[w];
        if (well.kind != KIND_WELL) continue;
        for (int t = 0; t < UNIT_CAPACITY; ++t) {
            const UnitRecord& town = UnitTable[t];
            if (town.kind != KIND_TOWN || !Alive(town.owner)) continue;
            if (Distance(well, town) >= INCOME_RANGE) continue;
            Capital(town.owner)->treasury += WellIncome(well);
        }
    }
}

void Combat() {
    for (int k = 1; k <= KINGDOM_COUNT; ++k) {
        if (!Alive(k)) continue;
        for (int a = 0; a < UNIT_CAPACITY; ++a) {
            const UnitRecord& attacker = UnitTable[a];
            if (attacker.kind != KIND_TOWN || attacker.owner != k) continue;
            for (int b = 0; b < UNIT_CAPACITY; ++b) {
                UnitRecord& defender = UnitTable[b];
                if (defender.kind != KIND_TOWN || defender.owner == k || a == b) continue;
                if (Distance(attacker, defender) >= COMBAT_RANGE) continue;
                if (RandomBelow(3) != 2) continue;
                defender.strength -= 1;
                if (defender.strength <= 0) {
                    defender.destroyed = 1;
                    defender.inUse = 0;
                }
            }
        }
    }
}

int OnMap(int value) {
    return std::clamp(value, 0, MAP_WIDTH - 1);
}

// One town tried for kingdom k near one of its records, bought when its treasury allows.
void Expand(int k) {
    std::vector<int> owned;
    for (int r = 1; r < UNIT_CAPACITY; ++r)
        if (UnitTable[r].owner == k) owned.push_back(r);
    if (owned.empty() || !CandidateRecordFree()) return;
    const UnitRecord& base = UnitTable[owned[RandomBelow(int(owned.size()))]];
    int x = OnMap(base.x + RandomBelow(EXPANSION_SPREAD) - EXPANSION_SPREAD / 2);
    int y = OnMap(base.y + RandomBelow(EXPANSION_SPREAD) - EXPANSION_SPREAD / 2);
    UnitRecord town = NewTown(k, x, y);
    WriteCandidate(town);
    bool roomy = false;
    for (int r : owned) {
        const UnitRecord& other = UnitTable[r];
        if (r != nextUnit && other.level == town.level && Distance(other, town) > EXPANSION_APART) {
            roomy = true;
            break;
        }
    }
    if (roomy) BuyCandidate(k);
}

void Expansion() {
    for (int k = 2; k <= KINGDOM_COUNT; ++k)
        if (Alive(k)) Expand(k);
}

void AttritionAndRepair() {
    for (int r = 1; r < UNIT_CAPACITY; ++r) {
        UnitRecord& record = UnitTable[r];
        if (record.inUse != 1 || record.owner == OWNER_NEUTRAL || Capital(record.owner) == nullptr)
            continue;
        if (RandomBelow(6) == 1) {
            record.strength -= RandomBelow(2) + 1;
            if (record.strength <= 0) record.inUse = 0;
        }
        UnitRecord& capital = *Capital(record.owner);
        if (record.strength <= 4 && capital.treasury > 0 && capital.inUse != 0) {
            capital.treasury -= 1;
            record.strength += RandomBelow(3) + 1;
            record.strength = std::min(record.strength, record.maxStrength);
        }
    }
}

// The one kingdom whose capital still stands, else 0.
int Winner() {
    int standing = 0, winner = 0;
    for (int k = 1; k <= KINGDOM_COUNT; ++k)
        if (Alive(k)) {
            ++standing;
            winner = k;
        }
    return standing == 1 ? winner : 0;
}

}  // namespace

std::int32_t PlayStrategicTurn() {
    if (UnitTable == nullptr || MapGrid == nullptr) return 0;
    ViewKeys();
    if (KeyDown(vk::LBUTTON) == 0) return 0;
    if (turnCounter <= LAST_SETTLEMENT_TURN) {
        if (!Settle()) return 0;
        Income();
        Combat();
        Expansion();
    } else if (turnCounter <= LAST_EXPANSION_TURN) {
        Expansion();
        AttritionAndRepair();
    } else {
        AttritionAndRepair();
    }
    int winner = Winner();
    if (winner != 0) return winner;
    turnCounter += 1;
    platform::Sys().Pause(TURN_PAUSE_MS);
    return 0;
}
