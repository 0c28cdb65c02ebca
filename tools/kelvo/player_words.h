// What the player adapter makes of the words the browser starts it with, the same on every
// system: "quorvale", the chosen file's path with each space written as '*', and a number.
// The adapters for Linux (main_posix.cpp) and Windows (main_windows.cpp) act on the answer.
#pragma once

#include <functional>
#include <string>
#include <vector>

constexpr const char* PLAYER_WINDOW_TITLE = "Kelvo video and audio player";

// What to do: play `path` (status 0), or say `message` and end with `status` (1: nothing to
// play, 2: not started the way the browser starts it).
struct PlayerRequest {
    int status = 0;
    std::string path;
    std::string message;
};

// `words` are the arguments after the program's own name; `exists` tells whether a path
// names something on the disk.
PlayerRequest ReadPlayerWords(const std::vector<std::string>& words,
                              const std::function<bool(const std::string&)>& exists);

// The last part of a path, for messages.
std::string NameInPath(const std::string& path);

// The words the player mpv is given after its own name: the title the browser's window
// placement looks for, a window at once (audio too) where the browser would put it.
std::vector<std::string> MpvWords(const std::string& path);
