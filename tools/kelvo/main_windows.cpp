// kelvo.exe, the player the browser starts beside itself on Windows: an adapter over mpv.
// Started with the parameter string " quorvale PATH 0 ", it plays the file with mpv.exe
// (beside it, else on PATH) and ends with mpv's status; without mpv it asks the shell to
// open the file with the program Windows has for it and says so once. Whatever keeps it
// from playing is said in a message box: it has no console to write to.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// After windows.h, which they need but do not include.
#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <string>

#include "player_words.h"

namespace {

constexpr const wchar_t* CAPTION = L"kelvo";

std::wstring Wide(const std::string& utf8) {
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), length);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string utf8(std::size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), utf8.data(), length, nullptr,
                        nullptr);
    return utf8;
}

int Say(int status, const std::string& message, UINT icon = MB_ICONEXCLAMATION) {
    MessageBoxW(nullptr, Wide(message).c_str(), CAPTION,
                MB_OK | icon | MB_SETFOREGROUND | MB_TOPMOST);
    return status;
}

bool IsFile(const std::wstring& path) {
    DWORD bits = GetFileAttributesW(path.c_str());
    return bits != INVALID_FILE_ATTRIBUTES && (bits & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0) return L".";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/"));
}

std::wstring Environment(const wchar_t* name) {
    DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0) return L"";
    std::wstring value(length, L'\0');
    length = GetEnvironmentVariableW(name, value.data(), length);
    value.resize(length);
    return value;
}

// mpv.exe beside this program, else in a folder of PATH (only there: not in the current
// folder, which is wherever the browser was started).
std::wstring FindMpv() {
    std::wstring beside = ProgramFolder() + L"\\mpv.exe";
    if (IsFile(beside)) return beside;
    std::wstring folders = Environment(L"PATH");
    if (folders.empty()) return L"";
    wchar_t found[32768];
    DWORD length = SearchPathW(folders.c_str(), L"mpv.exe", nullptr, 32768, found, nullptr);
    return length > 0 && length < 32768 ? std::wstring(found, length) : L"";
}

// One word of a command line as the receiving program's start-up code splits it: in quotes,
// with the backslashes before a quote doubled.
std::wstring Quoted(const std::wstring& word) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

// The system's words for `error`; the file it names in them (its "%1") is `name`.
std::string SystemMessage(DWORD error, const std::string& name) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = text != nullptr ? Utf8(text) : "error " + std::to_string(error);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == '.' || message.back() == ' '))
        message.pop_back();
    for (std::size_t at = message.find("%1"); at != std::string::npos;
         at = message.find("%1", at + name.size()))
        message.replace(at, 2, name);
    return message;
}

// Plays with mpv and ends as it ends, so that the browser hears of a file it could not play.
int PlayWithMpv(const std::wstring& mpv, const std::string& path) {
    std::wstring line = Quoted(mpv);
    for (const std::string& word : MpvWords(path)) line += L" " + Quoted(Wide(word));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(mpv.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return Say(1, "Cannot start " + Utf8(mpv) + ": " +
                          SystemMessage(GetLastError(), Utf8(mpv)) + ".");
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    return int(status);
}

// The note that the file went to another program is given once per user: a file in the
// program's per-user folder remembers it was given.
void SayOnce(const std::string& message) {
    std::wstring home = Environment(L"LOCALAPPDATA");
    if (home.empty()) home = Environment(L"APPDATA");
    std::wstring marker;
    if (!home.empty()) {
        std::wstring own = home + L"\\quentaro";
        CreateDirectoryW(own.c_str(), nullptr);
        marker = own + L"\\kelvo-default-player-told.txt";
        if (IsFile(marker)) return;
    }
    Say(0, message, MB_ICONINFORMATION);
    if (marker.empty()) return;
    HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = message + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(file);
}

// Opening a program, a script or a link runs it: the system's list of risky types, and the
// extensions PATHEXT names as programs, which are not left to that list alone.
bool RunsWhenOpened(const std::wstring& file) {
    const std::size_t dot = file.find_last_of(L'.');
    if (dot == std::wstring::npos || file.find_first_of(L"\\/", dot) != std::wstring::npos)
        return false;
    const std::wstring extension = file.substr(dot);
    if (AssocIsDangerous(extension.c_str())) return true;
    std::wstring programs = Environment(L"PATHEXT");
    if (programs.empty()) programs = L".COM;.EXE;.BAT;.CMD";
    for (std::size_t start = 0; start <= programs.size();) {
        std::size_t end = programs.find(L';', start);
        if (end == std::wstring::npos) end = programs.size();
        const std::wstring program = programs.substr(start, end - start);
        if (CompareStringOrdinal(program.data(), int(program.size()), extension.data(),
                                 int(extension.size()), TRUE) == CSTR_EQUAL)
            return true;
        start = end + 1;
    }
    return false;
}

int OpenWithDefaultProgram(const std::string& path) {
    const std::wstring file = Wide(path);
    const std::string name = NameInPath(path);
    // A player plays files; it starts no programs.
    if (RunsWhenOpened(file))
        return Say(1, "Nothing played: " + name +
                          " is a file that Windows runs as a program, and kelvo.exe opens only "
                          "files to play.");
    // The shell's handlers may be COM objects, which want the thread's apartment.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No dialog asking for a program: a file nothing opens gets this program's own message.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    const std::string folder = Utf8(ProgramFolder());
    if (!ShellExecuteExW(&info))
        return Say(1, "No program plays " + name + " (" + SystemMessage(GetLastError(), name) +
                          ").\n\nPut mpv.exe beside kelvo.exe in " + folder +
                          ", or in a folder of PATH, and play it again.");
    SayOnce("mpv.exe is neither beside kelvo.exe in " + folder + " nor in a folder of PATH, so " +
            name +
            " opened in the program Windows has for it, which the menu does not place over its "
            "window.\n\nPut mpv.exe beside kelvo.exe to play in the menu's window. This note is "
            "shown once.");
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> words;
    for (int i = 1; arguments != nullptr && i < count; ++i) words.push_back(Utf8(arguments[i]));
    LocalFree(arguments);
    const PlayerRequest request = ReadPlayerWords(words, [](const std::string& path) {
        return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    });
    if (request.status == 1) return Say(1, "Nothing played: " + request.message);
    if (request.status != 0) return Say(request.status, request.message);
    const std::wstring mpv = FindMpv();
    if (!mpv.empty()) return PlayWithMpv(mpv, request.path);
    return OpenWithDefaultProgram(request.path);
}
