#pragma once

#include <map>
#include <string>
#include <vector>

#include "printing/SpoolerRecords.h"

namespace gui {

// How CUPS attributes read as the spooler's fields. Plain values in, so that the rules hold
// without a CUPS server.

// The port of a queue: the scheme of its device URI in upper case; the file scheme is the
// spooler's file port "FILE:".
std::string PortFromDeviceUri(const std::string& deviceUri);
// printer-state (3 idle, 4 processing, 5 stopped) and printer-state-reasons as status bits.
std::uint32_t PrinterStatusFromCups(int state, const std::vector<std::string>& reasons);
// job-state (3 pending to 9 completed) and job-state-reasons as job status bits.
std::uint32_t JobStatusFromCups(int state, const std::vector<std::string>& reasons);
// Printer attribute bits: queued always, local or network, shared, default.
std::uint32_t PrinterAttributesFromCups(bool remote, bool shared, bool isDefault);
// The job options of a printer or job (copies, media, sides, ...) as device settings.
DevModeRecord DevModeFromOptions(const std::map<std::string, std::string>& options,
                                 const std::string& deviceName);

}  // namespace gui
