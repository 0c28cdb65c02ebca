// One pass of the host program on the paced loop shared with the media menu: host keys, the
// engine's per-pass steps with the host's answers, a frame composed only when what it shows
// may have changed and presented only when its pixels differ from the frame on screen.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "korvis/host.h"
#include "quentaro.h"

namespace {

constexpr int MOVE_PERIOD = 30;                                   // the units' movement pass
constexpr int CONSOLE_PLATE_BOTTOM = 58, CONSOLE_PLATE_TOP = 76;  // behind the console's line

int FramePixels() {
    return AppState.frameWidth * AppState.frameHeight;
}

HostFrameKey ReadFrameKey() {
    HostFrameKey key;
    key.scene = Korvis.sceneOn;
    key.viewX = ViewX;
    key.viewY = ViewY;
    key.viewLevel = ViewLevel;
    // The cursor on the screen: one question to the display, where the frame position
    // would take three (the cursor cross follows from it and the window's place).
    platform::Sys().CursorPosition(key.cursorX, key.cursorY);
    key.turn = turnCounter;
    key.winner = Korvis.winner;
    key.console = ConsoleOpen;
    key.help = Korvis.helpPage;
    const UnitRecord& w = UnitTable[WALKER];
    key.walkerX = w.x;
    key.walkerY = w.y;
    key.walkerLevel = w.level;
    key.marked = platform::Sys().SteadyMicroseconds() < Korvis.mark.until ? 1 : 0;
    key.notice = CurrentNotice();
    return key;
}

// The winner's banner across the map, with the keys that follow a game.
void DrawWinnerBanner() {
    if (Korvis.winner == 0) return;
    const int mid = MAP_ROWS / 2, width = AppState.frameWidth;
    const bool won = Korvis.winner == 1;
    FillArea(0, BANNER_BOTTOM, width - 1, BANNER_TOP, won ? 20 : 110, won ? 90 : 20, won ? 30 : 20);
    const std::string title =
        won ? "YOU WIN" : "KINGDOM " + std::to_string(Korvis.winner) + " WINS";
    DrawLargeLine(title, (width - 8 * int(title.size())) / 2, mid + 1, 255, 230, 90);
    const std::string keys = "N NEW GAME  ESC QUIT";
    DrawLargeLine(keys, (width - 8 * int(keys.size())) / 2, mid - LINE_ROWS - 1, 240, 240, 240);
}

void DrawConsolePlate() {
    if (ConsoleOpen == 1)
        FillArea(0, CONSOLE_PLATE_BOTTOM, AppState.frameWidth - 1, CONSOLE_PLATE_TOP, 0, 0, 0);
}

// Keys the host acts on once per press, from the recorded key-downs. They are recorded
// whatever window has the focus: Escape or F7 typed into another program leaves the game be.
void ApplyHostKeys() {
    if (WindowActive == 0) return;
    if (KeyState[vk::ESCAPE] == 1) {
        // Escape closes what is open over the game before it ends the game.
        if (Korvis.helpPage != 0)
            Korvis.helpPage = 0;
        else if (ConsoleOpen == 1)
            ConsoleOpen = 0;
        else
            AppState.quitRequested = 1;
        Korvis.worldMoved = 1;
    }
    if (ConsoleOpen == 1) return;  // letters and digits belong to the console line
    if (KeyState['H'] == 1 || KeyState[vk::OEM_2] == 1) {
        Korvis.helpPage = (Korvis.helpPage + 1) % (HELP_PAGES + 1);
        Korvis.worldMoved = 1;
    }
    if (Korvis.helpPage != 0) return;
    if (KeyState['N'] == 1 && Korvis.winner != 0) {
        NewKorvisGame(ChooseSeed(false, 0));
        return;
    }
    if (KeyState[vk::F5] == 1) {
        if (Korvis.sceneOn == 1)
            LeaveScene();
        else
            EnterScene();
    }
    if (KeyState[vk::F6] == 1) SaveOverworldWithNotice();
    if (KeyState[vk::F7] == 1) {
        LoadOverworldWithNotice();
        Korvis.worldMoved = 1;
    }
}

// The keys and buttons the engine asks about in some views, and the console's keys: a press
// that nobody asked about in a pass is dropped at its end, so that it cannot act later in
// another view (a click made while the help was open, a letter typed while the console was
// closed).
const std::vector<int>& EngineKeys() {
    static const std::vector<int> keys = {
        vk::LBUTTON, vk::RBUTTON, vk::MBUTTON,  vk::TAB, vk::LEFT, vk::UP, vk::RIGHT,
        vk::DOWN,    vk::ADD,     vk::SUBTRACT, vk::F1,  vk::F2,   vk::F3, vk::F4};
    return keys;
}

const std::vector<int>& ConsoleKeys() {
    static const std::vector<int> keys = [] {
        std::vector<int> k = {vk::BACK, vk::RETURN, vk::SPACE, vk::SHIFT};
        for (int c = 'A'; c <= 'Z'; ++c) k.push_back(c);
        for (int c = '0'; c <= '9'; ++c) k.push_back(c);
        return k;
    }();
    return keys;
}

// Only ordered units move; with none the map stays as it is drawn.
bool AnyUnitOrdered() {
    for (int u = 0; u < UNIT_CAPACITY; ++u)
        if (UnitTable[u].inUse == 1 && UnitTable[u].moveState != 0) return true;
    return false;
}

// The units' moves and orders and the strategic turn belong to the tile map; in the scene
// the mouse buttons walk and look instead. Digits typed into the console line must not move
// the view to a capital, and a won game plays no more turns.
void PlayEngineSteps() {
    if (Korvis.sceneOn == 1) return;
    if (AppState.passCount % MOVE_PERIOD == 0 && AnyUnitOrdered()) Korvis.worldMoved = 1;
    const EngineStepsBefore before = NoteEngineSteps();
    UpdateUnitMoves();
    OrderPlayerUnitAtCursor();
    const bool turnStep = ConsoleOpen == 0 && Korvis.winner == 0;
    if (turnStep) {
        Korvis.winner = PlayStrategicTurn();
        if (before.leftHeld || before.viewKey) Korvis.worldMoved = 1;
    }
    AnswerEngineSteps(before, turnStep);
}

}  // namespace

