#include "base/InfText.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

struct LineCase {
    const char* name;
    const wchar_t* text; // one line in [S], [Strings] below it
    std::wstring key;
    std::vector<std::wstring> fields;
};

const LineCase kLines[] = {
    {"plain", L"a = b , c", L"a", {L"b", L"c"}},
    {"no key", L"file.dll", L"", {L"file.dll"}},
    {"empty fields kept", L"k = ,x,", L"k", {L"", L"x", L""}},
    {"quotes keep commas and blanks", L"k = \"a, b ; c\" , d", L"k", {L"a, b ; c", L"d"}},
    {"doubled quote", L"k = \"say \"\"hi\"\"\"", L"k", {L"say \"hi\""}},
    {"quoted key", L"\"a=b\" = v", L"a=b", {L"v"}},
    {"comment dropped", L"k = v ; note, with comma", L"k", {L"v"}},
    {"continuation", L"k = a, \\\n  b", L"k", {L"a", L"b"}},
    {"continuation before a comment", L"k = a, \\ ; more below\n  b", L"k", {L"a", L"b"}},
    {"strkey replaced ignoring case", L"k = %NAME% x", L"k", {L"Label Printer x"}},
    {"strkey inside quotes", L"k = \"%name%\"", L"k", {L"Label Printer"}},
    {"unknown strkey stays", L"k = %nope%", L"k", {L"%nope%"}},
    {"double percent", L"k = 100%%", L"k", {L"100%"}},
    {"strkey in the key", L"%name% = v", L"Label Printer", {L"v"}},
};

TEST(InfText, SplitsLinesAsSetupApiDoes) {
    for (const auto& c : kLines) {
        SCOPED_TRACE(c.name);
        const std::wstring text =
            std::wstring(L"[S]\n") + c.text + L"\n[Strings]\nname = \"Label Printer\"\n";
        const auto doc = inf::Document::parse(std::wstring_view(text));
        const auto* lines = doc.section(L"s");
        ASSERT_NE(lines, nullptr);
        ASSERT_EQ(lines->size(), 1u);
        EXPECT_EQ((*lines)[0].key, c.key);
        EXPECT_EQ((*lines)[0].fields, c.fields);
    }
}

TEST(InfText, SectionsOfOneNameAreMergedInFirstSeenOrder) {
    const auto doc = inf::Document::parse(std::wstring_view(L"; header\n"
                                                            L"[Version]\nSignature=\"$Windows NT$\"\n"
                                                            L"[Files]\na.dll\n"
                                                            L"[ Strings ]\nx=1\n"
                                                            L"[files]\nb.dll ; second part\n"));
    EXPECT_EQ(doc.sectionNames(), (std::vector<std::wstring>{L"Version", L"Files", L"Strings"}));
    const auto* files = doc.section(L"FILES");
    ASSERT_NE(files, nullptr);
    ASSERT_EQ(files->size(), 2u);
    EXPECT_EQ((*files)[1].fields, std::vector<std::wstring>{L"b.dll"});
    EXPECT_EQ(doc.value(L"version", L"signature"), L"$Windows NT$");
    EXPECT_EQ(doc.section(L"Missing"), nullptr);
}

TEST(InfText, ReadsUtf16AndUtf8WithByteOrderMarks) {
    const std::u16string text = u"[A]\r\nk = \u00e9t\u00e9\r\n";
    std::vector<std::uint8_t> utf16{0xFF, 0xFE};
    for (char16_t c : text) {
        utf16.push_back(static_cast<std::uint8_t>(c & 0xFF));
        utf16.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    const std::string utf8 = "\xEF\xBB\xBF[A]\r\nk = \xC3\xA9t\xC3\xA9\r\n";
    const std::vector<std::uint8_t> utf8Bytes(utf8.begin(), utf8.end());
    const std::vector<std::uint8_t>& utf16Bytes = utf16;
    for (const auto* bytes : {&utf16Bytes, &utf8Bytes}) {
        const auto doc = inf::Document::parse(std::span<const std::uint8_t>(*bytes));
        EXPECT_EQ(doc.value(L"a", L"K"), L"\u00e9t\u00e9");
        EXPECT_EQ(doc.sectionNames(), std::vector<std::wstring>{L"A"});
    }
}

TEST(InfText, SourcePathsMustStayInsideThePackageFolder) {
    struct Case {
        const wchar_t* path;
        bool inside;
    };
    const Case cases[] = {
        {L"", true},
        {L"i386", true},
        {L"i386\\driver.dll", true},
        {L"sub/dir/./file.dll", true},
        {L"..", false},
        {L"..\\evil.dll", false},
        {L"a\\..\\..\\evil.dll", false},
        {L"a/../b", false},
        {L"... \\evil.dll", false},
        {L".. \\evil.dll", false},
        {L"\\Windows\\System32\\x.dll", false},
        {L"/etc/passwd", false},
        {L"\\\\server\\share\\x.dll", false},
        {L"\\\\?\\C:\\x.dll", false},
        {L"C:\\Windows\\x.dll", false},
        {L"C:x.dll", false},
        {L"driver.dll:stream", false},
        {L"driver.dll::$DATA", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.path, c.path + std::wcslen(c.path)));
        EXPECT_EQ(inf::staysInsideFolder(c.path), c.inside);
    }
}

} // namespace
