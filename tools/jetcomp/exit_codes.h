// What JetComp.exe's exit code says. Harbek itself does not look at it; scripts and tests may.
#pragma once

namespace jetcomp {

enum ExitCode : int {
  exit_copied = 0,
  exit_io_failure = 1,          // a read, write, flush or rename failed
  exit_usage = 2,               // missing, repeated or unknown argument
  exit_not_database = 3,        // the source has no Jet or ACE signature
  exit_destination_exists = 4,  // something already sits under the destination's name
};

}  // namespace jetcomp
