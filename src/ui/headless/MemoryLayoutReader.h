#pragma once
// Layout files held in memory by name (letter case ignored), for tests and tools.
#include "base/Compare.h"
#include "ui/core/LayoutLoader.h"

#include <map>
#include <string>

namespace ui::headless {

class MemoryLayoutReader final : public LayoutReader {
public:
    void set(std::wstring file, std::string bytes) { files_[text::toLower(file)] = std::move(bytes); }
    void remove(std::wstring_view file) { files_.erase(text::toLower(file)); }
    std::optional<std::string> read(std::wstring_view file) const override {
        auto it = files_.find(text::toLower(file));
        if (it == files_.end())
            return std::nullopt;
        return it->second;
    }

private:
    std::map<std::wstring, std::string> files_;
};

} // namespace ui::headless
