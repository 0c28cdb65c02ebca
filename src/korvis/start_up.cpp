// The host's start-up: the frame and window at their fixed sizes, the game's pictures from
// the data folder, then the world made from one seed (overworld, kingdoms and wells, the
// dungeon levels under the overworld) with a progress line while the dungeons grow.
#include <cstdio>
#include <cstring>

#include "korvis/host.h"
#include "quentaro.h"

using platform::Sys;

KorvisRecord Korvis;

namespace {

long long lastProgress = -1;

// Shown from the dungeon generator's idle hook, at most 30 times a second: a few presents
// cost little next to the generation itself, and the close request is heard meanwhile.
void ShowDungeonProgress(int) {
    long long now = Sys().SteadyMicroseconds();
    if (lastProgress >= 0 && now - lastProgress < 33000) return;
    lastProgress = now;
    const int levels = LEVEL_COUNT - 1 - DUNGEON_FIRST_LEVEL;
    const int done = RoomLevel - DUNGEON_FIRST_LEVEL;
    std::memset(Framebuffer, 0, std::size_t(AppState.frameWidth) * AppState.frameHeight * 4);
    DrawLargeLine("KORVIS", 136, 150, 255, 255, 255);
    char line[48];
    std::snprintf(line, sizeof line, "DUNGEON LEVEL %d OF %d", done + 1, levels);
    DrawLargeLine(line, (KORVIS_FRAME_WIDTH - 8 * int(std::strlen(line))) / 2, 116, 200, 200, 200);
    const int barWidth = 200, filled = barWidth * done / levels;
    for (int y = 100; y < 108; ++y) {
        DrawLine(60, y, 60 + barWidth, y, 60, 60, 60);
        if (filled > 0) DrawLine(60, y, 60 + filled, y, 90, 160, 255);
    }
    std::snprintf(line, sizeof line, "SEED %u", Korvis.seed);
    DrawLargeLine(line, (KORVIS_FRAME_WIDTH - 8 * int(std::strlen(line))) / 2, 80, 140, 140, 140);
    PresentFrame();
    while (PumpMessages()) {
    }
    if (AppState.quitRequested != 0) StopGeneration = 1;
}

void CopyFolder(char* target, const std::string& folder) {
    std::snprintf(target, FOLDER_CAPACITY, "%s", folder.c_str());
}

// The world of `seed`: the overworld, the kingdoms and wells, the dungeons below with their
// progress on screen, and the first view on the player's capital.
void MakeWorld(unsigned seed) {
    GenerateOverworld(seed);
    // The kingdoms and the dungeons follow from the same seed, not from the clock.
    SeedRandom(seed);
    PlaceKingdomsAndWells();
    GenerationIdleWork = ShowDungeonProgress;
    lastProgress = -1;
    GenerateDungeon(MAP_WIDTH / 2, MAP_WIDTH / 2, DUNGEON_FIRST_LEVEL,
                    LEVEL_COUNT - 1 - DUNGEON_FIRST_LEVEL, 250, DUNGEON_ATTEMPTS);
    GenerationIdleWork = nullptr;
    StopGeneration = 0;
    // The player's capital in the middle of the map below the lines at the top.
    ViewX = int(UnitTable[1].x) - KORVIS_FRAME_WIDTH / TILE_SIZE / 2;
    ViewY = int(UnitTable[1].y) - MAP_ROWS / TILE_SIZE / 2;
    ViewLevel = 0;
    ScrollMapView(0);
    std::memset(KeyState, 0, sizeof KeyState);
    MouseState = MouseStateRecord{};
    MarkScreenStale();
}

}  // namespace

unsigned ChooseSeed(bool given, unsigned seed) {
    if (given) return seed;
    // Two runs started in the same second still get different worlds.
    unsigned long long t = static_cast<unsigned long long>(Sys().CalendarSeconds()) * 1000003ull +
                           static_cast<unsigned long long>(Sys().SteadyMicroseconds());
    return unsigned(t ^ (t >> 32));
}

int KorvisStartUp(unsigned seed) {
    Korvis = KorvisRecord{};
    Korvis.seed = seed;
    Korvis.startMicroseconds = Sys().SteadyMicroseconds();
    BeginTrigTables();
    std::string folder = platform::CurrentFolder();
    if (folder.empty() || folder.size() >= std::size_t(FOLDER_CAPACITY)) {
        std::fprintf(stderr, "korvis: cannot use the working folder's path\n");
        FinishTrigTables();
        return 0;
    }
    CopyFolder(AppState.startFolder, folder);
    CopyFolder(AppState.browseFolder, folder);
    FindDataFolder(folder, platform::ProgramFolder());
    MakeOverworldFolder();  // saves do not make it
    ResizeFrame(KORVIS_FRAME_WIDTH, KORVIS_FRAME_HEIGHT);
    AppState.pixelScale = KORVIS_PIXEL_SCALE;
    AppState.screenWidth = Sys().ScreenWidth();
    AppState.screenHeight = Sys().ScreenHeight();
    InitGameData();
    // Without its pictures the world would be drawn as empty ground; say where they were sought.
    if (LoadedSlotCount() == 0)
        std::fprintf(stderr,
                     "korvis: no pictures found: the picture folders (bmp_*) are neither in %s "
                     "nor beside the program\n",
                     ProgramFilesFolder().c_str());
    AllocateSceneDepthBuffer();
    FinishTrigTables();
    platform::SetWindowClass("korvis");
    if (!OpenGlWindow("KORVIS", KORVIS_FRAME_WIDTH * KORVIS_PIXEL_SCALE,
                      KORVIS_FRAME_HEIGHT * KORVIS_PIXEL_SCALE, 16, false))
        return 0;
    Sys().ShowSystemCursor(false);  // the frame draws its own cursor cross
    InstallInputHooks();

    MakeWorld(seed);
    if (LoadedSlotCount() == 0) ShowNotice("NO PICTURES FOUND");
    return 1;
}

void NewKorvisGame(unsigned seed) {
    const KorvisRecord kept = Korvis;
    Korvis = KorvisRecord{};
    Korvis.seed = seed;
    Korvis.startMicroseconds = kept.startMicroseconds;
    Korvis.firstFrameMicroseconds = kept.firstFrameMicroseconds;
    // Every table and picture as at start-up, the window and its textures kept.
    InitGameData();
    AllocateSceneDepthBuffer();
    turnCounter = 1;
    ResetSceneState();
    ConsoleOpen = LineSubmitted = 0;
    MakeWorld(seed);
    ShowNotice("NEW GAME, SEED %u", seed);
}

void KorvisShutDown() {
    ReleaseFrameBuffers();
    ReleaseGameData();
}
