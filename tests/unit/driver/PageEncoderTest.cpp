// The exact bytes of each label language for small pages: a single dot, four dots across a byte
// boundary below a blank row, and a blank page; with and without darkness, speed, gap, copies and
// the half turn.
#include "driver/core/EncoderText.h"
#include "driver/core/PageEncoder.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

using driver::CommandLanguage;
using driver::JobSettings;
using driver::PageSurface;
using driver::PrintDirection;

PageSurface dotPage() {
    PageSurface page(16, 2);
    page.set(0, 0);
    return page;
}

// Row 0 blank; row 1 has dots 6..9 (bytes 03 C0); row 2 blank.
PageSurface boundaryPage() {
    PageSurface page(12, 3);
    for (std::uint32_t x = 6; x <= 9; ++x)
        page.set(x, 1);
    return page;
}

PageSurface blankPage() {
    return PageSurface(16, 4);
}

// 254 dpi makes every dot 0.1 mm: a 40 x 30 mm label with a 3 mm gap.
JobSettings labelJob() {
    JobSettings job;
    job.dpi = 254;
    job.labelWidthDots = 400;
    job.labelLengthDots = 300;
    job.gapDots = 30;
    job.darkness = 8;
    job.darknessMax = 15;
    job.speed = 4;
    return job;
}

// Continuous media, the printer's own darkness and speed, three copies, upside down.
JobSettings reversedCopiesJob() {
    JobSettings job = labelJob();
    job.gapDots = 0;
    job.darkness = -1;
    job.speed = 0;
    job.copies = 3;
    job.direction = PrintDirection::Reversed;
    return job;
}

std::string text(const driver::Bytes& bytes) {
    return {bytes.begin(), bytes.end()};
}

struct Case {
    const char* name;
    CommandLanguage language;
    PageSurface (*page)();
    JobSettings (*job)();
    std::string expected;
};

std::string escPosCopy() {
    return "\x1D\x76\x30\x00\x02\x00\x03\x00"s + "\x00\x00\x3C\x00\x00\x00"s;
}

const Case kCases[] = {
    // TSPL: the bitmap is inverted (a 0 bit prints).
    {"tspl dot", CommandLanguage::Tspl, dotPage, labelJob,
     "SIZE 40 mm,30 mm\r\nGAP 3 mm,0 mm\r\nDIRECTION 0\r\nDENSITY 8\r\nSPEED 4\r\nCLS\r\n"
     "BITMAP 0,0,2,1,0,\x7F\xFF\r\nPRINT 1,1\r\n"},
    {"tspl byte boundary, reversed copies", CommandLanguage::Tspl, boundaryPage, reversedCopiesJob,
     "SIZE 40 mm,30 mm\r\nGAP 0,0\r\nDIRECTION 1\r\nCLS\r\nBITMAP 0,1,2,1,0,\xFC\x3F\r\nPRINT 1,3\r\n"},
    {"tspl blank page", CommandLanguage::Tspl, blankPage, labelJob,
     "SIZE 40 mm,30 mm\r\nGAP 3 mm,0 mm\r\nDIRECTION 0\r\nDENSITY 8\r\nSPEED 4\r\nCLS\r\nPRINT 1,1\r\n"},
    // ZPL: darkness 8 of 15 is 16 of 30.
    {"zpl dot", CommandLanguage::Zpl, dotPage, labelJob,
     "~SD16\n^XA\n^PW400\n^LL300\n^MNY\n^PON\n^PR4\n^FO0,0^GFA,2,2,2,8000^FS\n^PQ1\n^XZ\n"},
    {"zpl byte boundary, reversed copies", CommandLanguage::Zpl, boundaryPage, reversedCopiesJob,
     "^XA\n^PW400\n^LL300\n^MNN\n^POI\n^FO0,1^GFA,2,2,2,03C0^FS\n^PQ3\n^XZ\n"},
    {"zpl blank page", CommandLanguage::Zpl, blankPage, labelJob,
     "~SD16\n^XA\n^PW400\n^LL300\n^MNY\n^PON\n^PR4\n^PQ1\n^XZ\n"},
    // CPCL: darkness 8 of 15 is contrast 2 of 3; the reversed page is turned here (dots 6..9 of
    // row 1 become dots 2..5, bytes 3C 00).
    {"cpcl dot", CommandLanguage::Cpcl, dotPage, labelJob,
     "! 0 200 200 300 1\r\nPAGE-WIDTH 400\r\nSPEED 4\r\nCONTRAST 2\r\nEG 2 1 0 0 8000\r\nFORM\r\nPRINT\r\n"},
    {"cpcl byte boundary, reversed copies", CommandLanguage::Cpcl, boundaryPage, reversedCopiesJob,
     "! 0 200 200 300 3\r\nPAGE-WIDTH 400\r\nEG 2 1 0 1 3C00\r\nPRINT\r\n"},
    {"cpcl blank page", CommandLanguage::Cpcl, blankPage, labelJob,
     "! 0 200 200 300 1\r\nPAGE-WIDTH 400\r\nSPEED 4\r\nCONTRAST 2\r\nFORM\r\nPRINT\r\n"},
    // ESC/POS: with gap sensing the image ends at the last black row and GS FF feeds the label;
    // on continuous media every row goes, once per copy.
    {"escpos dot", CommandLanguage::EscPos, dotPage, labelJob,
     "\x1B\x40"s + "\x1D\x76\x30\x00\x02\x00\x01\x00"s + "\x80\x00"s + "\x1D\x0C"s},
    {"escpos byte boundary, reversed copies", CommandLanguage::EscPos, boundaryPage, reversedCopiesJob,
     "\x1B\x40"s + escPosCopy() + escPosCopy() + escPosCopy()},
    {"escpos blank page", CommandLanguage::EscPos, blankPage, labelJob, "\x1B\x40\x1D\x0C"s},
};

