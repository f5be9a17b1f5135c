#include "discovery/udp/UdpPrinterList.h"

#include <algorithm>

namespace discovery {

UdpPrinterList::Outcome UdpPrinterList::accept(const UdpPrinterInfo& info, std::wstring_view chosenModel) {
    if (info.printerModel != chosenModel)
        return Outcome::OtherModel;
    return acceptAnyModel(info);
}

UdpPrinterList::Outcome UdpPrinterList::acceptAnyModel(const UdpPrinterInfo& info) {
    if (std::any_of(printers_.begin(), printers_.end(),
                    [&](const UdpPrinterInfo& p) { return p.macAddress == info.macAddress; }))
        return Outcome::AlreadyListed;
    printers_.push_back(info);
    return printers_.size() == 1 ? Outcome::ListedFirst : Outcome::Listed;
}

} // namespace discovery
