// What JetComp.exe's exit code says. Harbek itself does not look at it; scripts and tests may.
#pragma once

namespace jetcomp {

enum ExitCode : int {
    kExitCopied = 0,
    kExitIoFailure = 1,          // a read, write, flush or rename failed
    kExitUsage = 2,              // missing, repeated or unknown argument
    kExitNotDatabase = 3,        // the source has no Jet or ACE signature
    kExitDestinationExists = 4,  // something already sits under the destination's name
};

}  // namespace jetcomp
