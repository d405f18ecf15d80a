// The names under which the measurements record their samples and the table looks them up.
#pragma once

namespace bench::keys {

inline constexpr char kCores[] = "machine.cores";
inline constexpr char kLoadStart[] = "machine.load.start";
inline constexpr char kLoadEnd[] = "machine.load.end";
// Which build the programs run as: the 32-bit one that ships, or the x86-64 one where this
// machine cannot run 32-bit code.
inline constexpr char kBuild[] = "machine.build";
// "<figure>: <what went wrong>", one line per failed measurement.
inline constexpr char kError[] = "error";

// Figure 1, for "harbek" and "reference": CPU of the waiting program and of the prefix's
// wineserver over the compactor's run, as percent of one core, and per-second slices of the first.
inline constexpr char kCpuPercent[] = "cpu.%s.percent";
inline constexpr char kCpuServerPercent[] = "cpu.%s.server_percent";
inline constexpr char kCpuSeconds[] = "cpu.%s.seconds";
inline constexpr char kCpuSlice[] = "cpu.%s.slice";
inline constexpr char kCpuMethod[] = "cpu.method";

// Figure 2: compactor's end to Harbek's next log line; compactor's end to a waiter's wake-up.
inline constexpr char kExitMs[] = "exit.ms";
inline constexpr char kExitWakeMs[] = "exit.wake_ms";

// Figure 3.
inline constexpr char kStartupHarbekMs[] = "startup.harbek.ms";
inline constexpr char kStartupBareMs[] = "startup.bare.ms";
inline constexpr char kStartupManifestMs[] = "startup.manifest.ms";  // bare + Harbek's manifest
inline constexpr char kStartupControlsMs[] = "startup.controls.ms";  // and + Harbek's set of controls

// Figure 4. Import entries read "<dll> system" or "<dll> other".
inline constexpr char kSizeHarbek[] = "size.harbek.bytes";
inline constexpr char kSizeBare[] = "size.bare.bytes";
inline constexpr char kImport[] = "imports.harbek";
inline constexpr char kDelayedImport[] = "imports.harbek.delayed";

// Figure 5, per file size label ("1GiB", "256MiB").
inline constexpr char kStandinBytes[] = "standin.%s.bytes";
inline constexpr char kStandinJetCompSeconds[] = "standin.%s.jetcomp_s";
inline constexpr char kStandinCpSeconds[] = "standin.%s.cp_s";
inline constexpr char kStandinCpSyncSeconds[] = "standin.%s.cpsync_s";
inline constexpr char kStandinPeakBytes[] = "standin.%s.peak_bytes";
inline constexpr char kStandinLaunchSeconds[] = "standin.launch_s";  // JetComp.exe -? alone

}  // namespace bench::keys
