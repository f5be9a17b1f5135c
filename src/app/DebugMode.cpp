#include "app/DebugMode.h"

#include "app/AppConstants.h"

#include <algorithm>

namespace app {

bool hasDebugSwitch(std::span<const std::wstring> args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::wstring& a) { return a.find(kDebugSwitch) != std::wstring::npos; });
}

} // namespace app
