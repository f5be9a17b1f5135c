#pragma once
// The two kinds of translation file in a language folder (UTF-8 XML, root element "Language"):
// - the message table "StringResource.lng": <String id="<message as the code writes it>" text="..."/>
// - a layout translation "<layout>.lng": <Text id="<resourceid>" text="..." tooltip="..."/>, both
//   texts optional.
// The root's "isocode" attribute is not read.
#include "platform/ports/Status.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct MessageEntry {
    std::wstring id;
    std::wstring text;
};

// The String entries in file order; an entry lacking its id or its text is skipped.
// ERROR_INVALID_DATA (and no entries) when the bytes are not such a document.
ports::Status parseMessageTable(std::string_view bytes, std::vector<MessageEntry>& entries);

struct LayoutText {
    std::optional<std::wstring> text;
    std::optional<std::wstring> tooltip;
};

// By resourceid. An entry whose id is not a decimal number is skipped; of two entries with the same
// id the first counts. ERROR_INVALID_DATA (and an empty table) when the bytes are not such a document.
using LayoutTable = std::map<int, LayoutText>;
ports::Status parseLayoutTable(std::string_view bytes, LayoutTable& table);

// The translation file of a layout: "form_main.xml" (or "form_main") -> "form_main.lng".
std::wstring layoutTranslationFile(std::wstring_view layout);
