#include <gtest/gtest.h>
#include <windows.h>
#include "app/commandline.h"

TEST(SkipProgramName, LeavesOnlyTheArguments) {
    struct Case {
        const wchar_t* line;
        const wchar_t* tail;
    };
    const Case cases[] = {
        {L"tessary.exe", L""},
        {L"tessary.exe   /a b", L"/a b"},
        {L"\"C:\\Program Files\\tessary.exe\" /a", L"/a"},
        {L"\"C:\\Program Files\\tessary.exe\"/a", L"/a"},
        {L"\"unterminated quote /a", L""},
        {L"c:\\t.exe\t/tab", L"\t/tab"}, // a tab ends the name but is not skipped
        {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "line " << ::testing::PrintToString(c.line));
        wchar_t buffer[128];
        wcscpy(buffer, c.line);
        EXPECT_STREQ(SkipProgramName(buffer), c.tail);
    }
}
