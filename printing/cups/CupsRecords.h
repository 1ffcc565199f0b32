#pragma once

#include <vector>

#include "printing/SpoolerRecords.h"
#include "printing/cups/IppMessage.h"

namespace gui::cups {

// What the server is asked for a printer and a job.
const std::vector<const char*>& PrinterAttributeNames();
const std::vector<const char*>& JobAttributeNames();

// A printer's attributes as its level-2 information; the server's name when it is not this
// machine's own.
PrinterRecord PrinterRecordFrom(const IppGroup& printer, const std::string& name,
                                const std::string& remoteServer, bool isDefault);
// A job's attributes, at a place in the queue counted from 1.
JobRecord JobRecordFrom(const IppGroup& job, const std::string& printerName,
                        std::uint32_t position);

}  // namespace gui::cups
