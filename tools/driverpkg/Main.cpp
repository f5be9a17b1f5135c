// driverpkg: the driver package generator, and a way to look at what the driver sends a printer.
//
//   driverpkg package --catalogue resources/catalogue.xml --mode CorvaneEx --out DIR [--date MM/DD/YYYY]
//       writes DIR/<mode>New.inf and DIR/<model>.dat for every model of the mode; the date of the
//       INF's DriverVer is today's (UTC) unless given, so a build that wants the same bytes passes it.
//   driverpkg render --data MODEL.dat --pbm PAGE.pbm [--paper NAME] [--copies N] [--darkness N]
//                    [--speed N] [--reverse]
//       writes the printer-language bytes of the page (a P4 PBM image) for that model to stdout.
#include "PackageModels.h"
#include "PackageWriter.h"
#include "Pbm.h"

#include "base/Utf.h"
#include "catalogue/CatalogueHeader.h"
#include "catalogue/DocumentData.h"
#include "driver/core/ModelJob.h"
#include "driver/core/PageEncoder.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <string>

namespace {

int usage() {
    std::cerr << "usage: driverpkg package --catalogue FILE --mode MODE --out DIR [--date MM/DD/YYYY]\n"
                 "       driverpkg render --data MODEL.dat --pbm PAGE.pbm [--paper NAME] [--copies N]\n"
                 "                        [--darkness N] [--speed N] [--reverse]\n";
    return 2;
}

// --name value pairs and --flag switches; nothing for a stray argument.
std::optional<std::map<std::string, std::string>> options(int argc, char** argv) {
    std::map<std::string, std::string> out;
    for (int i = 2; i < argc; ++i) {
        const std::string name = argv[i];
        if (name.rfind("--", 0) != 0)
            return std::nullopt;
        if (name == "--reverse")
            out[name] = "1";
        else if (i + 1 < argc)
            out[name] = argv[++i];
        else
            return std::nullopt;
    }
    return out;
}

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<int> number(const std::map<std::string, std::string>& opts, const char* name) {
    const auto it = opts.find(name);
    if (it == opts.end())
        return std::nullopt;
    int value = 0;
    const auto [ptr, ec] = std::from_chars(it->second.data(), it->second.data() + it->second.size(), value);
    if (ec != std::errc() || ptr != it->second.data() + it->second.size())
        return std::nullopt;
    return value;
}

std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char buffer[16];
    std::strftime(buffer, sizeof buffer, "%m/%d/%Y", &utc);
    return buffer;
}

int package(const std::map<std::string, std::string>& opts) {
    if (!opts.contains("--catalogue") || !opts.contains("--mode") || !opts.contains("--out"))
        return usage();
    catalogue::XmlDocument doc;
    const pugi::xml_parse_result parsed = doc.data().tree.load_file(opts.at("--catalogue").c_str());
    doc.data().loaded = true;
    if (!parsed) {
        std::cerr << opts.at("--catalogue") << ": " << parsed.description() << "\n";
        return 1;
    }
    const std::wstring mode = text::fromUtf8(opts.at("--mode"));
    auto collected = driverpkg::collectModels(doc, mode);
    if (collected.models.empty())
        collected.problems.push_back("no models in mode " + opts.at("--mode"));
    driverpkg::PackageIdentity identity;
    identity.mode = mode;
    identity.provider = text::fromUtf8(doc.data().tree.child("Drivers").attribute("company_en").value());
    identity.version = catalogue::CatalogueVersion(doc);
    identity.date = text::fromUtf8(opts.contains("--date") ? opts.at("--date") : today());
    if (collected.problems.empty())
        (void)driverpkg::writePackage(opts.at("--out"), identity, collected.models, collected.problems);
    for (const auto& problem : collected.problems)
        std::cerr << problem << "\n";
    if (!collected.problems.empty())
        return 1;
    std::cerr << collected.models.size() << " models written to " << opts.at("--out") << "\n";
    return 0;
}

int render(const std::map<std::string, std::string>& opts) {
    if (!opts.contains("--data") || !opts.contains("--pbm"))
        return usage();
    // Numbers are checked before any file is read: a mistyped option is a usage error.
    const auto copies = number(opts, "--copies");
    const auto darkness = number(opts, "--darkness");
    const auto speed = number(opts, "--speed");
    if ((opts.contains("--copies") && (!copies || *copies < 1)) ||
        (opts.contains("--darkness") && !darkness) || (opts.contains("--speed") && !speed))
        return usage();
    const auto dataText = readFile(opts.at("--data"));
    const auto image = readFile(opts.at("--pbm"));
    if (!dataText || !image) {
        std::cerr << "cannot read " << (dataText ? opts.at("--pbm") : opts.at("--data")) << "\n";
        return 1;
    }
    const auto model = driver::readModelData(*dataText);
    for (const auto& note : model.notes)
        std::cerr << opts.at("--data") << ":" << note.line << ": " << note.text << "\n";
    for (const auto& error : model.errors)
        std::cerr << opts.at("--data") << ":" << error.line << ": " << error.text << "\n";
    if (!model.data)
        return 1;
    std::string error;
    const auto page = driverpkg::readPbm(*image, error);
    if (!page) {
        std::cerr << opts.at("--pbm") << ": " << error << "\n";
        return 1;
    }
    const std::string paperName = opts.contains("--paper") ? opts.at("--paper") : "";
    const driver::Paper* paper = driver::findPaper(*model.data, paperName);
    if (!paperName.empty() && !paper) {
        std::cerr << "no paper \"" << paperName << "\" in " << opts.at("--data") << "\n";
        return 1;
    }
    driver::JobSettings job = driver::defaultJob(*model.data, paper, page->height());
    if (copies)
        job.copies = static_cast<std::uint32_t>(*copies);
    if (darkness)
        job.darkness = *darkness;
    if (speed)
        job.speed = *speed;
    if (opts.contains("--reverse"))
        job.direction = driver::PrintDirection::Reversed;
    const driver::Bytes bytes = driver::encodePage(model.data->language, *page, job);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    const auto opts = options(argc, argv);
    if (!opts)
        return usage();
    const std::string command = argv[1];
    if (command == "package")
        return package(*opts);
    if (command == "render")
        return render(*opts);
    return usage();
}
