// The simulated spooler's DEVMODE, device capabilities and forms.
#include "platform/sim/SimSpooler.h"

#include "platform/sim/SimDevMode.h"
#include "platform/sim/SimJson.h"
#include "platform/sim/SimPrintSystem.h"
#include "platform/sim/SimSpoolerRecords.h"

namespace sim {
namespace winerr = ports::winerr;
using ports::Status;

namespace {

struct Paper {
    std::uint16_t id;
    std::wstring name;
    std::int32_t width, length; // tenths of a millimetre
};

// The papers the printer's driver reports (the driver record's "papers"), Letter and A4 when it
// names none.
std::vector<Paper> driverPapers(const Json& state, const Json& printer) {
    std::vector<Paper> out;
    if (const Json* d = findDriver(state, textOf(printer, "driver"), nativeEnvironment(state))) {
        const Json& papers = memberOf(*d, "papers");
        if (papers.is_array()) {
            for (const auto& p : papers) {
                out.push_back({static_cast<std::uint16_t>(numberOf(p, "id", 256)), textOf(p, "name"),
                               static_cast<std::int32_t>(numberOf(p, "width")),
                               static_cast<std::int32_t>(numberOf(p, "length"))});
            }
        }
    }
    if (out.empty())
        out = {{1, L"Letter", 2159, 2794}, {9, L"A4", 2100, 2970}};
    return out;
}

const Json& formsOf(const Json& state) {
    static const Json builtin = builtinForms();
    const Json& forms = memberOf(memberOf(state, "spooler"), "forms");
    return forms.is_array() ? forms : builtin;
}

} // namespace

Status SimSpooler::getDefaultDevMode(ports::SpoolerHandle& printer, std::wstring_view,
                                     ports::DevMode& out) noexcept {
    return readPrinter(printer, {"DocumentPropertiesW"}, [&](const Json& s, const Json& p, const Opened&) {
        out = printerDevMode(s, p);
        return winerr::Success;
    });
}

Status SimSpooler::editDevMode(ports::WindowId, ports::SpoolerHandle& printer, std::wstring_view,
                               std::uint32_t mode, ports::DevMode& inOut, std::int32_t& answer) noexcept {
    answer = ports::spool::IdCancel;
    return readPrinter(printer, {"DocumentPropertiesW"}, [&](const Json& s, const Json& p, const Opened&) {
        // No one sits at the simulated machine: its driver dialog answers as the state says ("ok" by
        // default) and changes nothing.
        const bool ok = memberOf(memberOf(s, "spooler"), "devModeDialog") != "cancel";
        answer = ok ? ports::spool::IdOk : ports::spool::IdCancel;
        if (ok && (mode & ports::spool::DmOutBuffer) && !(mode & ports::spool::DmInBuffer))
            inOut = printerDevMode(s, p);
        return winerr::Success;
    });
}

Status SimSpooler::paperNames(std::wstring_view device, std::wstring_view,
                              std::vector<std::wstring>& out) noexcept {
    out.clear();
    if (Status s = enterRead({"DeviceCapabilitiesW"}))
        return s;
    return machine_.read([&](const Json& s) -> Status {
        const Json* p = findPrinter(s, device);
        if (!p)
            return winerr::InvalidPrinterName;
        for (const auto& paper : driverPapers(s, *p))
            out.push_back(paper.name.substr(0, 63));
        return winerr::Success;
    });
}

Status SimSpooler::papers(std::wstring_view device, std::wstring_view,
                          std::vector<std::uint16_t>& out) noexcept {
    out.clear();
    if (Status s = enterRead({"DeviceCapabilitiesW"}))
        return s;
    return machine_.read([&](const Json& s) -> Status {
        const Json* p = findPrinter(s, device);
        if (!p)
            return winerr::InvalidPrinterName;
        for (const auto& paper : driverPapers(s, *p))
            out.push_back(paper.id);
        return winerr::Success;
    });
}

Status SimSpooler::paperSizes(std::wstring_view device, std::wstring_view,
                              std::vector<ports::FormSize>& out) noexcept {
    out.clear();
    if (Status s = enterRead({"DeviceCapabilitiesW"}))
        return s;
    return machine_.read([&](const Json& s) -> Status {
        const Json* p = findPrinter(s, device);
        if (!p)
            return winerr::InvalidPrinterName;
        for (const auto& paper : driverPapers(s, *p))
            out.push_back({paper.width, paper.length});
        return winerr::Success;
    });
}

Status SimSpooler::enumForms(ports::SpoolerHandle& printer, std::vector<ports::FormInfo1>& out) noexcept {
    out.clear();
    return readPrinter(printer, {"EnumFormsW"}, [&](const Json& s, const Json&, const Opened&) {
        for (const auto& f : formsOf(s))
            out.push_back(formInfo(f));
        return winerr::Success;
    });
}

Status SimSpooler::getForm(ports::SpoolerHandle& printer, std::wstring_view formName,
                           ports::FormInfo1& out) noexcept {
    out = {};
    return readPrinter(printer, {"GetFormW"}, [&](const Json& s, const Json&, const Opened&) {
        const Json* f = findNamed(formsOf(s), "name", formName);
        if (!f)
            return winerr::InvalidFormName;
        out = formInfo(*f);
        return winerr::Success;
    });
}

Status SimSpooler::deleteForm(ports::SpoolerHandle& printer, std::wstring_view formName) noexcept {
    return writePrinter(printer, {"DeleteFormW"}, [&](Json& s, Json&, Opened&) -> Status {
        Json& spooler = objectAt(s, "spooler");
        if (!memberOf(spooler, "forms").is_array())
            spooler["forms"] = builtinForms();
        Json& forms = spooler["forms"];
        const Json* f = findNamed(forms, "name", formName);
        if (!f)
            return winerr::InvalidFormName;
        if (numberOf(*f, "flags") == ports::spool::FormBuiltin)
            return winerr::InvalidParameter; // the built-in forms stay
        eraseNamed(forms, "name", formName);
        return winerr::Success;
    });
}

} // namespace sim
