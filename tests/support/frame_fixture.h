// A test fixture with a fake platform and frame buffers of a chosen size.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "quentaro.h"
#include "support/fake_platform.h"

class FrameTest : public ::testing::Test {
  protected:
    FakePlatform fake;

    void SetUp() override { UseFrame(64, 48); }
    // Every test also checks that nothing it drew landed beside the frame buffers.
    void TearDown() override {
        EXPECT_EQ(FrameGuardsIntact(), 1) << "a write landed outside the frame buffers";
        ReleaseFrameBuffers();
    }

    void UseFrame(int width, int height) {
        AppState = AppStateRecord{};
        // What earlier tests left of the loop's pace, the screen and the notice line.
        Pacing = PacingRecord{};
        ShownFrame = ShownFrameRecord{};
        Notice = NoticeRecord{};
        ResizeFrame(width, height);
        std::memset(Framebuffer, 0, std::size_t(width) * height * 4);
        std::memset(SavedFrame, 0, std::size_t(width) * height * 4);
        std::memset(PickBuffer, 0, std::size_t(width) * height * 4);
    }

    static const std::uint8_t* Pixel(const std::uint8_t* buffer, int x, int y) {
        return buffer + 4 * (std::size_t(y) * AppState.frameWidth + x);
    }
    static bool Lit(int x, int y) { return Pixel(Framebuffer, x, y)[3] == 255; }
    static int LitCount() {
        int count = 0;
        for (int y = 0; y < AppState.frameHeight; ++y)
            for (int x = 0; x < AppState.frameWidth; ++x) count += Lit(x, y);
        return count;
    }
    static std::array<int, 3> Rgb(int x, int y) {
        const std::uint8_t* p = Pixel(Framebuffer, x, y);
        return {p[0], p[1], p[2]};
    }
};
