// The services the program needs from the operating system, in its own words.
// The shell, the browser and the engine reach the display, input, dialogs, other
// processes and the clock only through `Sys()`, so that a test double can stand in
// for the real backend. Files, folders and picture decoding are plain functions:
// tests use them for real, on temporary folders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// Windows message numbers, kept as the program's event vocabulary on every system.
constexpr unsigned MSG_MOVE = 0x0003;          // main window moved on the screen
constexpr unsigned MSG_SIZE = 0x0005;          // main window changed size
constexpr unsigned MSG_ACTIVATE = 0x0006;      // main window gained or lost the focus
constexpr unsigned MSG_PAINT = 0x000F;         // part of the main window must be shown again
constexpr unsigned MSG_CLOSE = 0x0010;         // close request of the main window
constexpr unsigned MSG_KEYDOWN = 0x0100;       // key-down (auto-repeat included)
constexpr unsigned MSG_KEYUP = 0x0101;         // key release
constexpr unsigned MSG_SYSKEYDOWN = 0x0104;    // key-down with Alt held, Alt itself, F10
constexpr unsigned MSG_SYSKEYUP = 0x0105;      // release of a system key
constexpr unsigned MSG_SYSCOMMAND = 0x0112;    // system command (wParam: which one)
constexpr unsigned MSG_MOUSEMOVE = 0x0200;     // pointer moved
constexpr unsigned MSG_LBUTTONDOWN = 0x0201;   // left button pressed
constexpr unsigned MSG_RBUTTONDOWN = 0x0204;   // right button pressed
constexpr unsigned MSG_MBUTTONDOWN = 0x0207;   // middle button pressed
constexpr unsigned MSG_MOUSEWHEEL = 0x020A;    // wheel turned
constexpr unsigned SC_SCREEN_SAVE = 0xF140;    // the screen saver is about to start
constexpr unsigned SC_MONITOR_POWER = 0xF170;  // the monitor is about to power down

// Where an event comes from: the global keyboard or mouse capture, or the main window.
enum class EventSource { Keyboard, Mouse, Window };

// One event taken from the system by `Platform::NextEvent`.
struct Event {
    EventSource source = EventSource::Window;
    unsigned message = 0;  // one of the MSG_ numbers above
    unsigned param = 0;    // virtual-key code for keyboard events; command for MSG_SYSCOMMAND
};

// Screen rectangle of a window: left/top inclusive, right/bottom exclusive.
struct WindowRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// What the shell asks of the pixel format of the GL context.
struct PixelFormatWanted {
    int colourBits = 16;
    int depthBits = 16;
    bool doubleBuffer = true;
};

enum class MessageIcon { Exclamation, Stop, Information };

// Opaque handle of some top-level window of the desktop; 0 means none.
using WindowHandle = std::uint64_t;

// The virtual services. `Sys()` returns the one in force: the real backend unless a
// test installed its double with `SetSys`.
class Platform {
  public:
    virtual ~Platform() = default;

    // --- display and the main window, in the steps the shell reports separately ---
    // Connects to the display; on failure `why` says what went wrong.
    virtual bool Connect(std::string& why) = 0;
    virtual int ScreenWidth() = 0;
    virtual int ScreenHeight() = 0;
    virtual bool RegisterWindowClass() = 0;
    virtual bool UnregisterWindowClass() = 0;
    virtual bool ChangeDisplayMode(int width, int height, int bits) = 0;  // fullscreen
    virtual void RestoreDisplayMode() = 0;
    virtual bool CreateMainWindow(const char* title, int x, int y, int width, int height) = 0;
    virtual bool GetDeviceContext() = 0;
    virtual bool ChoosePixelFormat(const PixelFormatWanted& wanted) = 0;
    virtual bool SetPixelFormat() = 0;
    virtual bool CreateGlContext() = 0;
    virtual bool MakeGlContextCurrent() = 0;
    virtual void ShowAndFocusMainWindow() = 0;
    virtual bool HasGlContext() = 0;
    virtual bool ReleaseGlContext() = 0;  // detach it from the thread
    virtual bool DeleteGlContext() = 0;
    virtual bool HasDeviceContext() = 0;
    virtual bool ReleaseDeviceContext() = 0;
    virtual bool HasMainWindow() = 0;
    virtual bool DestroyMainWindow() = 0;
    virtual void SwapBuffers() = 0;
    virtual WindowRect MainWindowRect() = 0;
    virtual void MoveMainWindow(int x, int y, int width, int height) = 0;
    virtual void ShowSystemCursor(bool show) = 0;

    // --- events: one per call, false when none is pending ---
    virtual bool NextEvent(Event& event) = 0;
    // What the system does with a main-window event the program leaves alone.
    virtual void DefaultWindowEvent(const Event& event) = 0;