TEST(PageEncoder, WritesTheExactBytesOfEachLanguage) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(text(driver::encodePage(c.language, c.page(), c.job())), c.expected);
    }
}

TEST(PageEncoder, ScalesDarknessOntoEachLanguagesRange) {
    struct Scale {
        int darkness;
        int max;
        const char* zpl;
        const char* cpcl;
    };
    const Scale scales[] = {
        {0, 15, "~SD00\n", "CONTRAST 0\r\n"},
        {15, 15, "~SD30\n", "CONTRAST 3\r\n"},
        {2, 15, "~SD04\n", "CONTRAST 0\r\n"},
        {3, 5, "~SD18\n", "CONTRAST 2\r\n"},
        // Above the model's range: its maximum.
        {9, 5, "~SD30\n", "CONTRAST 3\r\n"},
    };
    for (const Scale& s : scales) {
        SCOPED_TRACE(testing::Message() << s.darkness << " of " << s.max);
        JobSettings job = labelJob();
        job.darkness = s.darkness;
        job.darknessMax = s.max;
        EXPECT_EQ(text(driver::encodeZpl(blankPage(), job)).substr(0, 6), s.zpl);
        EXPECT_NE(text(driver::encodeCpcl(blankPage(), job)).find(s.cpcl), std::string::npos);
    }
}

TEST(PageEncoder, EscPosSplitsTallImagesIntoBandsOf256Rows) {
    PageSurface page(8, 300);
    page.set(7, 299);
    JobSettings job = labelJob();
    job.gapDots = 0;
    const std::string out = text(driver::encodeEscPos(page, job));
    ASSERT_EQ(out.size(), 2 + 8 + 256 + 8 + 44u);
    EXPECT_EQ(out.substr(2, 8), "\x1D\x76\x30\x00\x01\x00\x00\x01"s);
    EXPECT_EQ(out.substr(2 + 8 + 256, 8), "\x1D\x76\x30\x00\x01\x00\x2C\x00"s);
    EXPECT_EQ(out.back(), '\x01');
}

TEST(PageEncoder, WritesMillimetresRoundedToHundredthsWithoutTrailingZeros) {
    struct Mm {
        std::uint32_t dots;
        std::uint32_t dpi;
        const char* text;
    };
    const Mm cases[] = {{448, 203, "56.06"}, {406, 203, "50.8"}, {24, 203, "3"},
                        {0, 203, "0"},       {300, 300, "25.4"}, {5, 0, "0"}};
    for (const Mm& c : cases)
        EXPECT_EQ(driver::detail::millimetres(c.dots, c.dpi), c.text) << c.dots << " at " << c.dpi;
}

TEST(CommandLanguage, MapsTheCataloguesCommandValues) {
    struct Map {
        const char* cmd;
        std::optional<CommandLanguage> language;
    };
    // The four names map to themselves (the loop below); the vendor protocols are a choice.
    const Map maps[] = {
        {"cvlabel", CommandLanguage::Zpl},
        {"tvraster", CommandLanguage::EscPos},
        {"TSPL", std::nullopt},
        {"", std::nullopt},
    };
    for (const Map& m : maps)
        EXPECT_EQ(driver::languageForCommand(m.cmd), m.language) << m.cmd;
    for (const auto language :
         {CommandLanguage::Tspl, CommandLanguage::Zpl, CommandLanguage::Cpcl, CommandLanguage::EscPos})
        EXPECT_EQ(driver::languageForCommand(driver::languageName(language)), language);
}

} // namespace
