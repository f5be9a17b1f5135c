// The model data file: the written form, the round trip, and what the reader says about bad files.
#include "driver/core/Millimetres.h"
#include "driver/core/ModelData.h"
#include "driver/core/ModelJob.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using driver::ModelData;

ModelData sampleModel() {
    ModelData m;
    m.model = "JN-2203T-S";
    m.language = driver::CommandLanguage::Cpcl;
    m.dpi = 203;
    m.printableWidth = 5606;
    m.darknessRange = driver::DarknessRange{0, 15};
    m.darkness = 8;
    m.speeds = {2, 3, 4};
    m.speed = 3;
    m.gap = 300;
    m.papers = {{"57mm x 150mm", 5700, 15000}, {"4\" x 6\", wide", 10160, 15240}};
    m.defaultPaper = "57mm x 150mm";
    return m;
}

constexpr const char* kSampleText =
    "# Printer model data of the label printer driver (docs/driver-data-file.md)\n"
    "format = 1\n"
    "model = JN-2203T-S\n"
    "language = cpcl\n"
    "dpi = 203\n"
    "printable-width = 56.06\n"
    "darkness-range = 0,15\n"
    "darkness = 8\n"
    "speeds = 2,3,4\n"
    "speed = 3\n"
    "gap = 3\n"
    "paper = 57,150,57mm x 150mm\n"
    "paper = 101.6,152.4,4\" x 6\", wide\n"
    "default-paper = 57mm x 150mm\n";

TEST(ModelData, WritesKeysInAFixedOrder) {
    EXPECT_EQ(driver::writeModelData(sampleModel()), kSampleText);
}

TEST(ModelData, ReadsBackWhatItWrote) {
    ModelData noControls = sampleModel();
    noControls.language = driver::CommandLanguage::EscPos;
    noControls.darknessRange.reset();
    noControls.darkness = 0;
    noControls.speeds.clear();
    noControls.speed = 0;
    noControls.papers.clear();
    noControls.defaultPaper.clear();
    for (const ModelData& model : {sampleModel(), noControls}) {
        const auto result = driver::readModelData(driver::writeModelData(model));
        EXPECT_TRUE(result.errors.empty()) << result.errors.front().text;
        ASSERT_TRUE(result.data);
        EXPECT_EQ(*result.data, model);
    }
}

TEST(ModelData, ToleratesCrLfBlanksCommentsAndSkipsUnknownKeysWithANote) {
    const std::string text = "format=1\r\n\r\n  # a comment\r\nmodel =  X 1 \r\nlanguage\t= tvraster\r\n"
                             "colour = red\r\ndpi = 300\r\nprintable-width = 104\r\n";
    const auto result = driver::readModelData(text);
    ASSERT_TRUE(result.data);
    EXPECT_EQ(result.data->model, "X 1");
    EXPECT_EQ(result.data->language, driver::CommandLanguage::EscPos);
    EXPECT_EQ(result.data->printableWidth, 10400u);
    ASSERT_EQ(result.notes.size(), 1u);
    EXPECT_EQ(result.notes[0], (driver::DataFileMessage{6, "unknown key \"colour\" skipped"}));
}

