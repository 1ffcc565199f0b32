#pragma once

#include <string>

#include "backend/GuiWait.h"

namespace gui::backend {

// Tells the scheduler how a headless gui's run of the session ended: the error that it
// reported, as one line, and how it ended when it reported none or was killed. The backend's
// exit code: a run that failed fails the job.
int ReportGuiEnd(const GuiEnd& end, const std::string& sessionId, const std::string& folder);

}  // namespace gui::backend
