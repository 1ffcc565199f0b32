#include "platform/Library.h"

#include <dlfcn.h>

namespace gui::platform {

namespace {

// The folder of the shared object that holds this code, with its final slash.
std::string OwnFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&OwnFolder), &info) == 0 || info.dli_fname == nullptr)
    return {};
  std::string path = info.dli_fname;
  return path.substr(0, path.rfind('/') + 1);
}

}  // namespace

void* ProgramLibraryFunction(const std::string& library, const std::string& function,
                             std::string& reason) {
  std::string path = OwnFolder() + "lib" + library + ".so";
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  void* found = handle != nullptr ? dlsym(handle, function.c_str()) : nullptr;
  if (found == nullptr) {
    const char* text = dlerror();
    reason = text != nullptr ? text : path + ": " + function + " is missing";
  }
  return found;
}

}  // namespace gui::platform