TEST(ModelData, ReportsEachBadInputWithItsLine) {
    const std::string head = "format = 1\nmodel = M\nlanguage = tspl\ndpi = 203\nprintable-width = 56\n";
    struct Bad {
        const char* name;
        std::string text;
        driver::DataFileMessage first; // one of the errors
    };
    const Bad cases[] = {
        {"empty file", "", {0, "missing \"format\""}},
        {"no equals sign", head + "darkness 8\n", {6, "expected \"key = value\""}},
        {"newer format",
         "format = 2\nmodel = M\nlanguage = tspl\ndpi = 203\nprintable-width = 56\n",
         {1, "format \"2\" is not 1"}},
        {"unknown language",
         "format = 1\nmodel = M\nlanguage = pcl\ndpi = 203\nprintable-width = 56\n",
         {3, "unknown language \"pcl\""}},
        {"zero dpi",
         "format = 1\nmodel = M\nlanguage = tspl\ndpi = 0\nprintable-width = 56\n",
         {4, "dpi must be a positive number"}},
        {"huge dpi",
         "format = 1\nmodel = M\nlanguage = tspl\ndpi = 99999999999\nprintable-width = 56\n",
         {4, "dpi must be a positive number"}},
        {"three decimals", head + "gap = 3.141\n", {6, "\"3.141\" is not a length in millimetres"}},
        {"negative length", head + "gap = -3\n", {6, "\"-3\" is not a length in millimetres"}},
        {"key twice", head + "dpi = 300\n", {6, "\"dpi\" given twice (first on line 4)"}},
        {"range upside down",
         head + "darkness-range = 15,0\n",
         {6, "darkness-range must be \"none\" or \"min,max\" with min <= max"}},
        {"darkness outside range",
         head + "darkness-range = 0,5\ndarkness = 8\n",
         {7, "darkness 8 is outside darkness-range"}},
        {"darkness without range", head + "darkness = 8\n", {6, "darkness given without a darkness-range"}},
        {"speed not offered", head + "speeds = 2,3\nspeed = 4\n", {7, "speed 4 is not one of speeds"}},
        {"speeds with a gap",
         head + "speeds = 2,,3\n",
         {6, "speeds must be \"none\" or positive numbers separated by commas"}},
        {"paper without name",
         head + "paper = 57,150,\n",
         {6, "paper must be \"width,length,name\" in millimetres"}},
        {"paper of zero width",
         head + "paper = 0,150,P\n",
         {6, "paper must be \"width,length,name\" in millimetres"}},
        {"paper twice", head + "paper = 57,150,P\npaper = 50,30,P\n", {7, "paper \"P\" given twice"}},
        {"default paper unknown",
         head + "default-paper = Q\n",
         {6, "default-paper \"Q\" is not one of the papers"}},
        {"binary", std::string("\0\xff=\x01\n", 5), {0, "missing \"format\""}},
    };
    for (const Bad& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = driver::readModelData(c.text);
        EXPECT_FALSE(result.data);
        ASSERT_FALSE(result.errors.empty());
        std::string all;
        for (const auto& e : result.errors)
            all += std::to_string(e.line) + ": " + e.text + "\n";
        EXPECT_NE(std::find(result.errors.begin(), result.errors.end(), c.first), result.errors.end()) << all;
    }
}

TEST(Millimetres, ParsesAndFormatsHundredths) {
    struct Mm {
        const char* text;
        std::optional<std::uint32_t> hundredths;
    };
    const Mm cases[] = {{"0", 0},
                        {"3", 300},
                        {"3.5", 350},
                        {"101.6", 10160},
                        {"56.06", 5606},
                        {"3.", std::nullopt},
                        {".5", std::nullopt},
                        {"1e3", std::nullopt},
                        {"", std::nullopt},
                        {"1.234", std::nullopt},
                        {"99999999", std::nullopt}};
    for (const Mm& c : cases) {
        EXPECT_EQ(driver::parseHundredths(c.text), c.hundredths) << c.text;
        if (c.hundredths && std::string(c.text).back() != '0') {
            EXPECT_EQ(driver::formatHundredths(*c.hundredths), c.text);
        }
    }
    EXPECT_EQ(driver::hundredthsToDots(5600, 203), 448u);
    EXPECT_EQ(driver::hundredthsToDots(300, 203), 24u);
}

} // namespace

namespace {

TEST(ModelJob, TakesTheLabelFromThePaperAndTheSettingsFromTheModel) {
    driver::ModelData model;
    model.dpi = 203;
    model.printableWidth = 5600;
    model.gap = 300;
    model.darknessRange = driver::DarknessRange{-5, 10};
    model.darkness = 0;
    model.speeds = {2, 4};
    model.speed = 4;
    model.papers = {{"a", 5000, 3000}, {"b", 4000, 2000}};
    model.defaultPaper = "b";

    const driver::Paper* paper = driver::findPaper(model, "");
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(paper->name, "b");
    EXPECT_EQ(driver::findPaper(model, "a"), &model.papers[0]);
    EXPECT_EQ(driver::findPaper(model, "c"), nullptr);

    const driver::JobSettings job = driver::defaultJob(model, paper, 999);
    EXPECT_EQ(job.labelWidthDots, 320u);  // 40 mm
    EXPECT_EQ(job.labelLengthDots, 160u); // 20 mm
    EXPECT_EQ(job.gapDots, 24u);          // 3 mm
    // A range that starts below 0 is moved to start at 0.
    EXPECT_EQ(job.darkness, 5);
    EXPECT_EQ(job.darknessMax, 15);
    EXPECT_EQ(job.speed, 4);

    model.darknessRange.reset();
    const driver::JobSettings bare = driver::defaultJob(model, nullptr, 999);
    EXPECT_EQ(bare.labelWidthDots, 448u); // the printable width
    EXPECT_EQ(bare.labelLengthDots, 999u);
    EXPECT_LT(bare.darkness, 0);
}

} // namespace
