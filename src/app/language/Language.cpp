#include "app/language/Language.h"

#include "base/Compare.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::wstring_view kMessageTable = L"StringResource.lng";
constexpr std::wstring_view kGeneralTable = L"StringTable.lng";

std::wstring joinPath(std::wstring_view folder, std::wstring_view file) {
    std::wstring path(folder);
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/')
        path += L'\\';
    path += file;
    return path;
}

ports::Status readMessages(const SkinFiles& skin, const std::wstring& path,
                           std::map<std::wstring, std::wstring, std::less<>>& messages) {
    std::string bytes;
    auto status = skin.read(path, bytes);
    if (!ports::succeeded(status))
        return status;
    std::vector<MessageEntry> entries;
    status = parseMessageTable(bytes, entries);
    for (auto& e : entries)
        messages.emplace(std::move(e.id), std::move(e.text)); // the first entry of an id counts
    return status;
}

// The cache key of a file path: lower case, '\' separators.
std::wstring layoutKey(std::wstring_view path) {
    auto key = text::toLower(path);
    std::replace(key.begin(), key.end(), L'/', L'\\');
    return key;
}

} // namespace

CLanguage::CLanguage(const SkinFiles& skin) : skin_(skin) {}

ports::Status CLanguage::setLanguage(std::wstring_view folder, std::wstring_view name) {
    // Read outside the lock: translations from other threads go on with the old table meanwhile.
    std::map<std::wstring, std::wstring, std::less<>> messages;
    const auto status = readMessages(skin_, joinPath(folder, kMessageTable), messages);
    readMessages(skin_, joinPath(folder, kGeneralTable), messages);

    std::lock_guard lock(mutex_);
    folder_ = folder;
    name_ = name;
    messages_ = std::move(messages);
    return status;
}

std::wstring CLanguage::currentLanguageName() const {
    std::lock_guard lock(mutex_);
    return name_;
}

std::wstring CLanguage::currentFolder() const {
    std::lock_guard lock(mutex_);
    return folder_;
}

std::wstring CLanguage::translate(std::wstring_view id) {
    std::lock_guard lock(mutex_);
    if (const auto it = messages_.find(id); it != messages_.end())
        return it->second;
    std::wstring text(id);
    messages_.emplace(text, text);
    return text;
}

std::size_t CLanguage::messageCount() const {
    std::lock_guard lock(mutex_);
    return messages_.size();
}

std::wstring CLanguage::layoutPath(std::wstring_view layout) const {
    return joinPath(folder_, layoutTranslationFile(layout));
}

ports::Status CLanguage::readLayout(const std::wstring& path, LayoutTable& table) const {
    table.clear();
    std::string bytes;
    const auto status = skin_.read(path, bytes);
    return ports::succeeded(status) ? parseLayoutTable(bytes, table) : status;
}

const LayoutTable& CLanguage::layoutTable(const std::wstring& path) {
    const auto key = layoutKey(path);
    auto it = layouts_.find(key);
    if (it == layouts_.end()) {
        // A missing file is cached as an empty table too: the layout keeps its own texts.
        LayoutTable table;
        readLayout(path, table);
        it = layouts_.emplace(key, std::move(table)).first;
    }
    return it->second;
}

std::optional<LayoutText> CLanguage::layoutText(std::wstring_view layout, int resourceId) {
    std::lock_guard lock(mutex_);
    const auto& table = layoutTable(layoutPath(layout));
    const auto it = table.find(resourceId);
    if (it == table.end())
        return std::nullopt;
    return it->second;
}

ports::Status CLanguage::reloadLayout(std::wstring_view layout) {
    std::lock_guard lock(mutex_);
    const auto path = layoutPath(layout);
    LayoutTable table;
    const auto status = readLayout(path, table);
    layouts_[layoutKey(path)] = std::move(table);
    return status;
}
