#include "platform/HomeFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace tvk {
namespace {

// The home folder of `user` ("" for the user running), "" when unknown.
std::string PasswordHome(const std::string& user) {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    int failed = user.empty() ? getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found)
                              : getpwnam_r(user.c_str(), &entry, buffer.data(), buffer.size(), &found);
    return failed == 0 && found && found->pw_dir ? std::string(found->pw_dir) : std::string();
}

}  // namespace

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    std::string fromPasswd = PasswordHome(std::string());
    return fromPasswd.empty() ? std::string("/") : fromPasswd;
}

std::string ExpandTilde(const std::string& path) {
    if (path.empty() || path[0] != '~') return path;
    size_t slash = path.find('/');
    std::string user = path.substr(1, slash == std::string::npos ? std::string::npos : slash - 1);
    std::string home = user.empty() ? HomeFolder() : PasswordHome(user);
    if (home.empty()) return path;
    return slash == std::string::npos ? home : home + path.substr(slash);
}

}  // namespace tvk
