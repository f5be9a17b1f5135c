#pragma once
// The current language of the wizard: its message table, through which every message the code
// writes in Chinese is translated, and the layout translation tables, which replace the texts of
// controls carrying a resourceid. The application owns one; the language dialog switches it.
//
// All operations may be called from any thread. Messages are translated from the operation and
// pipe threads as well as the UI thread, and a message missing from the table is remembered in it.
#include "app/language/LngFiles.h"
#include "app/skin/SkinFiles.h"

#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

class CLanguage {
public:
    // Reads the translation files from `skin`, which must outlive this object.
    explicit CLanguage(const SkinFiles& skin);

    // Makes the language current: keeps folder ("Lang\English") and name ("English") and loads the
    // folder's message table "StringResource.lng" (and the general table "StringTable.lng", should
    // a skin have one; its entries count where the message table has none). Returns how reading the
    // message table went; with no table every message shows itself.
    ports::Status setLanguage(std::wstring_view folder, std::wstring_view name);
    std::wstring currentLanguageName() const;
    std::wstring currentFolder() const;

    // The translation of a message; a message the table lacks is shown as written (and added to the
    // table as its own translation).
    std::wstring translate(std::wstring_view id);
    // Entries in the message table, the remembered missing ones included.
    std::size_t messageCount() const;

    // The translated text and tooltip of the control with `resourceid` in `layout` ("MainFrame.xml"),
    // from the layout's translation file in the current folder. That file is read the first time the
    // layout is asked for in this folder; nothing when it or the entry is missing.
    std::optional<LayoutText> layoutText(std::wstring_view layout, int resourceId);
    // Reads the layout's translation file of the current folder again (after switching, before the
    // texts are applied again). Returns how reading it went.
    ports::Status reloadLayout(std::wstring_view layout);

private:
    std::wstring layoutPath(std::wstring_view layout) const;
    // The cached table of a file path, read on first use; mutex_ held.
    const LayoutTable& layoutTable(const std::wstring& path);
    ports::Status readLayout(const std::wstring& path, LayoutTable& table) const;

    const SkinFiles& skin_;
    mutable std::mutex mutex_;
    std::wstring name_;
    std::wstring folder_;
    std::map<std::wstring, std::wstring, std::less<>> messages_;
    // By the file's lower-case path, so that each folder keeps its own tables.
    std::map<std::wstring, LayoutTable> layouts_;
};