    // --- input ---
    // Starts system-wide capture of key-downs and right presses; false if not possible.
    virtual bool InstallKeyboardCapture() = 0;
    virtual bool InstallMouseCapture() = 0;
    // Whether a key or button is held now, whatever window has the focus.
    virtual bool KeyHeld(int virtualKey) = 0;
    // Whether it went down since the previous call for it, whatever window has the focus: a
    // press between two polls counts once, however short.
    virtual bool KeyPressed(int virtualKey) = 0;
    virtual void CursorPosition(int& x, int& y) = 0;
    virtual void MoveCursor(int x, int y) = 0;  // to a screen position

    // --- dialogs (modal) ---
    virtual void ShowMessage(const char* text, const char* caption, MessageIcon icon) = 0;
    virtual bool AskYesNo(const char* text, const char* caption, MessageIcon icon) = 0;

    // --- other programs and their windows ---
    // Starts `file` with `parameters` split at spaces into argument words; no shell.
    virtual bool StartProgram(const char* file, const char* parameters) = 0;
    virtual bool OpenFolderInFileManager(const char* folder) = 0;
    // A program started by the two calls above that ended in failure within its first
    // seconds: its last line on standard error, or what ended it. One per call; false when
    // there is no such news.
    virtual bool TakeStartedProgramFailure(std::string& message) = 0;
    virtual WindowHandle FindWindowByTitle(const char* title) = 0;
    virtual bool MoveWindow(WindowHandle window, int x, int y, int width, int height) = 0;

    // --- time ---
    virtual void Pause(int milliseconds) = 0;
    // The same with a finer grain, for the main loop's pacing; the key bindings' pauses
    // stay whole milliseconds.
    virtual void PauseMicroseconds(long long microseconds) = 0;
    // Seconds since 1970-01-01 UTC: the calendar clock that seeds the strategic world.
    virtual long long CalendarSeconds() = 0;
    // A steady clock in microseconds from an arbitrary origin, for pacing the main loop.
    virtual long long SteadyMicroseconds() = 0;
};

Platform& Sys();
void SetSys(Platform* replacement);  // nullptr restores the real backend

// The class the main window is made with from the next window on, which desktops group
// windows and find launchers by; "" (the start) is the media menu's own.
void SetWindowClass(const std::string& name);
const std::string& WindowClass();

// --- files and folders (real on every system; paths in the system's own form) ---
constexpr std::uint32_t ATTRIBUTE_READONLY = 0x01;
constexpr std::uint32_t ATTRIBUTE_HIDDEN = 0x02;
constexpr std::uint32_t ATTRIBUTE_DIRECTORY = 0x10;
constexpr std::uint32_t ATTRIBUTE_ARCHIVE = 0x20;
constexpr std::uint32_t ATTRIBUTE_NORMAL = 0x80;

struct FolderEntry {
    std::string name;
    std::uint32_t attributes = 0;
};

char PathSeparator();         // '/' or '\\'
std::string CurrentFolder();  // "" when it cannot be read
bool SetCurrentFolder(const char* folder);
// Entries of `folder` in the order the Windows file system gives them; false if unreadable.
bool ListFolder(const char* folder, std::vector<FolderEntry>& entries);
// Windows-style attributes of `name` (relative to the current folder); false if absent.
bool FileAttributes(const char* name, std::uint32_t& attributes);
std::string ProgramFolder();  // folder of the running executable
// True when the program may create files in the existing folder `folder`.
bool FolderWritable(const char* folder);
// The per-user folder for programs' data files ($XDG_DATA_HOME, else ~/.local/share);
// "" when neither is known.
std::string UserDataHome();
// Makes `path` hold exactly `count` bytes: written into a file beside it, flushed to the disk,
// then renamed over it. On any failure the old file, if any, stays as it was; false.
bool ReplaceFileContents(const char* path, const void* bytes, std::size_t count);

// Size and last modification time of a file (nanoseconds on the file system's clock), which
// change when it is rewritten; false if it cannot be read or is not a plain file.
bool FileStamp(const char* path, long long& bytes, long long& modifiedNs);
// True when `path` names a plain file: not a folder, a device or a pipe, which a read could
// wait on forever.
bool IsPlainFile(const char* path);
// True when `path` names a folder.
bool IsFolder(const char* path);
// The absolute form of the existing `path`, with "." and ".." (and on Linux symbolic links)
// resolved; "" when it does not exist.
std::string FullPath(const char* path);
// Makes the folder `path` and the missing folders above it; true when it is there afterwards.
bool MakeFolders(const char* path);

// A zero-filled block that takes memory only where it is written, for the life of the process,
// in large pages where the system offers them and they are asked for; nullptr when the system
// cannot give it.
std::uint8_t* AllocateZeroedBlock(std::size_t bytes, bool largePages = false);

// --- the desktop's shared thumbnail cache (freedesktop.org) ---
// The file work of the cache; which thumbnails to keep and whether one still holds is the
// browser's.

