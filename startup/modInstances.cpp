#include "startup/modInstances.h"

#include "printing/CPrinterInfo.h"
#include "printing/Spooler.h"
#include "startup/modMain.h"

namespace gui {

DictionaryPtr GetInstances() {
  DictionaryPtr instances = NewDictionary();
  CPrinterInfo printer;
  for (const std::string& name : TheSpooler().PrinterNames()) {
    if (name.empty()) continue;
    printer.SetDeviceName(name);
    if (printer.PortName() != kVirtualPrinterPort) continue;
    const std::string& printerName = printer.Comment().empty() ? name : printer.Comment();
    std::string instance = GetInstanceName(printerName);
    instances->Set(instance, instance);
  }
  return instances;
}

}  // namespace gui
