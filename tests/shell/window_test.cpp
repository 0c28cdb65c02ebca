// Window life cycle over the fake platform: every failure message and its clean-up,
// repeated reopening, the pixel format request, and the window procedure.
#include <cstdlib>

#include "support/frame_fixture.h"

namespace {

class Window : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        PixelFormatRequestFilled = false;
        FullscreenFlag = false;
        AppState.pixelScale = 2;
    }
};

TEST_F(Window, OpensBorderlessAtOriginWithHiddenCursor) {
    UseFrame(960, 540);
    AppState.pixelScale = 2;
    ASSERT_EQ(OpenMainWindow(), 1);
    EXPECT_EQ(fake.rect.left, 0);
    EXPECT_EQ(fake.rect.top, 0);
    EXPECT_EQ(fake.rect.right, 1920);
    EXPECT_EQ(fake.rect.bottom, 1080);
    EXPECT_FALSE(fake.cursorShown);
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(PixelFormatRequest.size, 40);
    EXPECT_EQ(PixelFormatRequest.version, 1);
    EXPECT_EQ(PixelFormatRequest.flags, 0x25u);
    EXPECT_EQ(PixelFormatRequest.colourBits, 16);
    EXPECT_EQ(PixelFormatRequest.depthBits, 16);
    EXPECT_EQ(PixelFormatRequest.stencilBits, 0);
}

TEST_F(Window, EachFailingStepShowsItsMessageAndLeavesNothingBehind) {
    struct Case {
        FakePlatform::FailAt at;
        const char* message;
    } cases[] = {
        {FakePlatform::CREATE_WINDOW, "ERROR: Window Creation Error."},
        {FakePlatform::DEVICE_CONTEXT, "ERROR: Can't Create A GL Device Context."},
        {FakePlatform::CHOOSE_FORMAT, "ERROR: Can't Find A Suitable PixelFormat."},
        {FakePlatform::SET_FORMAT, "ERROR: Can't Set The PixelFormat."},
        {FakePlatform::CREATE_CONTEXT, "ERROR: Can't Create A GL Rendering Context."},
        {FakePlatform::MAKE_CURRENT, "ERROR: Can't Activate The GL Rendering Context."},
    };
    for (const Case& c : cases) {
        FakePlatform local;
        local.failStep[c.at] = true;
        EXPECT_EQ(OpenGlWindow("GAME", 640, 480, 16, false), 0);
        ASSERT_EQ(local.messages.size(), 1u) << c.message;
        EXPECT_EQ(local.messages[0], c.message);
        EXPECT_EQ(local.windows, 0) << c.message;
        EXPECT_EQ(local.contexts, 0) << c.message;
        EXPECT_EQ(local.classes, 0) << c.message;
    }
    FakePlatform local;
    local.failStep[FakePlatform::REGISTER_CLASS] = true;
    EXPECT_EQ(OpenGlWindow("GAME", 640, 480, 16, false), 0);
    EXPECT_EQ(local.messages,
              std::vector<std::string>{"ERROR: Failed To Register The Window Class."});
    EXPECT_EQ(local.windows, 0);
}

TEST_F(Window, FullscreenFallsBackOrCloses) {
    {
        FakePlatform local;
        local.answerYes = true;
        EXPECT_EQ(OpenGlWindow("GAME", 640, 480, 16, true), 1);
        ASSERT_EQ(local.messages.size(), 1u);
        EXPECT_EQ(local.messages[0],
                  "Varko GL? The Requested Fullscreen Mode Is Not Supported By\nYour Video "
                  "Card. Use Windowed Mode Instead?");
        EXPECT_FALSE(FullscreenFlag);
        CloseGlWindow();
    }
    {
        FakePlatform local;
        local.answerYes = false;
        EXPECT_EQ(OpenGlWindow("GAME", 640, 480, 16, true), 0);
        EXPECT_EQ(local.messages.back(), "ERROR: Program Will Now Close.");
        EXPECT_EQ(local.windows, 0);
    }
    {
        FakePlatform local;
        local.displayModeOffered = true;
        EXPECT_EQ(OpenGlWindow("GAME", 640, 480, 16, true), 1);
        EXPECT_TRUE(FullscreenFlag);
        EXPECT_TRUE(local.messages.empty());
        CloseGlWindow();
        EXPECT_EQ(local.calls.back(), "UnregisterWindowClass");
        EXPECT_NE(std::find(local.calls.begin(), local.calls.end(), "RestoreDisplayMode"),
                  local.calls.end());
        FullscreenFlag = false;
    }
}

TEST_F(Window, ReopeningTwiceLeavesOneClassAndOneWindow) {
    ASSERT_EQ(OpenMainWindow(), 1);
    for (int i = 0; i < 2; ++i) {
        CloseGlWindow();
        ASSERT_EQ(OpenMainWindow(), 1);
    }
    EXPECT_EQ(fake.classes, 1);
    EXPECT_EQ(fake.windows, 1);
    EXPECT_EQ(fake.contexts, 1);
    EXPECT_TRUE(fake.messages.empty());
    CloseGlWindow();
    EXPECT_EQ(fake.windows, 0);
    // A second close finds no class to unregister and says so.
    CloseGlWindow();
    EXPECT_EQ(fake.messages,
              std::vector<std::string>{"SHUTDOWN ERROR: Could Not Unregister Class."});
}

