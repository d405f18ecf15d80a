// The stamp that names a run's files (yyyymmddhhnnss) and the clock text of its log lines
// (hh:nn:ss), both from the time the run read once.
#include "main_window/frmMain.h"
#include "standard/text_format.h"

namespace frmMain {

Text stampOf(const platform::LocalTime& t) {
    using mdlFunctionStandard::digits;
    return digits(t.year, 4) + digits(t.month, 2) + digits(t.day, 2) + digits(t.hour, 2) +
           digits(t.minute, 2) + digits(t.second, 2);
}

Text clockOf(const platform::LocalTime& t) {
    using mdlFunctionStandard::digits;
    return digits(t.hour, 2) + u":" + digits(t.minute, 2) + u":" + digits(t.second, 2);
}

}  // namespace frmMain
