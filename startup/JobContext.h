#pragma once

#include <string>

#include "startup/Dictionary.h"

namespace gui {

// The process-wide values of one run.
struct JobContext {
  std::string sessionId;
  std::string documentName;
  std::string printerName;
  std::string printerInstance;
  DictionaryPtr documentInfo;
  bool suppressErrors = false;
  bool debug = false;
  // The output file name the person has already confirmed in the Save As dialog.
  std::string confirmedOutputFile;
  // The finished PDF that never reached its destination, kept in the temporary folder; "" when
  // the job delivered or made none.
  std::string undeliveredPdf;
  // True when the job ended without a PDF that nobody chose to go without.
  bool undelivered = false;
};

JobContext& Job();

}  // namespace gui
