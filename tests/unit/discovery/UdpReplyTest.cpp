// Reading the printers' replies to the diagnostic broadcast, and the list that accepts them: a table
// of datagrams for the reading rules, the kept corpus of misshapen datagrams plus a bounded random
// run for robustness, and the acceptance rules (model, one row per MAC).
#include "discovery/udp/UdpPrinterInfo.h"
#include "discovery/udp/UdpPrinterList.h"
#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

using discovery::ParseUdpReply;
using discovery::ParseUdpReplyText;
using discovery::UdpPrinterInfo;

std::vector<std::uint8_t> bytesOf(std::string_view s) {
    return {s.begin(), s.end()};
}

TEST(UdpRequest, IsTheThirtyTwoBytesThePrintersListenFor) {
    const auto request = discovery::UdpRequest();
    EXPECT_EQ(std::string(request.begin(), request.end()), "DIAGNOSTIC REPORT NETBROADCAST\r\n");
    EXPECT_FALSE(ParseUdpReplyText(L"DIAGNOSTIC REPORT NETBROADCAST\r\n")) << "a request is never a reply";
}

TEST(UdpReply, TextRules) {
    struct Case {
        const char* what;
        std::wstring_view text;
        std::optional<UdpPrinterInfo> info;
    };
    const Case cases[] = {
        {"every field, each followed by a comma",
         L"NET BROADCAST,NET NAME:LP1,MODEL:JN-2203T-S,SOFT:V1.2,DHCP OFF,IP ADDR:10.0.0.5,"
         L"SUBNET:255.0.0.0,GATEWAY:10.0.0.1,MAC:00:11:22:33:44:55,",
         UdpPrinterInfo{L"LP1", L"JN-2203T-S", L"V1.2", 0, L"10.0.0.5", L"255.0.0.0", L"10.0.0.1",
                        L"00:11:22:33:44:55"}},
        {"fields in any order, the last one losing the final character",
         L"MAC:AA-BB,MODEL:M1,NET BROADCAST,NET NAME:abcX",
         UdpPrinterInfo{L"abc", L"M1", L"", 1, L"", L"", L"", L"AA-BB"}},
        {"a blank after the colon stays", L"NET BROADCAST,MODEL: M1,",
         UdpPrinterInfo{L"", L" M1", L"", 1, L"", L"", L"", L""}},
        {"first occurrence of a repeated key", L"NET BROADCAST,MAC:first,MAC:second,",
         UdpPrinterInfo{L"", L"", L"", 1, L"", L"", L"", L"first"}},
        {"DHCP checked unless exactly OFF", L"NET BROADCAST,DHCP off,",
         UdpPrinterInfo{L"", L"", L"", 1, L"", L"", L"", L""}},
        {"a key at the very end has an empty value", L"NET BROADCAST,MAC:",
         UdpPrinterInfo{L"", L"", L"", 1, L"", L"", L"", L""}},
        {"a one-character value at the end is that final character", L"NET BROADCAST,MAC:Z",
         UdpPrinterInfo{L"", L"", L"", 1, L"", L"", L"", L""}},
        {"no NET BROADCAST", L"NET NAME:x,MODEL:JN-2203T-S,", std::nullopt},
        {"case matters", L"net broadcast,MODEL:JN-2203T-S,", std::nullopt},
        {"empty", L"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ParseUdpReplyText(c.text), c.info);
    }
}

TEST(UdpReply, DatagramIsReadUpToItsFirstNulFromTheCodePage) {
    testing_support::TestMachine machine; // UTF-8 code page
    auto& system = machine.platform().system();
    std::string datagram = "NET BROADCAST,MODEL:M\xC3\xA9,MAC:1,";
    datagram += std::string("\0,NET NAME:hidden,", 18);
    const auto info = ParseUdpReply(bytesOf(datagram), system);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->printerModel, L"M\u00E9");
    EXPECT_EQ(info->netName, L"") << "nothing after the NUL is read";

    machine.machine().write([](sim::Json& s) { s["system"]["codePage"] = 1252; });
    const auto latin = ParseUdpReply(bytesOf("NET BROADCAST,MODEL:M\xE9,"), system);
    ASSERT_TRUE(latin);
    EXPECT_EQ(latin->printerModel, L"M\u00E9");
}

