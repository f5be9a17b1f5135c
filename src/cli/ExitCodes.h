#pragma once
// The exit codes of an unattended run, as software-distribution tools read an installer's.
namespace cli {

inline constexpr int kExitSuccess = 0;
// The printer works once Windows has restarted (the device-console tool said so).
inline constexpr int kExitRestartNeeded = 3010;
// An operation was started and did not complete.
inline constexpr int kExitFailed = 1603;
// The command line is wrong; nothing was changed.
inline constexpr int kExitBadCommandLine = 1639;
// Another copy of the wizard runs; nothing was changed.
inline constexpr int kExitAnotherCopyRuns = 1618;
// The command exists but this version cannot carry it out yet (ERROR_NOT_SUPPORTED); nothing was
// changed.
inline constexpr int kExitNotAvailable = 50;

} // namespace cli
