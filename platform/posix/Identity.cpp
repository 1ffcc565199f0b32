#include "platform/Identity.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <sys/random.h>
#include <unistd.h>

#include <vector>

namespace gui::platform {

namespace {

bool ReadUrandom(unsigned char* buffer, std::size_t size) {
  int descriptor = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return false;
  std::size_t done = 0;
  while (done < size) {
    ssize_t got = read(descriptor, buffer + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  close(descriptor);
  return done == size;
}

// Calls back with the user database's entry of the current user, or with nullptr.
template <typename Use>
std::string WithUserEntry(Use use) {
  uid_t user = geteuid();
  long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
  struct passwd entry {};
  struct passwd* result = nullptr;
  while (getpwuid_r(user, &entry, buffer.data(), buffer.size(), &result) == ERANGE &&
         buffer.size() < (1u << 20))
    buffer.resize(buffer.size() * 2);
  return use(result, user);
}

}  // namespace

// A user without an entry in the user database is named by the number of the account.
std::string UserName() {
  return WithUserEntry([](const passwd* entry, uid_t user) {
    if (entry != nullptr && entry->pw_name != nullptr) return std::string(entry->pw_name);
    return std::to_string(user);
  });
}

std::string UserFullName() {
  try {
    return WithUserEntry([](const passwd* entry, uid_t) {
      if (entry == nullptr || entry->pw_gecos == nullptr) return std::string();
      std::string gecos = entry->pw_gecos;
      return gecos.substr(0, gecos.find(','));
    });
  } catch (const std::exception&) {
    return {};
  }
}

std::string ComputerName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

bool RandomBytes(unsigned char* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    ssize_t got = getrandom(buffer + done, size - done, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ReadUrandom(buffer, size);
    done += static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace gui::platform
