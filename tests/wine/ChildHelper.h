#pragma once
// The Windows test executable doubles as a child process for the process and pipe tests: started
// with "--orvello-child=<mode>" it does that one thing and exits before any test runs.
//   write:<bytes>:<exit code>   writes that many bytes to its standard output, then exits
//   sleep:<ms>:<exit code>      sleeps, then exits
#include <string>

namespace wine_tests {

// The command line that runs this executable in child mode.
std::wstring childCommandLine(const std::wstring& mode);

// The byte a child in "write" mode writes at position `i`, so that a reader can check the order.
inline unsigned char childByte(std::size_t i) {
    return static_cast<unsigned char>('a' + i % 26);
}

} // namespace wine_tests