// Every kept datagram and a bounded run of random ones: the reader answers (never crashes or
// hangs), and what it reads obeys the rules: no value holds a comma, none is longer than the text.
TEST(UdpReply, MisshapenDatagramsNeverBreakTheReader) {
    testing_support::TestMachine machine;
    auto& system = machine.platform().system();
    const auto check = [&](const std::vector<std::uint8_t>& datagram) {
        const auto info = ParseUdpReply(datagram, system);
        if (!info)
            return;
        for (const auto* v : {&info->netName, &info->printerModel, &info->firmware, &info->ipAddr,
                              &info->subnetMask, &info->gateway, &info->macAddress}) {
            EXPECT_EQ(v->find(L','), std::wstring::npos);
            EXPECT_LE(v->size(), datagram.size());
        }
    };

    const std::filesystem::path corpus =
        std::filesystem::path(ORVELLO_SOURCE_DIR) / "tests/unit/discovery/udp-corpus";
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        check({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
        ++files;
    }
    EXPECT_GE(files, 10u) << corpus.string();

    const std::string_view pieces[] = {"NET BROADCAST", "NET NAME:", "MODEL:",   "SOFT:", "DHCP ", "OFF",
                                       "IP ADDR:",      "SUBNET:",   "GATEWAY:", "MAC:",  ",",     "\r\n"};
    std::mt19937 random(20261210);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> datagram;
        const auto parts = random() % 40;
        for (unsigned p = 0; p < parts; ++p) {
            if (random() % 2) {
                const auto piece = pieces[random() % std::size(pieces)];
                datagram.insert(datagram.end(), piece.begin(), piece.end());
            } else {
                for (auto n = random() % 16; n > 0; --n)
                    datagram.push_back(static_cast<std::uint8_t>(random()));
            }
        }
        if (round % 100 == 0) // now and then a large one
            datagram.resize(65507, 'A');
        check(datagram);
    }
}

TEST(UdpPrinterList, ListsOnlyTheChosenModelAndEachPrinterOnceByMac) {
    using Outcome = discovery::UdpPrinterList::Outcome;
    const auto printer = [](std::wstring model, std::wstring mac) {
        UdpPrinterInfo i;
        i.printerModel = std::move(model);
        i.macAddress = std::move(mac);
        return i;
    };
    discovery::UdpPrinterList list;
    struct Step {
        UdpPrinterInfo info;
        Outcome outcome;
    };
    const Step steps[] = {
        {printer(L"JN-2203T-S", L"00:AA"), Outcome::ListedFirst},
        {printer(L"JN-2203T-S", L"00:AA"), Outcome::AlreadyListed}, // the next broadcast's answer
        {printer(L"JN-2203T-S", L"00:BB"), Outcome::Listed},
        {printer(L"JN-2203T-S ", L"00:CC"), Outcome::OtherModel}, // a blank counts
        {printer(L"jn-2203t-s", L"00:DD"), Outcome::OtherModel},
        {printer(L"TV-B58", L"00:EE"), Outcome::OtherModel},
        {printer(L"JN-2203T-S", L"00:aa"), Outcome::Listed}, // MAC texts compare exactly
    };
    for (const auto& s : steps)
        EXPECT_EQ(list.accept(s.info, L"JN-2203T-S"), s.outcome);
    ASSERT_EQ(list.printers().size(), 3u);
    EXPECT_EQ(list.printers()[0].macAddress, L"00:AA");
    EXPECT_EQ(list.printers()[1].macAddress, L"00:BB");

    list.clear();
    EXPECT_EQ(list.accept(printer(L"JN-2203T-S", L"00:AA"), L"JN-2203T-S"), Outcome::ListedFirst)
        << "a fresh search starts an empty list";
}

} // namespace