TEST_F(Window, CloseUndoesInReverseAndReportsEachFailedStepInThatOrder) {
    using platform::MessageIcon;
    fake.displayModeOffered = true;
    ASSERT_EQ(OpenGlWindow("GAME", 640, 480, 16, true), 1);
    for (auto at : {FakePlatform::RELEASE_CONTEXT, FakePlatform::DELETE_CONTEXT,
                    FakePlatform::RELEASE_DEVICE_CONTEXT, FakePlatform::DESTROY_WINDOW,
                    FakePlatform::UNREGISTER_CLASS})
        fake.failStep[at] = true;
    fake.calls.clear();
    fake.cursorShown = false;
    CloseGlWindow();
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"RestoreDisplayMode", "ReleaseGlContext",
                                                    "DeleteGlContext", "ReleaseDeviceContext",
                                                    "DestroyMainWindow", "UnregisterWindowClass"}));
    EXPECT_TRUE(fake.cursorShown);
    EXPECT_EQ(fake.messages, (std::vector<std::string>{
                                 "SHUTDOWN ERROR: Release Of DC And RC Failed.",
                                 "SHUTDOWN ERROR: Release Rendering Context Failed.",
                                 "SHUTDOWN ERROR: Release Device Context Failed.",
                                 "SHUTDOWN ERROR: Could Not Release hWnd.",
                                 "SHUTDOWN ERROR: Could Not Unregister Class.",
                             }));
    EXPECT_EQ(fake.icons, std::vector<MessageIcon>(5, MessageIcon::Information));
    FullscreenFlag = false;
}

TEST_F(Window, OpeningMessagesCarryTheirIcons) {
    using platform::MessageIcon;
    fake.failStep[FakePlatform::MAKE_CURRENT] = true;
    EXPECT_EQ(OpenGlWindow("GAME", 640, 480, 16, false), 0);
    FakePlatform refused;
    refused.answerYes = false;
    EXPECT_EQ(OpenGlWindow("GAME", 640, 480, 16, true), 0);
    EXPECT_EQ(fake.icons, std::vector<MessageIcon>{MessageIcon::Exclamation});
    EXPECT_EQ(refused.icons,
              (std::vector<MessageIcon>{MessageIcon::Exclamation, MessageIcon::Stop}));
    FullscreenFlag = false;
}

TEST_F(Window, CloseRequestSetsQuitAndKeepsTheWindow) {
    ASSERT_EQ(OpenMainWindow(), 1);
    EXPECT_EQ(WindowProc({platform::EventSource::Window, platform::MSG_CLOSE, 0}), 0);
    EXPECT_EQ(AppState.quitRequested, 1);
    EXPECT_EQ(fake.windows, 1);
    CloseGlWindow();
}

TEST_F(Window, ActivationFollowsItsEventsAndEndsWithTheWindow) {
    ASSERT_EQ(OpenMainWindow(), 1);
    EXPECT_EQ(WindowActive, 0);  // not before the system says so
    WindowProc({platform::EventSource::Window, platform::MSG_ACTIVATE, 1});
    EXPECT_EQ(WindowActive, 1);
    WindowProc({platform::EventSource::Window, platform::MSG_ACTIVATE, 0});
    EXPECT_EQ(WindowActive, 0);
    WindowProc({platform::EventSource::Window, platform::MSG_ACTIVATE, 1});
    // A window remade (F1 to F4) whose focus never arrives is not active.
    CloseGlWindow();
    EXPECT_EQ(WindowActive, 0);
    ASSERT_EQ(OpenMainWindow(), 1);
    EXPECT_EQ(WindowActive, 0);
    CloseGlWindow();
}

TEST_F(Window, ScreenSaverIsHeldOffAndOtherEventsGoToTheSystem) {
    using platform::EventSource;
    EXPECT_EQ(WindowProc({EventSource::Window, platform::MSG_SYSCOMMAND, platform::SC_SCREEN_SAVE}),
              0);
    EXPECT_EQ(
        WindowProc({EventSource::Window, platform::MSG_SYSCOMMAND, platform::SC_MONITOR_POWER}), 0);
    EXPECT_EQ(WindowProc({EventSource::Window, platform::MSG_ACTIVATE, 1}), 0);
    EXPECT_EQ(fake.defaultEvents, 0);
    WindowProc({EventSource::Window, platform::MSG_SYSCOMMAND, 0xF020});
    WindowProc({EventSource::Window, platform::MSG_MOUSEMOVE, 0});
    EXPECT_EQ(fake.defaultEvents, 2);
    EXPECT_EQ(AppState.quitRequested, 0);
}

TEST_F(Window, CubeTexturesSkipSlotsBeyondASmallerTable) {
    // A slot table resized below the cube slots must not be read past its end.
    ImageSlot* saved = ImageSlots;
    std::int32_t savedCount = SLOT_COUNT;
    ImageSlots = nullptr;
    SLOT_COUNT = 1203;
    CreateImageSlots();
    ImageSlots[1202].pixels = static_cast<std::uint8_t*>(std::calloc(3 * 4 * 4, 1));
    ImageSlots[1202].width = ImageSlots[1202].height = 4;
    EXPECT_EQ(UploadCubeTextures(), 1);
    ReleaseImageSlots();
    ImageSlots = saved;
    SLOT_COUNT = savedCount;
}

TEST_F(Window, ClearFrameEmptiesPixelsAndIds) {
    PutPixel(3, 3, 1, 2, 3);
    PutPickId(3, 3, 77);
    ClearFrame();
    EXPECT_EQ(LitCount(), 0);
    EXPECT_EQ(PickBuffer[3 * AppState.frameWidth + 3], 0);
}

}  // namespace
