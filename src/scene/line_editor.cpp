// The console's line editor: one polling step per frame over the key state, with the calling
// thread paused after each acting key so that a held key repeats at a steady rate.
// RunConsole calls it while the console is open.
#include <algorithm>
#include <cstdio>
#include <string>

#include "draw/text.h"
#include "platform/platform.h"
#include "platform/virtual_keys.h"
#include "scene/console.h"
#include "scene/console_buffers.h"
#include "scene/key_poll.h"
#include "shell/app_state.h"

namespace {

constexpr int LONGEST_LINE = COMMAND_LINE_BYTES - 1;
constexpr int KEY_REPEAT_PAUSE = 120;
constexpr int SUBMIT_PAUSE = 500;

// The pause that makes a held key repeat every 120 ms; a key already let go needs none, so
// that keys typed quickly are taken as fast as they come.
void PaceRepeat(int key, int milliseconds) {
    if (KeyHeldNow(key)) platform::Sys().Pause(milliseconds);
}

void Append(char character, int key) {
    CommandLine[CommandLength] = character;
    CommandLine[CommandLength + 1] = '\0';
    ++CommandLength;
    PaceRepeat(key, KEY_REPEAT_PAUSE);
}

}  // namespace

void EditLine(int x, int y, int maxLength, const char* prompt) {
    maxLength = std::clamp(maxLength, 0, LONGEST_LINE);
    CommandLength = std::clamp(CommandLength, 0, LONGEST_LINE);
    if (KeyDown(vk::RETURN)) {
        CommandLine[CommandLength] = '\0';
        PaceRepeat(vk::RETURN, SUBMIT_PAUSE);
        LineSubmitted = 1;
        return;
    }
    // Every key is asked once a call: a key pressed since it was last asked counts once, so a
    // second question would find it released.
    const bool shift = KeyDown(vk::SHIFT) == 1;
    bool letters[26], digits[10];
    for (int i = 0; i < 26; ++i) letters[i] = KeyDown('A' + i) == 1;
    for (int i = 0; i < 10; ++i) digits[i] = KeyDown('0' + i) == 1;
    if (KeyDown(vk::BACK) && CommandLength > 0) {
        CommandLine[CommandLength] = '\0';
        CommandLine[CommandLength - 1] = '\0';
        --CommandLength;
        PaceRepeat(vk::BACK, KEY_REPEAT_PAUSE);
    }
    if (KeyDown(vk::SPACE) && CommandLength < maxLength) Append(' ', vk::SPACE);
    for (int i = 0; i < 26; ++i)
        if (letters[i] && !shift && CommandLength < maxLength) Append(char('a' + i), 'A' + i);
    for (int i = 0; i < 26; ++i)
        if (letters[i] && shift && CommandLength < maxLength) Append(char('A' + i), 'A' + i);
    for (int i = 0; i < 10; ++i)
        if (digits[i] && CommandLength < maxLength) Append(char('0' + i), '0' + i);
    if (CommandLength > maxLength) {
        CommandLength = maxLength;
        CommandLine[maxLength] = '\0';
    }
    // Prompt, line and the cursor in the period's first half, cut to what TextBuffer holds.
    std::string text = std::string(prompt ? prompt : "") + CommandLine;
    if (AppState.passCount % 20 < 10) text += '_';
    std::snprintf(TextBuffer, TEXT_BUFFER_SIZE, "%s", text.c_str());
    DrawLargeText(x, y, 255, 255, 255);
}
