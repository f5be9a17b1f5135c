// The driverpkg program as a person runs it: the package it writes is the library's, byte for byte,
// and render prints exactly the encoder's bytes for a PBM page and a data file.
#include "PackageWriter.h"

#include "driver/core/ModelJob.h"
#include "driver/core/PageEncoder.h"
#include "unit/driver/package/TempFolder.h"
#include "unit/engine/InstallFixture.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace std::string_literals;

namespace {

namespace fs = std::filesystem;
using driverpkg_test::fileBytes;

const std::string kProgram = ORVELLO_BINARY_DIR "/tools/driverpkg/driverpkg";

// The program's exit code and standard output.
std::pair<int, std::string> run(const std::string& arguments) {
    std::string out;
    FILE* pipe = ::popen((kProgram + " " + arguments + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return {-1, out};
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

class DriverpkgProgram : public engine_test::InstallFixture {
protected:
    driverpkg_test::TempFolder temp;
    const fs::path& folder = temp.path();
};

TEST_F(DriverpkgProgram, WritesTheSamePackageAsTheLibrary) {
    const auto [code, out] =
        run("package --catalogue " ORVELLO_SOURCE_DIR "/resources/catalogue.xml --mode CorvaneEx "
            "--date 12/11/2026 --out " +
            (folder / "program").string());
    ASSERT_EQ(code, 0);
    const auto models = driverpkg::collectModels(catalogueDoc, L"CorvaneEx");
    std::vector<std::string> problems;
    ASSERT_TRUE(driverpkg::writePackage(
        folder / "library", {L"CorvaneEx", L"Corvane Smart Labeling Co., Ltd.", L"3.0.2.465", L"12/11/2026"},
        models.models, problems));
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(folder / "library")) {
        ++files;
        EXPECT_EQ(fileBytes(folder / "program" / entry.path().filename()), fileBytes(entry.path()))
            << entry.path().filename();
    }
    EXPECT_EQ(files, 290u);
}

TEST_F(DriverpkgProgram, RendersAPbmPageInTheModelsLanguage) {
    driver::ModelData model;
    model.model = "M";
    model.language = driver::CommandLanguage::Zpl;
    model.dpi = 203;
    model.printableWidth = 5600;
    model.papers = {{"P", 4000, 3000}};
    model.defaultPaper = "P";
    std::ofstream(folder / "m.dat") << driver::writeModelData(model);
    std::ofstream(folder / "p.pbm", std::ios::binary) << "P4\n10 2\n\xC0\x40\x00\x00"s;

    driver::PageSurface page(10, 2);
    page.set(0, 0);
    page.set(1, 0);
    page.set(9, 0);
    driver::JobSettings job = driver::defaultJob(model, &model.papers[0], 2);
    job.copies = 3;
    job.direction = driver::PrintDirection::Reversed;
    const driver::Bytes expected = driver::encodePage(driver::CommandLanguage::Zpl, page, job);

    const auto [code, out] = run("render --data " + (folder / "m.dat").string() + " --pbm " +
                                 (folder / "p.pbm").string() + " --copies 3 --reverse");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out, std::string(expected.begin(), expected.end()));

    struct Bad {
        const char* arguments;
        int code;
    };
    const Bad bad[] = {
        {"render --data /nonexistent.dat --pbm /nonexistent.pbm", 1},
        {"render --pbm x", 2},
        {"render --data d --pbm p --copies 0", 2},
        {"print", 2},
    };
    for (const Bad& b : bad)
        EXPECT_EQ(run(b.arguments).first, b.code) << b.arguments;
    EXPECT_EQ(
        run("render --data " + (folder / "m.dat").string() + " --pbm " + (folder / "m.dat").string()).first,
        1);
}

} // namespace
