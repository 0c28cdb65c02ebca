// The file work of the desktop's shared thumbnail cache on POSIX systems: where the cache is,
// the file:// URI and MD5 digest that name a picture's thumbnail, and private files written
// whole or not at all. The browser's thumbnail cache is the caller.
#include <fcntl.h>
#include <md5.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "platform/platform.h"

namespace platform {

namespace {

std::string ErrorText(int error) {
    return std::error_code(error, std::generic_category()).message();
}

// Makes `folder` and the missing folders above it, each open to its owner only. Folders that
// exist keep their permissions: they are the user's.
bool MakeFolders(const std::string& folder, std::string& why) {
    struct stat info;
    if (stat(folder.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return true;
        why = ErrorText(ENOTDIR);
        return false;
    }
    std::size_t slash = folder.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash), why))
        return false;
    // Another writer may make it at the same moment.
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        why = ErrorText(errno);
        return false;
    }
    return true;
}

bool WriteAll(int fd, const void* bytes, std::size_t count) {
    const char* at = static_cast<const char*>(bytes);
    while (count > 0) {
        ssize_t written = write(fd, at, count);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        at += written;
        count -= std::size_t(written);
    }
    return true;
}

bool PathByte(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    for (const char* k = "!$&'()*+,-./:=@_~"; *k; ++k)
        if (c == static_cast<unsigned char>(*k)) return true;
    return false;
}

}  // namespace

std::string ThumbnailCacheFolder() {
    // Only absolute values count; a relative one is to be ignored.
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/thumbnails";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.cache/thumbnails";
    return "";
}

std::string FileUri(const std::string& absolutePath) {
    if (absolutePath.empty() || absolutePath[0] != '/') return "";
    static const char HEX[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (unsigned char c : absolutePath) {
        if (PathByte(c)) {
            uri += char(c);
        } else {
            uri += '%';
            uri += HEX[c >> 4];
            uri += HEX[c & 15];
        }
    }
    return uri;
}

std::string Md5Hex(const std::string& text) {
    char hex[MD5_DIGEST_STRING_LENGTH];
    MD5Data(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), hex);
    return hex;
}

bool WritePrivateFile(const std::string& path, const void* bytes, std::size_t count,
                      std::string& why) {
    std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash), why))
        return false;
    // mkstemp makes the file 0600 under a name no other writer picks.
    std::string temporary = path + ".XXXXXX";
    int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        why = ErrorText(errno);
        return false;
    }
    // No flush to the disk: a thumbnail cut short by a crash reads as unreadable and is made
    // again, and sixteen flushes would cost a page more than its decoding.
    bool ok = WriteAll(fd, bytes, count);
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        why = ErrorText(error);
        unlink(temporary.c_str());
    }
    return ok;
}

}  // namespace platform
