#include "production/Destination.h"

#include <optional>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "script/Utf8.h"
#include "services/Error.h"
#include "services/modFiles.h"
#include "services/modFolders.h"
#include "services/modLocalize.h"
#include "services/modPaths.h"
#include "services/modText.h"
#include "startup/JobContext.h"
#include "startup/modConfig.h"
#include "startup/modLog.h"
#include "ui/UserInterface.h"

namespace gui {

namespace {

double copyRetrySeconds = 10.0;

std::string CopyFailureText(const std::string& source, const std::string& destination,
                            const Error& failure) {
  return " (" + source + " -> " + destination + "). " + Localize("[L123]Error") + " " +
         std::to_string(failure.Number()) + ": " + failure.Description();
}

// The destination's folder is made as every other folder the program needs; when that fails,
// the failure names the folder and the system's reason.
void CreateMissingFolder(const std::string& target) {
  std::string folder = StripTrailingBackslashes(GetFolderPart(target));
  if (folder.empty() || FolderExists(folder)) return;
  WriteLog("Creating the folder '" + folder + "'");
  MkDirRecurse(folder);
}

// Only a lock that another program holds is cured by waiting or by closing the file.
bool IsLockFailure(const Error& failure, const std::string& destination) {
  return failure.Number() == err::kPathFileAccess &&
         platform::IsLockedByOther(platform::LinkedFile(destination));
}

// A new file beside the destination, then put in its place: an interrupted copy never leaves
// a truncated PDF, and an older file stays whole until the new one is complete. A link keeps
// pointing where it did, and its target receives the PDF.
void CopyOnce(const std::string& source, const std::string& destination) {
  std::string target = platform::LinkedFile(destination);
  if (FolderExists(target)) throw RuntimeError(err::kPermissionDenied);
  CreateMissingFolder(target);
  ReplaceThroughNewFile(target, [&](const std::string& newFile) {
    platform::CopyToNewFile(source, newFile);
    if (platform::IsLockedByOther(target)) throw RuntimeError(err::kPathFileAccess);
  });
}

// Copies with retries while the destination is locked; the last failure, or none.
std::optional<Error> CopyWithRetries(const std::string& source, const std::string& destination) {
  double start = platform::MonotonicSeconds();
  for (;;) {
    try {
      CopyOnce(source, destination);
      return std::nullopt;
    } catch (const Error& failure) {
      if (!IsLockFailure(failure, destination)) return failure;
      WriteLog("Error copying PDF to destination. Possible file lock." +
               CopyFailureText(source, destination, failure));
      if (platform::MonotonicSeconds() - start > copyRetrySeconds) return failure;
      platform::SleepMilliseconds(100);
      Ui().ProcessEvents();
    }
  }
}

// A read-only file is replaced only when the person agrees; nobody can agree headless.
bool ReplacingAgreed(const std::string& destination) {
  if (!platform::IsReadOnly(destination)) return true;
  WriteLog("'" + destination + "' is read-only");
  std::string question =
      "The file is read-only.\r\n\r\n" + destination + "\r\n\r\nDo you want to overwrite it?";
  return Ui().MessageBox(question, mb::kYesNo | mb::kExclamation, kProductName) == mb::kYes;
}

// What went wrong, in words for the person; a locked file is the one that closing can cure.
std::string CopyFailureMessage(const std::string& destination, const Error& failure) {
  if (IsLockFailure(failure, destination)) {
    return ReplaceAll(
        Localize("[L124]Error copying PDF document to destination file.\r\n\r\nPlease close the "
                 "file '%1' if it is open and try again."),
        "%1", destination);
  }
  std::string folder = StripTrailingBackslashes(GetFolderPart(destination));
  std::string reason = !folder.empty() && !FolderExists(folder)
                           ? "The folder '" + folder + "' does not exist."
                           : "The file '" + destination + "' could not be written.";
  return Localize("[L122]Error copying PDF to destination") + ".\r\n\r\n" + reason + "\r\n\r\n" +
         Localize("[L123]Error") + " " + std::to_string(failure.Number()) + ": " +
         failure.Description();
}

// A PDF that did not reach its destination stays in the temporary folder, so that the
// document is not lost; false, for the caller to return.
bool KeepUndelivered(const std::string& source, const std::string& destination) {
  Job().undelivered = true;
  Job().undeliveredPdf = source;
  WriteLog("The PDF was not delivered to '" + destination + "'; it is kept as '" + source + "'");
  if (!Job().suppressErrors) {
    Ui().MessageBox("The PDF document was not saved as '" + destination +
                        "'.\r\n\r\nIt is kept as '" + source + "'.",
                    mb::kExclamation | mb::kOkOnly, kProductName);
  }
  return false;
}

// The path with the addition put before the extension of its name, the rest of the name cut
// by whole characters until the folder takes it; the extension stays as written.
std::string FittingName(const std::string& path, const std::string& addition = "") {
  std::string folder = GetFolderPart(path);
  std::string name = path.substr(folder.size());
  std::string::size_type dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) dot = name.size();
  std::string stem = name.substr(0, dot);
  std::string extension = name.substr(dot);
  while (!stem.empty() && !platform::NameFits(folder, stem + addition + extension))
    stem.resize(script::utf8::ByteOffset(stem, script::utf8::CharCount(stem) - 1));
  return folder + stem + addition + extension;
}

// "Report.pdf" as "Report (2).pdf", "Report (3).pdf", ...
std::string NumberedName(const std::string& path, int number) {
  return FittingName(path, " (" + std::to_string(number) + ")");
}

}  // namespace

std::string FittingOutput(const std::string& output) {
  std::string fitting = FittingName(output);
  if (fitting != output)
    WriteLog("The file name of '" + output + "' is too long; the PDF goes to '" + fitting + "'");
  return fitting;
}

std::string UnclaimedOutput(Dictionary& settings, const std::string& output) {
  if (!ConfirmOverwriteEnabled(settings) || output == Job().confirmedOutputFile ||
      !platform::StatusOf(output).exists) {
    return output;
  }
  std::string free = output;
  for (int number = 2; platform::StatusOf(free).exists; ++number)
    free = NumberedName(output, number);
  WriteLog("'" + output + "' exists already; the PDF goes to '" + free + "'");
  return free;
}

bool CopyToDestination(const std::string& source, const std::string& destination) {
  if (!ReplacingAgreed(destination)) return KeepUndelivered(source, destination);
  for (;;) {
    std::optional<Error> failure = CopyWithRetries(source, destination);
    if (!failure) return true;
    WriteLog(Localize("[L122]Error copying PDF to destination") +
             CopyFailureText(source, destination, *failure));
    // No retry mends a name that the system does not take.
    int buttons = failure->Number() == err::kBadFileName ? mb::kOkOnly : mb::kRetryCancel;
    if (Ui().MessageBox(CopyFailureMessage(destination, *failure), buttons | mb::kExclamation,
                        kProductName) != mb::kRetry) {
      return KeepUndelivered(source, destination);
    }
  }
}

void SetCopyRetrySecondsForTesting(double seconds) {
  copyRetrySeconds = seconds;
}

}  // namespace gui
