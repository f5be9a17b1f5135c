#pragma once
// A named mutex of the simulated machine: an exclusive lock on a file beside the machine's drives,
// taken without waiting. Like a Windows mutex it is shared by every process that opens the same
// machine, and the host releases it when its holder ends, however it ends.
#include <cstdint>
#include <filesystem>

namespace sim {

class SimNamedMutex {
public:
    // Tries to take the lock on `lockFile` (created when missing).
    explicit SimNamedMutex(const std::filesystem::path& lockFile);
    ~SimNamedMutex();
    SimNamedMutex(const SimNamedMutex&) = delete;
    SimNamedMutex& operator=(const SimNamedMutex&) = delete;

    // True when another holder had it already. A lock file that cannot be opened at all is not
    // "held elsewhere", as a failed CreateMutex is not ERROR_ALREADY_EXISTS.
    bool heldElsewhere() const { return handle_ != -1 && !owned_; }

private:
    std::intptr_t handle_ = -1;
    bool owned_ = false;
};

} // namespace sim
