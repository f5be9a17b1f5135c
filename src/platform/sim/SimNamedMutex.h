#pragma once
// A named mutex of the simulated machine: an exclusive lock on a file beside the machine's drives,
// taken without waiting. Like a Windows mutex it is shared by every process that opens the same
// machine, and the host releases it when its holder ends, however it ends.
#include "platform/host/HostFile.h"

#include <filesystem>

namespace sim {

class SimNamedMutex {
public:
    // Tries to take the lock on `lockFile` (created when missing).
    explicit SimNamedMutex(const std::filesystem::path& lockFile)
        : lock_(lockFile, host::FileLock::Wait::No) {}

    // True when another holder had it already. A lock file that cannot be opened at all is not
    // "held elsewhere", as a failed CreateMutex is not ERROR_ALREADY_EXISTS.
    bool heldElsewhere() const { return lock_.opened() && !lock_.locked(); }

private:
    host::FileLock lock_;
};

} // namespace sim
