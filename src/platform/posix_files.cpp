// Files and folders on POSIX systems, presented the way the program expects them from
// Windows: attribute values of the Windows file system, "." and ".." listed first and
// the other names in its order (name_order.cpp), never in hash order.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/name_order.h"
#include "platform/platform.h"

namespace platform {

namespace {

std::uint32_t AttributesOf(const char* path) {
    struct stat info;
    // A link that leads nowhere is still an entry; Windows reports no entry without bits.
    if (stat(path, &info) != 0) return lstat(path, &info) == 0 ? ATTRIBUTE_ARCHIVE : 0;
    if (S_ISDIR(info.st_mode)) return ATTRIBUTE_DIRECTORY;
    std::uint32_t attributes = ATTRIBUTE_ARCHIVE;
    if (access(path, W_OK) != 0) attributes |= ATTRIBUTE_READONLY;
    return attributes;
}

int DotRank(const std::string& name) {
    if (name == ".") return 0;
    if (name == "..") return 1;
    return 2;
}

}  // namespace

char PathSeparator() {
    return '/';
}

std::string CurrentFolder() {
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof buffer) == nullptr) return "";
    return buffer;
}

bool SetCurrentFolder(const char* folder) {
    return chdir(folder) == 0;
}

bool ListFolder(const char* folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    DIR* dir = opendir(folder);
    if (dir == nullptr) return false;
    std::string base = folder;
    if (!base.empty() && base.back() != '/') base += '/';
    while (dirent* entry = readdir(dir)) {
        FolderEntry item;
        item.name = entry->d_name;
        item.attributes = AttributesOf((base + item.name).c_str());
        entries.push_back(std::move(item));
    }
    closedir(dir);
    std::vector<std::pair<NameKey, FolderEntry>> keyed;
    keyed.reserve(entries.size());
    for (FolderEntry& entry : entries)
        keyed.emplace_back(MakeNameKey(entry.name), std::move(entry));
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        int ra = DotRank(a.second.name), rb = DotRank(b.second.name);
        if (ra != rb) return ra < rb;
        return NameKeyBefore(a.first, b.first);
    });
    entries.clear();
    for (auto& k : keyed) entries.push_back(std::move(k.second));
    return true;
}

bool FileAttributes(const char* name, std::uint32_t& attributes) {
    struct stat info;
    if (stat(name, &info) != 0) return false;
    attributes = AttributesOf(name);
    return true;
}

bool IsPlainFile(const char* path) {
    struct stat info;
    return stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

bool IsFolder(const char* path) {
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

std::string FullPath(const char* path) {
    char* resolved = realpath(path, nullptr);
    if (resolved == nullptr) return "";
    std::string full = resolved;
    std::free(resolved);
    return full;
}

bool MakeFolders(const char* path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return IsFolder(path);
}

bool FileStamp(const char* path, long long& bytes, long long& modifiedNs) {
    struct stat info;
    if (stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    bytes = static_cast<long long>(info.st_size);
    modifiedNs = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    return true;
}

std::string ProgramFolder() {
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return CurrentFolder();
    std::string path(buffer, size_t(length));
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(0, slash);
}

bool FolderWritable(const char* folder) {
    struct stat info;
    if (stat(folder, &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    return access(folder, W_OK | X_OK) == 0;
}

std::string UserDataHome() {
    // Only an absolute XDG_DATA_HOME counts; a relative one is to be ignored.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/share";
    return "";
}

bool ReplaceFileContents(const char* path, const void* bytes, std::size_t count) {
    std::string beside = std::string(path) + ".new";
    int fd = open(beside.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    const char* at = static_cast<const char*>(bytes);
    std::size_t left = count;
    bool ok = true;
    while (ok && left > 0) {
        ssize_t written = write(fd, at, left);
        if (written < 0 && errno == EINTR) continue;
        ok = written > 0;
        if (ok) {
            at += written;
            left -= std::size_t(written);
        }
    }
    // The data reaches the disk before the name moves, so the file is never seen half written.
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && std::rename(beside.c_str(), path) == 0;
    if (!ok) unlink(beside.c_str());
    return ok;
}

}  // namespace platform
