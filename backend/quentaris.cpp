// The CUPS backend of the QUENTARIS PDF Printer: it plays the port monitor. For each job it
// writes the PostScript or PDF, unchanged, into the temporary folder of the user who printed,
// as that user, and starts gui for it: in the user's desktop session without waiting for the
// dialogs, or without a session headless, waiting to pass gui's error on to the job.
#include <cups/backend.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "backend/Cancellation.h"
#include "backend/DesktopSession.h"
#include "backend/GuiLauncher.h"
#include "backend/GuiReport.h"
#include "backend/GuiWait.h"
#include "backend/JobFile.h"
#include "backend/JobInput.h"
#include "backend/JobUser.h"
#include "backend/Messages.h"
#include "platform/Identity.h"
#include "platform/posix/Descriptor.h"

namespace gui::backend {

namespace {

struct Job {
  std::string id;
  std::string user;
  std::string title;
  std::string file;  // "" reads the job from standard input
};

// The print data, its first bytes already read.
struct PrintData {
  int descriptor;
  std::string head;
  std::string extension;  // what the job file's name ends with
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

// gui for the job file of a session.
struct GuiRun {
  std::string program;
  std::vector<std::string> arguments;
  GuiSession session;
  std::string folder;
  std::string sessionId;
};

int FailedToStart(const GuiRun& run, const std::string& error) {
  RemoveOnCancel({});
  JobFile::RemoveSession(run.folder, run.sessionId);
  Tell("ERROR", error);
  return CUPS_BACKEND_FAILED;
}

// gui in the desktop session: its dialogs may wait for a person, and its error box shows there.
int StartInSession(const GuiRun& run) {
  std::string error;
  if (StartGui(run.program, run.arguments, run.session.environment, -1, error) < 0)
    return FailedToStart(run, error);
  RemoveOnCancel({});
  Tell("INFO", "Handed the job to gui as session " + run.sessionId + ".");
  return CUPS_BACKEND_OK;
}

// A headless gui ends by itself; whether it made the PDF becomes the job's result.
int RunHeadless(const GuiRun& run) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0)
    return FailedToStart(run, std::string("Unable to start gui: ") + std::strerror(errno));
  platform::Descriptor reading(ends[0]);
  std::string error;
  pid_t gui = -1;
  {
    platform::Descriptor writing(ends[1]);
    CancellationHeld held;
    gui = StartGui(run.program, run.arguments, run.session.environment, writing.Get(), error);
    if (gui > 0) EndOnCancel(gui);
  }
  if (gui < 0) return FailedToStart(run, error);
  GuiEnd end = WaitForGui(gui, reading.Get());
  EndOnCancel(0);
  RemoveOnCancel({});
  if (Cancelled()) {
    JobFile::RemoveSession(run.folder, run.sessionId);
    EndCancelled();
  }
  return ReportGuiEnd(end, run.sessionId, run.folder);
}

// Everything from here on runs as the user.
int HandOver(const Job& job, const JobUser& user, const PrintData& input,
             const std::string& printer) {
  GuiRun run;
  run.program = Variable("QUENTARIS_GUI", QUENTARIS_GUI_PATH);
  if (!BecomeUser(user)) {
    Tell("ERROR", "Unable to switch to the user '" + user.name + "'.");
    return CUPS_BACKEND_FAILED;
  }
  umask(077);
  run.session = GuiEnvironment(user.name, user.home, user.shell);
  UseEnvironment(run.session.environment);
  std::string error;
  run.folder = JobFile::PrepareFolder(error);
  run.sessionId = NewSessionId(job.id);
  if (run.sessionId.empty()) error = "No random numbers for the session id.";
  std::string name = run.sessionId + input.extension;
  if (run.folder.empty() || run.sessionId.empty() ||
      !JobFile::Write(run.folder, name, input.head, input.descriptor, error)) {
    Tell("ERROR", error);
    return CUPS_BACKEND_FAILED;
  }
  run.arguments = {"ps=" + run.folder + "/" + name, "printer=" + printer, "doc=" + job.title,
                   "sessionid=" + run.sessionId};
  return run.session.headless ? RunHeadless(run) : StartInSession(run);
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
  JobKind kind = KindOf(head);
  if (kind.extension.empty()) {
    Tell("ERROR", kind.refusal);
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
  return HandOver(job, *user, {input, head, kind.extension}, printer);
}

}  // namespace

}  // namespace gui::backend

int main(int argc, char** argv) {
  using gui::backend::Tell;
  if (argc == 1) {
    std::puts(
        "direct quentaris:/ \"QUENTARIS PDF Printer\" \"QUENTARIS PDF Printer\" "
        "\"MFG:QUENTARIS;MDL:PDF Printer;CMD:POSTSCRIPT,PDF;\"");
    return CUPS_BACKEND_OK;
  }
  if (argc < 6 || argc > 7) {
    Tell("ERROR", "Usage: quentaris job-id user title copies options [file]");
    return CUPS_BACKEND_FAILED;
  }
  // The wait for a headless gui needs its exit status, whatever the scheduler left set.
  signal(SIGCHLD, SIG_DFL);
  gui::backend::CatchCancellation();
  return gui::backend::RunJob({argv[1], argv[2], argv[3], argc == 7 ? argv[6] : ""});
}