void ComposeTileMapFrame() {
    // The title strip is the top of the noise backdrop, drawn once for the frame's size and kept:
    // a whole backdrop costs more than the rest of the frame, and an idle game should cost
    // nothing. It draws from a sequence of its own, so that it never changes the game's dice.
    static std::vector<unsigned char> strip;
    static unsigned backdropDice = 1;
    const std::size_t rowBytes = std::size_t(AppState.frameWidth) * 4;
    const std::size_t stripStart = std::size_t(AppState.frameHeight - TITLE_STRIP_ROWS) * rowBytes;
    if (strip.size() != TITLE_STRIP_ROWS * rowBytes) {
        const unsigned gameDice = RandomState();
        SeedRandom(backdropDice);
        DrawNoiseBackdrop();
        backdropDice = RandomState();
        SeedRandom(gameDice);
        strip.assign(Framebuffer + stripStart,
                     Framebuffer + stripStart + TITLE_STRIP_ROWS * rowBytes);
    }
    // Cells beyond the map's edges have no picture: they show black.
    for (std::size_t i = 0; i < std::size_t(FramePixels()); ++i) {
        std::memset(Framebuffer + 4 * i, 0, 3);
        Framebuffer[4 * i + 3] = 255;
    }
    std::memset(PickBuffer, 0, std::size_t(FramePixels()) * sizeof(PickBuffer[0]));
    DrawTileMapWithoutCaptions();
    DrawMapMarks();
    std::memcpy(Framebuffer + stripStart, strip.data(), strip.size());
    DrawTopLines();
    DrawWinnerBanner();
    DrawConsolePlate();
    if (Korvis.helpPage != 0)
        DrawHelpScreen(Korvis.helpPage);
    else
        DrawCursorCross();
}

void ComposeSceneFrame() {
    FillFramebuffer(20, 24, 40);
    RunHostedSceneFrame();
    FillArea(0, MAP_ROWS, AppState.frameWidth - 1, AppState.frameHeight - 1, 0, 0, 0);
    DrawTopLines();
    DrawConsolePlate();
    if (Korvis.helpPage != 0) DrawHelpScreen(Korvis.helpPage);
}

