#pragma once

#include <string>

namespace gui::backend {

// The job's bytes as they came, written by the user into the user's own temporary folder for
// gui, where gui removes it with the session's other files.
class JobFile {
 public:
  // The folder gui uses for the environment this process has now: the product's folder below
  // the first of the system's per-user temporary folders where each level is private (0700 when
  // made here); a level that is a link, belongs to someone else or is writable by others sends
  // it to the next. "" and every reason in error when none is left.
  static std::string PrepareFolder(std::string& error);

  // Creates folder/name new (0600, never through a link) and copies head then the rest of the
  // input into it; false with the reason in error. A failed copy leaves no file, and neither
  // does a cancellation: the file stays registered for removal on cancel when this succeeds.
  static bool Write(const std::string& folder, const std::string& name, const std::string& head,
                    int input, std::string& error);

  // Removes every file of the session in the folder: what a gui ended by a cancellation left.
  static void RemoveSession(const std::string& folder, const std::string& sessionId);
};

}  // namespace gui::backend
