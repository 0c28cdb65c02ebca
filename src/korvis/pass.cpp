// One pass of the host program on the paced loop shared with the media menu: host keys,
// the engine's per-pass steps, a frame composed only when what it shows may have changed
// and presented only when its pixels differ from the frame on screen.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "korvis/host.h"
#include "quentaro.h"

namespace {

constexpr int BACKDROP_PERIOD = 50;  // the noise backdrop's passes between pictures

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
    key.backdropPhase = AppState.passCount / BACKDROP_PERIOD;
    key.turn = turnCounter;
    key.winner = Korvis.winner;
    key.console = ConsoleOpen;
    key.notice = CurrentNotice();
    return key;
}

// The title strip at the top over the noise backdrop: the program, the level in view and
// the strategic turn; the winner's banner across the middle once there is one.
void DrawTitle() {
    if (Korvis.sceneOn == 1)
        std::snprintf(TextBuffer, TEXT_BUFFER_SIZE, "KORVIS  SCENE  LEVEL %d  TURN %d",
                      int(UnitTable[1].level), int(turnCounter));
    else
        std::snprintf(TextBuffer, TEXT_BUFFER_SIZE, "KORVIS  LEVEL %d  TURN %d", ViewLevel,
                      int(turnCounter));
    DrawShadowText(4, AppState.frameHeight - 2, 255, 255, 255);
    if (Korvis.winner != 0) {
        const int w = AppState.frameWidth, mid = AppState.frameHeight / 2;
        for (int y = mid - 14; y < mid + 14; ++y)
            for (int x = 0; x < w; ++x) PutPixel(x, y, 120, 20, 20);
        std::snprintf(TextBuffer, TEXT_BUFFER_SIZE, "KINGDOM %d WINS", Korvis.winner);
        DrawLargeText(w / 2 - 60, mid - 6, 255, 230, 90);
    }
}

// Keys the host acts on once per press, from the recorded key-downs. They are recorded
// whatever window has the focus: Escape or F7 typed into another program leaves the game be.
void ApplyHostKeys() {
    if (WindowActive == 0) return;
    if (KeyState[vk::ESCAPE] == 1) AppState.quitRequested = 1;
    if (ConsoleOpen == 1) return;  // letters and digits belong to the console line
    if (KeyState[vk::F5] == 1) {
        Korvis.sceneOn = 1 - Korvis.sceneOn;
        if (Korvis.sceneOn == 1 && UnitTable[1].level == 0)
            ShowNotice("THE WALKER IS ON THE OVERWORLD: TELEPORT BELOW");
        Korvis.worldMoved = 1;
    }
    if (KeyState[vk::F6] == 1) SaveOverworldWithNotice();
    if (KeyState[vk::F7] == 1) {
        LoadOverworldWithNotice();
        Korvis.worldMoved = 1;
    }
}

// The keys the console's line takes.
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
// the mouse buttons walk and look instead.
void PlayEngineSteps() {
    if (Korvis.sceneOn == 1) return;
    if (AppState.passCount % 30 == 0 && AnyUnitOrdered()) Korvis.worldMoved = 1;
    UpdateUnitMoves();
    OrderPlayerUnitAtCursor();
    // Digits typed into the console line must not move the view to a capital.
    if (ConsoleOpen == 1 || Korvis.winner != 0) return;
    Korvis.winner = PlayStrategicTurn();
    if (KeyDownPeek(1)) Korvis.worldMoved = 1;
}

}  // namespace

void ComposeTileMapFrame() {
    // The backdrop fills the whole frame; only its top strip stays visible over the map.
    DrawNoiseBackdrop();
    const std::size_t rowBytes = std::size_t(AppState.frameWidth) * 4;
    const std::size_t stripStart = std::size_t(AppState.frameHeight - TITLE_STRIP_ROWS) * rowBytes;
    std::vector<unsigned char> strip(Framebuffer + stripStart,
                                     Framebuffer + stripStart + TITLE_STRIP_ROWS * rowBytes);
    std::memset(PickBuffer, 0, std::size_t(FramePixels()) * sizeof(PickBuffer[0]));
    DrawTileMap();
    std::memcpy(Framebuffer + stripStart, strip.data(), strip.size());
    DrawTitle();
    DrawHelpLine();
    DrawCursorCross();
}

void ComposeSceneFrame() {
    FillFramebuffer(20, 24, 40);
    RunSceneFrame();
    DrawTitle();
    DrawHelpLine();
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
    HandleWindowKeys();
    if (Korvis.sceneOn == 0) ScrollView(2);
    const HostFrameKey key = ReadFrameKey();
    // Typing, held buttons and the scene's walk change the frame from pass to pass; an idle
    // view is composed again only when what it shows has changed.
    // In the scene the buttons and Z walk and look; nothing else moves it.
    const bool busy = ConsoleOpen == 1 || KeyDownPeek(1) || KeyDownPeek(2) || KeyDownPeek(4) ||
                      (Korvis.sceneOn == 1 && KeyDownPeek('Z'));
    if (busy || Korvis.worldMoved == 1 || !Korvis.drawnKnown || !(key == Korvis.drawn) ||
        Pacing.screenStale == 1) {
        Korvis.worldMoved = 0;
        if (Korvis.sceneOn == 1)
            ComposeSceneFrame();
        else
            ComposeTileMapFrame();
        Korvis.drawn = key;
        Korvis.drawnKnown = true;
    }
    RunConsole();
    PresentIfChanged();
    PlayEngineSteps();
    // Letters typed while the console is closed are no one's: they must not turn up on its
    // line when it opens.
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
