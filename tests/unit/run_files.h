// The files of the run most tests make: the database the user names, the two names the run gives
// it and its copy at 2026-12-07 09:05:03 (the fake's clock), and the compactor beside the program.
#pragma once

#include <string>

#include "platform/platform.h"
#include "tests/unit/fake_platform.h"

namespace fake::run {

inline const platform::Text kSource = u"C:\\data\\sales.mdb";
inline const platform::Text kAfter = u"C:\\data\\_AfterRepair20261207090503sales.mdb";
inline const platform::Text kBefore = u"C:\\data\\_BeforeRepair20261207090503sales.mdb";
inline const platform::Text kCompactor = u"C:\\Program Files\\Harbek\\JetComp.exe";

// A run ready to be pressed: kSource typed in the field and holding `database`, the compactor in place.
inline void readyToRun(Platform& p, const std::string& database) {
    p.fields[platform::TextField::MdbFile] = kSource;
    p.files[kSource] = database;
    p.files[kCompactor] = "exe";
}

}  // namespace fake::run
