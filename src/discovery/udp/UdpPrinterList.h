#pragma once
// The network printers a search has listed, by the rules that keep the list honest: only the model
// the user chose, and each printer once by its MAC text, however often and on however many
// interfaces it answers. Lives on the UI thread.
#include "discovery/udp/UdpPrinterInfo.h"

#include <string>
#include <vector>

namespace discovery {

class UdpPrinterList {
public:
    enum class Outcome { OtherModel, AlreadyListed, Listed, ListedFirst };

    // Compares the model exactly (a blank the printer put in counts); ListedFirst for the printer
    // that opens the list, which the page preselects.
    Outcome accept(const UdpPrinterInfo& info, std::wstring_view chosenModel);
    // The same without the model rule, for a search that lists every printer (the command line).
    Outcome acceptAnyModel(const UdpPrinterInfo& info);

    const std::vector<UdpPrinterInfo>& printers() const { return printers_; }
    void clear() { printers_.clear(); }

private:
    std::vector<UdpPrinterInfo> printers_;
};

} // namespace discovery
