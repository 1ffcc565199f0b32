#include "startup/JobContext.h"

namespace gui {

JobContext& Job() {
  static JobContext context;
  return context;
}

}  // namespace gui
