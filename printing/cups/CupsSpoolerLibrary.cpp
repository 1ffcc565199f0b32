#include "printing/cups/CupsSpooler.h"

// What gui looks up when it loads this library.
extern "C" gui::Spooler* MakeCupsSpooler() {
  return new gui::CupsSpooler();
}
