// The CUPS backend of the QUENTARIS PDF Printer: it plays the port monitor. For each job it
// writes the PostScript into the temporary folder of the user who printed, as that user, and
// starts gui for it in the user's desktop session, without waiting for the dialogs.
#include <cups/backend.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "backend/DesktopSession.h"
#include "backend/GuiLauncher.h"
#include "backend/JobFile.h"
#include "backend/JobInput.h"
#include "backend/JobUser.h"
#include "backend/Messages.h"
#include "platform/Identity.h"

namespace gui::backend {

namespace {

struct Job {
  std::string id;
  std::string user;
  std::string title;
  std::string file;  // "" reads the job from standard input
};

std::string Variable(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

// Unique among running jobs, and never the start of another session id: the job id ends at
// "-" and the random part has a fixed length.
std::string NewSessionId(const std::string& jobId) {
  unsigned char random[8];
  if (!platform::RandomBytes(random, sizeof random)) return {};
  std::string id = jobId + "-";
  for (unsigned char byte : random) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", byte);
    id += hex;
  }
  return id;
}

void UseEnvironment(const std::vector<std::string>& environment) {
  clearenv();
  for (const std::string& entry : environment) {
    std::size_t equals = entry.find('=');
    setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
  }
}

// Everything from here on runs as the user.
int HandOver(const Job& job, const JobUser& user, const std::string& head, int input,
             const std::string& printer) {
  std::string program = Variable("QUENTARIS_GUI", QUENTARIS_GUI_PATH);
  if (!BecomeUser(user)) {
    Tell("ERROR", "Unable to switch to the user '" + user.name + "'.");
    return CUPS_BACKEND_FAILED;
  }
  umask(077);
  std::vector<std::string> environment = GuiEnvironment(user.name, user.home, user.shell);
  UseEnvironment(environment);
  std::string error;
  std::string folder = JobFile::PrepareFolder(error);
  std::string sessionId = NewSessionId(job.id);
  if (sessionId.empty()) error = "No random numbers for the session id.";
  std::string path = folder + "/" + sessionId + ".ps";
  if (folder.empty() || sessionId.empty() ||
      !JobFile::Write(folder, sessionId + ".ps", head, input, error) ||
      !StartGui(program,
                {"ps=" + path, "printer=" + printer, "doc=" + job.title, "sessionid=" + sessionId},
                environment, error)) {
    if (!folder.empty() && !sessionId.empty()) unlink(path.c_str());
    Tell("ERROR", error);
    return CUPS_BACKEND_FAILED;
  }
  Tell("INFO", "Handed the job to gui as session " + sessionId + ".");
  return CUPS_BACKEND_OK;
}

int RunJob(const Job& job) {
  if (job.id.empty() || job.id.find_first_not_of("0123456789") != std::string::npos) {
    Tell("ERROR", "The job id '" + job.id + "' is not a number.");
    return CUPS_BACKEND_FAILED;
  }
  int input = job.file.empty() ? 0 : open(job.file.c_str(), O_RDONLY | O_CLOEXEC);
  if (input < 0) {
    Tell("ERROR", "Unable to open the print file '" + job.file + "'.");
    return CUPS_BACKEND_FAILED;
  }
  std::string head = ReadHead(input);
  std::string notPostScript = NotPostScriptReason(head);
  if (!notPostScript.empty()) {
    Tell("ERROR", notPostScript);
    return CUPS_BACKEND_CANCEL;
  }
  std::optional<JobUser> user = FindUser(job.user);
  if (!user) {
    Tell("ERROR", "The user '" + job.user + "' who printed has no account on this computer.");
    return CUPS_BACKEND_CANCEL;
  }
  if (user->uid == 0) {
    Tell("ERROR", "Jobs printed by root are not converted: print as an ordinary user.");
    return CUPS_BACKEND_CANCEL;
  }
  // A queue name holds no blanks or brackets, so the queue's description carries the printer
  // name with the instance: "QUENTARIS PDF Printer [Invoices]".
  std::string printer = Variable("PRINTER_INFO", Variable("PRINTER", "QUENTARIS PDF Printer"));
  return HandOver(job, *user, head, input, printer);
}

}  // namespace

}  // namespace gui::backend

int main(int argc, char** argv) {
  using gui::backend::Tell;
  if (argc == 1) {
    std::puts(
        "direct quentaris:/ \"QUENTARIS PDF Printer\" \"QUENTARIS PDF Printer\" "
        "\"MFG:QUENTARIS;MDL:PDF Printer;CMD:POSTSCRIPT;\"");
    return CUPS_BACKEND_OK;
  }
  if (argc < 6 || argc > 7) {
    Tell("ERROR", "Usage: quentaris job-id user title copies options [file]");
    return CUPS_BACKEND_FAILED;
  }
  return gui::backend::RunJob({argv[1], argv[2], argv[3], argc == 7 ? argv[6] : ""});
}
