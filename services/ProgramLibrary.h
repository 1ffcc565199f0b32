#pragma once

#include <iostream>
#include <memory>
#include <string>

#include "platform/Library.h"
#include "services/modFolders.h"

namespace gui {

// An object made by a function that a library of the program exports (T* maker(arguments));
// null when the maker makes none, or when the library cannot be loaded, which is reported on
// standard error so that an incomplete installation shows.
template <typename T, typename... Arguments>
std::unique_ptr<T> MakeFromProgramLibrary(const std::string& library, const std::string& maker,
                                          Arguments... arguments) {
  std::string reason;
  auto make = reinterpret_cast<T* (*)(Arguments...)>(
      platform::ProgramLibraryFunction(library, maker, reason));
  if (make == nullptr) {
    std::cerr << kProductName << ": " << reason << std::endl;
    return nullptr;
  }
  return std::unique_ptr<T>(make(arguments...));
}

}  // namespace gui