bool PresentIfChanged() {
    const std::size_t bytes = std::size_t(FramePixels()) * 4;
    const bool stale = TakeScreenStale();
    if (!stale && Korvis.shown.size() == bytes &&
        std::memcmp(Korvis.shown.data(), Framebuffer, bytes) == 0)
        return false;
    PresentFrame();
    Korvis.shown.assign(Framebuffer, Framebuffer + bytes);
    if (Korvis.firstFrameMicroseconds == 0)
        Korvis.firstFrameMicroseconds =
            platform::Sys().SteadyMicroseconds() - Korvis.startMicroseconds;
    return true;
}

void SaveOverworldWithNotice() {
    const std::string path = OverworldPath(OVERWORLD_FILE_NUMBER);
    SaveOverworld(OVERWORLD_FILE_NUMBER);
    // The save says nothing of how it went: the file read back does.
    const std::size_t cells = std::size_t(MAP_WIDTH) * MAP_WIDTH;
    std::ifstream in(path, std::ios::binary);
    std::vector<char> back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (back.size() >= cells && std::memcmp(back.data(), MapGrid, cells) == 0) {
        ShowNotice("OVERWORLD SAVED TO MAP/%d.OVERWORLD", OVERWORLD_FILE_NUMBER);
    } else {
        std::fprintf(stderr, "korvis: could not save the overworld to %s\n",
                     path.empty() ? "any writable folder" : path.c_str());
        ShowNotice("COULD NOT SAVE THE OVERWORLD");
    }
}

void LoadOverworldWithNotice() {
    const std::string path = OverworldPath(OVERWORLD_FILE_NUMBER);
    long long size = 0, modified = 0;
    if (!platform::FileStamp(path.c_str(), size, modified) ||
        size < static_cast<long long>(MAP_WIDTH) * MAP_WIDTH) {
        ShowNotice("NO OVERWORLD SAVED IN MAP/%d.OVERWORLD", OVERWORLD_FILE_NUMBER);
        return;
    }
    if (LoadOverworld(OVERWORLD_FILE_NUMBER)) {
        ShowNotice("OVERWORLD LOADED FROM MAP/%d.OVERWORLD", OVERWORLD_FILE_NUMBER);
    } else {
        std::fprintf(stderr, "korvis: could not load the overworld from %s\n", path.c_str());
        ShowNotice("COULD NOT LOAD THE OVERWORLD");
    }
}

void RunKorvisPass() {
    ApplyHostKeys();
    const bool help = Korvis.helpPage != 0;
    if (!help) {
        HandleWindowKeys();
        if (Korvis.sceneOn == 0) ScrollMapView(2);
        PlayEngineSteps();
    }
    const HostFrameKey key = ReadFrameKey();
    // Typing, held buttons and the scene's walk change the frame from pass to pass; an idle
    // view is composed again only when what it shows has changed.
    const bool busy = ConsoleOpen == 1 ||
                      (!help && (KeyDownPeek(vk::LBUTTON) || KeyDownPeek(vk::RBUTTON) ||
                                 KeyDownPeek(vk::MBUTTON) ||
                                 (Korvis.sceneOn == 1 && ConsoleOpen == 0 && KeyDownPeek('Z'))));
    const bool compose = busy || Korvis.worldMoved == 1 || !Korvis.drawnKnown ||
                         !(key == Korvis.drawn) || Pacing.screenStale == 1;
    if (compose) {
        Korvis.worldMoved = 0;
        if (Korvis.sceneOn == 1)
            ComposeSceneFrame();
        else
            ComposeTileMapFrame();
        Korvis.drawn = key;
        Korvis.drawnKnown = true;
    }
    if (!help) {
        const ConsoleBefore console = NoteConsole();
        RunConsole();
        AnswerConsole(console);
    }
    // Only a frame drawn anew, or one the window lost, can differ from the one on screen.
    if (compose || ConsoleOpen == 1 || Pacing.screenStale == 1) PresentIfChanged();
    ForgetUnaskedPresses(EngineKeys());
    if (ConsoleOpen == 0) ForgetUnaskedPresses(ConsoleKeys());
    MouseState.rightPress = 0;
    std::memset(KeyState, 0, sizeof KeyState);
    EndPacedPass();
    while (PumpMessages()) {
    }
    AppState.passCount += 1;
}

int RunKorvis() {
    while (AppState.quitRequested == 0) RunKorvisPass();
    KorvisShutDown();
    return 0;
}
