#pragma once

#include <string>

#include "startup/Dictionary.h"

namespace gui {

// The port every printer of the virtual printer prints to.
inline const std::string kVirtualPrinterPort = "QUENTARIS";

// The instances of the virtual printer, each name once, in the order of the system's printer
// list; "" is the unnamed instance. A queue's instance is named by its description (what print
// dialogs show), "QUENTARIS PDF Printer [Invoices]", since a CUPS queue name cannot hold blanks
// or brackets; a queue without a description is named by its queue name. The backend hands
// gui the same text as its printer name.
DictionaryPtr GetInstances();

}  // namespace gui