// The cache's folder: $XDG_CACHE_HOME/thumbnails (an absolute XDG_CACHE_HOME only), else
// ~/.cache/thumbnails; "" where the program keeps no thumbnails: on Windows, whose system keeps
// a cache of its own, in its own form.
std::string ThumbnailCacheFolder();
// The file:// URI of an absolute path as the desktop writes it: every byte other than letters,
// digits and !$&'()*+,-./:=@_~ escaped as %XX in upper case. "" for a relative path.
std::string FileUri(const std::string& absolutePath);
// The MD5 digest of `text` in 32 lower-case hexadecimal digits: a thumbnail's file name.
std::string Md5Hex(const std::string& text);
// Makes `path` hold exactly `count` bytes, readable by its owner only (0600): written into a
// temporary file of its own in the same folder, then renamed over it, so that a reader never
// sees it half written. Missing folders on the way are made, open to their owner only (0700).
// On failure nothing is left behind; false, with the system's reason in `why` ("No space left
// on device"), the same for every file of a folder that cannot be written.
bool WritePrivateFile(const std::string& path, const void* bytes, std::size_t count,
                      std::string& why);

// A thumbnail: width x height pixels R, G, B, A with rows bottom-up (A 255: a transparent pixel
// is taken as drawn over black), and its PNG text chunks as key and value.
struct Thumbnail {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
    std::vector<std::pair<std::string, std::string>> text;
};
constexpr int THUMBNAIL_MAX_SIDE = 4096;  // a larger PNG is no thumbnail: refused
enum class ThumbnailRead { Absent, Read, Unreadable };
// Reads the PNG file `path`. Absent when there is none; Unreadable, with the reason in `why`,
// when it cannot be read, is malformed or cut short, or is larger than a thumbnail can be.
ThumbnailRead ReadThumbnailFile(const std::string& path, Thumbnail& out, std::string& why);
// The same from bytes in memory; false for Unreadable. `out` is untouched on failure.
bool DecodeThumbnailPng(const std::uint8_t* data, std::size_t size, Thumbnail& out,
                        std::string& why);
// An 8-bit RGB PNG of the thumbnail's pixels (its A is dropped) with its text chunks.
bool EncodeThumbnailPng(const Thumbnail& thumbnail, std::vector<std::uint8_t>& png);

// --- picture decoding ---
// Every decode gives the picture upright, with a JPEG's camera orientation (its EXIF tag)
// applied, rows bottom-up, 4 bytes a pixel.
enum class PixelOrder { BGRX, RGBA };

// A decoded picture. `width` and `height` are those of the decoded pixels; `fullWidth` and
// `fullHeight` the picture's own size, larger only when it was decoded at a reduced size.
// `bgrx` holds the pixels (B, G, R, X) when the decode was not asked to write elsewhere.
struct Picture {
    int width = 0;
    int height = 0;
    int fullWidth = 0;
    int fullHeight = 0;
    std::vector<std::uint8_t> bgrx;
};

// What a decode is asked for.
struct DecodeRequest {
    long long maxPixels = 0;  // pictures above this many pixels (their own size) are refused
    // 0: full size. Otherwise a JPEG comes at the smallest size its decoder reaches cheaply
    // (1/8 to 1/1) whose larger side is still at least this long: thumbnails need only a
    // sample grid.
    int minLongSide = 0;
    // Where the pixels go: a caller's block of `blockBytes`, or `Picture::bgrx` when null.
    std::uint8_t* block = nullptr;
    std::size_t blockBytes = 0;
    PixelOrder order = PixelOrder::BGRX;  // for a block; `bgrx` is always B, G, R, X
    // RGBA only: pixels of exactly this R, G, B get A = 0, all others A = 255.
    bool colourKeyOn = false;
    std::uint8_t keyColour[3] = {0, 0, 0};
    // For a caller decoding over a picture it keeps: a JPEG whose data ends before its end
    // marker is refused before a pixel is written. (Corrupt data in a complete file is found
    // only while decoding: the block is then partly overwritten and the decode fails.)
    bool refuseIncomplete = false;
};

// Decodes a BMP or JPEG file (recognised by its content) as asked. False for a malformed,
// truncated or too large file; `out` is then untouched.
bool DecodePicture(const char* path, const DecodeRequest& request, Picture& out);
// DecodePicture at full size into `out.bgrx`.
bool DecodePictureFile(const char* path, long long maxPixels, Picture& out);
// DecodePicture at a reduced size (see DecodeRequest::minLongSide) into `out.bgrx`.
bool DecodePictureReduced(const char* path, long long maxPixels, int minLongSide, Picture& out);
// Writes `picture` (its width x height pixels from `bgrx`) as a baseline JPEG, with an EXIF
// orientation tag when `orientation` is 2 to 8; tests and benchmarks make their sample files
// with it.
bool WriteJpegFile(const char* path, const Picture& picture, int quality, int orientation = 1);

}  // namespace platform
