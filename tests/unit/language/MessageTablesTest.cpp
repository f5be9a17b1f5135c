// The message tables of the program's own skin, read as the wizard reads them.
#include "app/language/Language.h"
#include "app/language/Languages.h"
#include "app/skin/SkinArchive.h"
#include "base/Format.h"
#include "base/Utf.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <regex>
#include <string>
#include <vector>

namespace {

const SkinArchive& programSkin() {
    static const auto skin = [] {
        auto archive = std::make_unique<SkinArchive>();
        EXPECT_EQ(archive->open(testing_support::programResources()), ports::winerr::Success);
        return archive;
    }();
    return *skin;
}

std::vector<MessageEntry> tableOf(std::wstring_view language) {
    std::string bytes;
    std::vector<MessageEntry> entries;
    const auto path = languageFolder(language) + L"\\StringResource.lng";
    EXPECT_EQ(programSkin().read(path, bytes), ports::winerr::Success) << text::toUtf8(path);
    EXPECT_EQ(parseMessageTable(bytes, entries), ports::winerr::Success) << text::toUtf8(path);
    return entries;
}

// The printf conversions of a text, in order ("%s", "%d", "%%", ...).
std::vector<std::wstring> placeholders(const std::wstring& s) {
    static const std::wregex conversion(
        L"%(?:%|[-+ #0]*(?:\\*|\\d+)?(?:\\.(?:\\*|\\d+))?(?:hh|h|ll|l|L|z|j|t|I64|I32|I|w)?"
        L"[diouxXeEfFgGaAcCsSpnZ])");
    std::vector<std::wstring> found;
    for (auto it = std::wsregex_iterator(s.begin(), s.end(), conversion); it != std::wsregex_iterator(); ++it)
        found.push_back(it->str());
    return found;
}

// Formats `format` with arguments fitting the conversions of `id`, as the code does with a
// translated message; empty when the formatter had to mark a missing, unfitting or unused argument.
bool formatsCleanly(const std::wstring& format, const std::wstring& id) {
    std::vector<text::FormatArg> args;
    for (const auto& p : placeholders(id)) {
        if (p.back() == L's')
            args.emplace_back(L"CX-420T");
        else if (p != L"%%")
            args.emplace_back(5);
    }
    const auto out = text::formatArgs(format, args);
    return out.find(L"{?") == std::wstring::npos && out.find(L"{!") == std::wstring::npos &&
           out.find(L"{+") == std::wstring::npos;
}

struct Expected {
    const wchar_t* id;
    const wchar_t* english;
};

TEST(MessageTables, EnglishTextsAreTheTablesTextsExactly) {
    CLanguage language(programSkin());
    ASSERT_EQ(language.setLanguage(L"Lang\\English", L"English"), ports::winerr::Success);
    EXPECT_EQ(language.currentLanguageName(), L"English");
    const Expected cases[] = {
        {L"未知错误: %s. ", L"Unknown error:%s. "},
        {L"打印机: ", L"Printer:"},
        {L"安装完成.", L"Installation completed."},
        {L"安装打印机驱动失败: %s. 查看日志文件(C:\\Windows\\INF\\setupapi.dev.log)获取详细信息.",
         L"Installation of printer driver failed:%s. View the log file (C: \\ Windows \\ INF \\ setupAPI. "
         L"dev. "
         L"log) for detailed information."},
        {L"读取inf文件(%s)失败. 错误码: %d. 错误描述: %s.",
         L"Read inf file（%s）Failed Error code:%d. Error description:%s."},
        {L"驱动程序包正在使用中，无法删除。",
         L"The driver package is currently in use and cannot be deleted."},
        {L"%s失败. 错误码: %d. 错误描述: %s.", L"%sFailed Error code:%d. Error description:%s."},
        {L"升级完成.", L"Upgrade completed."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(language.translate(c.id), c.english) << text::toUtf8(c.id);
}

TEST(MessageTables, AMessageNotInTheTableShowsItself) {
    CLanguage language(programSkin());
    ASSERT_EQ(language.setLanguage(L"Lang\\English", L"English"), ports::winerr::Success);
    const wchar_t* const near[] = {
        L"安装完成",         // without its full stop
        L"安装完成。",       // a different full stop
        L"打印机:",          // without the trailing space
        L"未知错误: %s.",    // without the trailing space
        L"安装完成.\n",      // an added line end
        L"这条消息不在表里", // unknown altogether
        L"",
    };
    for (const auto* id : near)
        EXPECT_EQ(language.translate(id), id) << text::toUtf8(id);
}

TEST(MessageTables, ChineseSimplifiedMapsEveryMessageToItself) {
    CLanguage language(programSkin());
    ASSERT_EQ(language.setLanguage(L"Lang\\ChineseSimplified", L"ChineseSimplified"), ports::winerr::Success);
    const auto entries = tableOf(kSourceLanguage);
    ASSERT_FALSE(entries.empty());
    for (const auto& e : entries)
        EXPECT_EQ(language.translate(e.id), e.id) << text::toUtf8(e.id);
}

TEST(MessageTables, AMissingLanguageFolderLeavesMessagesUntranslated) {
    CLanguage language(programSkin());
    ASSERT_EQ(language.setLanguage(L"Lang\\English", L"English"), ports::winerr::Success);
    EXPECT_EQ(language.setLanguage(L"Lang\\Klingon", L"Klingon"), ports::winerr::FileNotFound);
    EXPECT_EQ(language.currentLanguageName(), L"Klingon");
    EXPECT_EQ(language.translate(L"安装完成."), L"安装完成.");
    EXPECT_EQ(language.translate(L"是"), L"是");
}

TEST(MessageTables, SwitchingLanguagesSwitchesTheTable) {
    CLanguage language(programSkin());
    const auto german = tableOf(L"German");
    const auto it = std::find_if(german.begin(), german.end(),
                                 [](const MessageEntry& e) { return e.id == L"安装完成."; });
    ASSERT_NE(it, german.end());
    ASSERT_NE(it->text, L"Installation completed.");

    language.setLanguage(L"Lang\\English", L"English");
    EXPECT_EQ(language.translate(L"安装完成."), L"Installation completed.");
    language.setLanguage(L"Lang\\German", L"German");
    EXPECT_EQ(language.translate(L"安装完成."), it->text);
    EXPECT_EQ(language.currentLanguageName(), L"German");
    language.setLanguage(L"Lang\\English", L"English");
    EXPECT_EQ(language.translate(L"安装完成."), L"Installation completed.");
}

// Every language must translate every message the code writes, and keep its printf conversions in
// order: the translation is formatted with the arguments meant for the Chinese identifier.
TEST(MessageTables, EveryLanguageTranslatesEveryMessageKeepingItsPlaceholders) {
    auto reference = tableOf(kSourceLanguage);
    ASSERT_EQ(reference.size(), 74u);
    std::vector<std::wstring> referenceIds;
    for (const auto& e : reference)
        referenceIds.push_back(e.id);
    std::sort(referenceIds.begin(), referenceIds.end());
    ASSERT_TRUE(std::adjacent_find(referenceIds.begin(), referenceIds.end()) == referenceIds.end());

    for (const auto& info : languages()) {
        SCOPED_TRACE(text::toUtf8(info.name));
        const auto entries = tableOf(info.name);
        std::vector<std::wstring> ids;
        for (const auto& e : entries)
            ids.push_back(e.id);
        std::sort(ids.begin(), ids.end());
        EXPECT_EQ(ids, referenceIds);

        CLanguage language(programSkin());
        ASSERT_EQ(language.setLanguage(languageFolder(info.name), info.name), ports::winerr::Success);
        for (const auto& e : entries) {
            EXPECT_EQ(placeholders(e.text), placeholders(e.id))
                << text::toUtf8(e.id) << " -> " << text::toUtf8(e.text);
            EXPECT_TRUE(formatsCleanly(e.text, e.id)) << text::toUtf8(e.text);
            EXPECT_EQ(language.translate(e.id), e.text) << text::toUtf8(e.id);
        }
    }
}

} // namespace
