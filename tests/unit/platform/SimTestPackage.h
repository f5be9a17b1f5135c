#pragma once
// A small driver package for the simulated machine's tests: an INF of the CorvaneEx family with two
// models, written with its files into a folder of the simulated disk.
#include "platform/ports/FileSystem.h"

#include <string>

namespace sim_test {

inline constexpr char kCorvaneInf[] = R"INF(; CorvaneEx label printers
[Version]
Signature="$Windows NT$"
Class=Printer
ClassGuid={4D36E979-E325-11CE-BFC1-08002BE10318}
Provider=%Corvane%
DriverVer=05/01/2024,3.0.2.465

[Manufacturer]
%Corvane%=Corvane,NTx86,NTamd64.6.0,NTarm64

[Corvane]
"JN-2203T-S (old)" = JN2203TS, USBPRINT\CorvaneExJN-2203T-S50F3

[Corvane.NTamd64.6.0]
"JN-2203T-S" = JN2203TS, USBPRINT\CorvaneExJN-2203T-S50F3, CorvaneExJN-2203T-S50F3
"JN-2232T"   = JN2232T, USBPRINT\CorvaneExJN-2232TFA69 ; a comment

[Corvane.NTx86]
"JN-2203T-S" = JN2203TS, USBPRINT\CorvaneExJN-2203T-S50F3

[JN2203TS]
DriverFile=CorvaneExRender.dll
ConfigFile=CorvaneExUI.dll
DataFile=JN-2203T-S.dat
LanguageMonitor="%LM%,CorvaneExLM.dll"

[JN2232T]
DriverFile = CorvaneExRender.dll
ConfigFile = CorvaneExUI.dll
DataFile   = "JN-2232T.dat"

[Strings]
Corvane="Corvane, Smart Labeling"
LM="CorvaneEx Language Monitor"
)INF";

inline constexpr wchar_t kPackageFolder[] = L"C:\\Program Files (x86)\\Orvello\\Drivers\\CorvaneEx";
inline constexpr wchar_t kPackageInf[] =
    L"C:\\Program Files (x86)\\Orvello\\Drivers\\CorvaneEx\\CorvaneEx.inf";

// Writes the INF and the files it names (with `tag` in the INF's comment, so that two packages can
// differ) into kPackageFolder.
inline ports::Status writePackage(ports::FileSystem& files, const std::string& tag = "") {
    if (ports::Status s = files.createDirectories(std::wstring(kPackageFolder) + L"\\amd64"))
        return s;
    const std::string inf = "; " + tag + "\n" + kCorvaneInf;
    if (ports::Status s = files.writeFile(kPackageInf, std::vector<std::uint8_t>(inf.begin(), inf.end())))
        return s;
    const std::vector<std::uint8_t> bytes = {'M', 'Z'};
    for (const wchar_t* f : {L"\\amd64\\CorvaneExRender.dll", L"\\amd64\\CorvaneExUI.dll",
                             L"\\JN-2203T-S.dat", L"\\JN-2232T.dat"}) {
        if (ports::Status s = files.writeFile(std::wstring(kPackageFolder) + f, bytes))
            return s;
    }
    return ports::winerr::Success;
}

} // namespace sim_test
