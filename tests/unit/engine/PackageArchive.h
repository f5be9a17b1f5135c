#pragma once
// A skin archive's driver package for an x64 machine, as the extraction expects it: the four tools,
// the newer package's INF with its source-file list, the catalogue file, the data files and the
// per-architecture DLLs (each holding its own name).
#include "unit/engine/InstallRig.h"
#include "unit/language/ZipBuilder.h"

#include <string>
#include <vector>

namespace engine_test {

inline std::string packageInf() {
    return std::string(kNewInf) + R"INF(
[SourceDisksFiles.amd64]
CorvaneExUniNew.dll = 1,amd64
CorvaneExUiNew.dll = 1,amd64
CorvaneExLM.dll = 1,amd64
JN-2203T-S.dat = 1
JN-2232T.dat = 1
)INF";
}

inline std::vector<testing_support::ZipEntry> packageArchive() {
    std::vector<testing_support::ZipEntry> e = {
        {"Drivers/devcon32.exe", "MZ"},
        {"Drivers/devcon64.exe", "MZ"},
        {"Drivers/devconARM64.exe", "MZ"},
        {"Drivers/devconXP32.exe", "MZ"},
        {"Drivers/CorvaneEx/CorvaneExNew.inf", packageInf()},
        {"Drivers/CorvaneEx/CorvaneExNew.cat", "catalogue"},
        {"Drivers/CorvaneEx/JN-2203T-S.dat", "JN-2203T-S data"},
        {"Drivers/CorvaneEx/JN-2232T.dat", "JN-2232T data"},
    };
    for (const char* f : {"CorvaneExUniNew.dll", "CorvaneExUiNew.dll", "CorvaneExLM.dll"})
        e.push_back({std::string("Drivers/CorvaneEx/amd64/") + f, f});
    return e;
}

} // namespace engine_test
