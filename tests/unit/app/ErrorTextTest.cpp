// Error codes as the user reads them: the system's message and the names of the result codes.
#include "app/ErrorText.h"

#include "support/TestMachine.h"

#include <gtest/gtest.h>

namespace {

using testing_support::TestMachine;

TEST(ErrorCodeName, TheNamedCodesInLowerCaseHex) {
    TestMachine m;
    auto& sys = m.platform().system();
    struct Case {
        std::uint32_t code;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {0x00000000, L"0x0 - S_OK"},
        {0x00000001, L"0x1 - S_FALSE"},
        {0x8000000A, L"0x8000000a - E_PENDING"},
        {0x80004001, L"0x80004001 - E_NOTIMPL"},
        {0x80004002, L"0x80004002 - E_NOINTERFACE"},
        {0x80004003, L"0x80004003 - E_POINTER"},
        {0x80004004, L"0x80004004 - E_ABORT"},
        {0x80004005, L"0x80004005 - E_FAIL"},
        {0x8000FFFF, L"0x8000ffff - E_UNEXPECTED"},
        {0x80070005, L"0x80070005 - E_ACCESSDENIED"},
        {0x80070006, L"0x80070006 - E_HANDLE"},
        {0x8007000E, L"0x8007000e - E_OUTOFMEMORY"},
        {0x80070057, L"0x80070057 - E_INVALIDARG"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::errorCodeName(sys, c.code), c.expected);
}

TEST(ErrorCodeName, OtherCodesCarryTheSystemsText) {
    TestMachine m;
    auto& sys = m.platform().system();
    EXPECT_EQ(app::errorCodeName(sys, 0x80070BC7),
              L"0x80070bc7 : The specified printer driver package is currently in use.\r\n");
    EXPECT_EQ(app::errorCodeName(sys, 1797), L"0x705 : The printer driver is unknown.\r\n");
    EXPECT_EQ(app::errorCodeName(sys, 0x12345678), L"0x12345678 : ");
}

TEST(SystemErrorText, TheSystemsMessageWithItsLineEnd) {
    TestMachine m;
    auto& sys = m.platform().system();
    EXPECT_EQ(app::systemErrorText(sys, 5), L"Access is denied.\r\n");
    EXPECT_EQ(app::systemErrorText(sys, 1801), L"The printer name is invalid.\r\n");
    EXPECT_EQ(app::systemErrorText(sys, 0x80004005), L"Unspecified error\r\n"); // an HRESULT stays itself
    EXPECT_EQ(app::systemErrorText(sys, 987654), L"");
    // A negative code asks for the thread's last error; the simulated machine keeps none.
    EXPECT_EQ(app::systemErrorText(sys, app::kLastError), L"The operation completed successfully.\r\n");
}

} // namespace
