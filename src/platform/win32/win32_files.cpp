// Files and folders on Windows: the current folder, folder listings in the file system's own
// order with its attribute bits, the executable's folder, the per-user data folder, and the
// replacement of a file's contents by a rename over it. Also the zero-filled blocks of the
// image store, from the system's virtual memory.
#include <cstdlib>
#include <cstring>

#include "platform/win32/win32_platform.h"

namespace platform {

namespace {

// `wide` in the code page, or "" when the code page cannot spell it: no letter is turned into
// a look-alike, which would name another file.
std::string InCodePage(const std::wstring& wide) {
    const bool utf8 = GetACP() == CP_UTF8;  // spells everything, and takes no flags
    BOOL lost = FALSE;
    int length = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide.c_str(),
                                     int(wide.size()), nullptr, 0, nullptr, utf8 ? nullptr : &lost);
    if (length <= 0 || lost) return "";
    std::string narrow(std::size_t(length), '\0');
    WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide.c_str(), int(wide.size()),
                        narrow.data(), length, nullptr, nullptr);
    return narrow;
}

// A folder's path for the program's own calls, which take it in the code page: where the code
// page cannot spell it, its short form (plain ASCII where the volume keeps short names).
std::string FolderPath(const std::wstring& wide) {
    std::string narrow = InCodePage(wide);
    if (!narrow.empty() || wide.empty()) return narrow;
    wchar_t brief[MAX_PATH];
    DWORD length = GetShortPathNameW(wide.c_str(), brief, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    return InCodePage(std::wstring(brief, length));
}

}  // namespace

char PathSeparator() {
    return '\\';
}

std::string CurrentFolder() {
    wchar_t buffer[MAX_PATH];
    DWORD length = GetCurrentDirectoryW(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH) return "";
    return FolderPath(std::wstring(buffer, length));
}

bool SetCurrentFolder(const char* folder) {
    return SetCurrentDirectoryA(folder) != 0;
}

bool ListFolder(const char* folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    do {
        // A name the code page cannot spell comes back with '?' in it, which no file's name
        // holds: its short name, plain ASCII, still opens it.
        const bool unspelled = std::strchr(found.cFileName, '?') != nullptr;
        const char* name = unspelled && found.cAlternateFileName[0] != '\0'
                               ? found.cAlternateFileName
                               : found.cFileName;
        entries.push_back(FolderEntry{name, std::uint32_t(found.dwFileAttributes)});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}

// The file system's own calls take the name through the code page, as every other call
// here does; the standard library's paths would read its bytes as another encoding.
bool IsPlainFile(const char* path) {
    DWORD bits = GetFileAttributesA(path);
    return bits != INVALID_FILE_ATTRIBUTES &&
           (bits & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool IsFolder(const char* path) {
    DWORD bits = GetFileAttributesA(path);
    return bits != INVALID_FILE_ATTRIBUTES && (bits & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string FullPath(const char* path) {
    char buffer[MAX_PATH];
    DWORD length = GetFullPathNameA(path, sizeof buffer, buffer, nullptr);
    if (length == 0 || length >= sizeof buffer) return "";
    if (GetFileAttributesA(buffer) == INVALID_FILE_ATTRIBUTES) return "";
    return std::string(buffer, length);
}

bool MakeFolders(const char* path) {
    const std::string full = path;
    // Each folder from the top down; those that are there already stay as they are.
    for (std::size_t at = full.find_first_of("\\/"); at != std::string::npos;
         at = full.find_first_of("\\/", at + 1))
        if (at > 0 && full[at - 1] != ':') CreateDirectoryA(full.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path, nullptr);
    return IsFolder(path);
}

bool FileStamp(const char* path, long long& bytes, long long& modifiedNs) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0)
        return false;
    bytes = static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    const long long ticks = static_cast<long long>(data.ftLastWriteTime.dwHighDateTime) << 32 |
                            data.ftLastWriteTime.dwLowDateTime;
    // 100-ns ticks since 1601; counted from 1970, as nanoseconds they fit 64 bits.
    constexpr long long TICKS_1601_TO_1970 = 116444736000000000LL;
    modifiedNs = (ticks - TICKS_1601_TO_1970) * 100;
    return true;
}

bool FileAttributes(const char* name, std::uint32_t& attributes) {
    DWORD bits = GetFileAttributesA(name);
    if (bits == INVALID_FILE_ATTRIBUTES) return false;
    attributes = std::uint32_t(bits);
    return true;
}

std::string ProgramFolder() {
    wchar_t buffer[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return CurrentFolder();
    std::wstring path(buffer, length);
    std::size_t slash = path.find_last_of(L"\\/");
    return FolderPath(slash == std::wstring::npos ? path : path.substr(0, slash));
}

// Attributes do not tell (a read-only bit on a folder means nothing to the file system):
// the folder takes a file when a file can be made in it.
bool FolderWritable(const char* folder) {
    DWORD bits = GetFileAttributesA(folder);
    if (bits == INVALID_FILE_ATTRIBUTES || !(bits & FILE_ATTRIBUTE_DIRECTORY)) return false;
    char probe[MAX_PATH];
    if (GetTempFileNameA(folder, "qnt", 0, probe) == 0) return false;
    DeleteFileA(probe);
    return true;
}

// The per-user folder Windows keeps for programs' local data.
std::string UserDataHome() {
    for (const char* name : {"LOCALAPPDATA", "APPDATA"}) {
        const char* value = std::getenv(name);
        // Only a full path (drive and root) will do.
        if (value != nullptr && value[0] != '\0' && value[1] == ':' &&
            (value[2] == '\\' || value[2] == '/'))
            return value;
    }
    return "";
}

bool ReplaceFileContents(const char* path, const void* bytes, std::size_t count) {
    std::string beside = std::string(path) + ".new";
    HANDLE file = CreateFileA(beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const char* at = static_cast<const char*>(bytes);
    std::size_t left = count;
    bool ok = true;
    while (ok && left > 0) {
        DWORD chunk = left > (1u << 30) ? (1u << 30) : DWORD(left);
        DWORD written = 0;
        ok = WriteFile(file, at, chunk, &written, nullptr) && written > 0;
        at += written;
        left -= written;
    }
    // The data reaches the disk before the name moves, so the file is never seen half written.
    ok = ok && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    ok = ok && MoveFileExA(beside.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileA(beside.c_str());
    return ok;
}

// Committed pages read as zero and take memory only once written. Large pages need a
// privilege few accounts hold; the block works the same without.
std::uint8_t* AllocateZeroedBlock(std::size_t bytes, bool) {
    return static_cast<std::uint8_t*>(
        VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
}

}  // namespace platform
