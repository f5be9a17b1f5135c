#pragma once
// The printers that discovery found, in the order found. Pages address them by position. The flag
// listChanged tells the pages to rebuild their lists: discovery sets it when a pass adds or removes
// an entry, the port page when it wants the custom model list rebuilt; whoever refreshes clears it.
// Only the UI thread changes the list.
#include "app/PrinterEntry.h"

#include <cstddef>
#include <vector>

class CPrinterDevices {
public:
    bool listChanged = false;

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    PrinterEntry& operator[](std::size_t i) { return entries_[i]; }
    const PrinterEntry& operator[](std::size_t i) const { return entries_[i]; }

    void add(const PrinterEntry& entry) { entries_.push_back(entry); }
    void removeAt(std::size_t i) { entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i)); }
    void clear() { entries_.clear(); }

    auto begin() { return entries_.begin(); }
    auto end() { return entries_.end(); }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

private:
    std::vector<PrinterEntry> entries_;
};
