#include "platform/catalogue.h"
#include "support/message_ids.h"
#include "support/message_text.h"
#include "tests/unit/test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class Catalogue : public ::testing::Test {
protected:
    void SetUp() override {
        MsgHandlerInitFunction();
        resource_ = (dir_.path() / "msgs").string();
        dir_.Write("msgs.msg", "# test catalogue\n"
                               "\n"
                               "-95016\tlogon failed: %1\n"
                               "-95007\t%1|%2|%3|%4|%5 100%% \\n\\t\\\\ %x\n"
                               "-95003\tno description\n");
        ASSERT_EQ(AddResourceFile(resource_.c_str()), 0);
    }
    void TearDown() override {
        RemoveResourceFile(resource_.c_str());
        MsgHandlerDestroyFunction();
    }
    unit::TempDir dir_;
    std::string resource_;
};

TEST_F(Catalogue, InsertsArgumentsAndEscapes) {
    char text[256];
    FormatCatalogueMessage(text, sizeof text, msg::kLogonFailed, "ORA-01017: bad");
    EXPECT_STREQ(text, "logon failed: ORA-01017: bad");
    // Missing arguments are empty; %% and the escapes are expanded, %x stays.
    FormatCatalogueMessage(text, sizeof text, msg::kCustomQueryParse, "c", "q", "7");
    EXPECT_STREQ(text, "c|q|7|| 100% \n\t\\ %x");
    FormatCatalogueMessage(text, sizeof text, -95099);
    EXPECT_NE(std::string(text).find("-95099"), std::string::npos);
}

TEST_F(Catalogue, CutsToTheBufferAndAlwaysTerminates) {
    const std::string full = "logon failed: 0123456789";
    for (int size : {1, 2, 10, 24, 25, 26, 100}) {
        char text[128];
        std::memset(text, 'X', sizeof text);
        int written = FormatCatalogueMessage(text, size, msg::kLogonFailed, "0123456789");
        const std::string expected = full.substr(0, static_cast<size_t>(size - 1));
        EXPECT_EQ(text, expected) << size;
        EXPECT_EQ(written, static_cast<int>(expected.size()));
        EXPECT_EQ(text[size], 'X') << "nothing written past the buffer";
    }
    char untouched[4] = "abc";
    EXPECT_EQ(FormatCatalogueMessage(untouched, 0, msg::kLogonFailed, "x"), 0);
    EXPECT_EQ(FormatCatalogueMessage(untouched, -5, msg::kLogonFailed, "x"), 0);
    EXPECT_STREQ(untouched, "abc");
}

TEST_F(Catalogue, LaterResourceWinsAndRemovalRestores) {
    const std::string other = (dir_.path() / "other").string();
    dir_.Write("other.msg", "-95016\tsecond: %1\n");
    ASSERT_EQ(AddResourceFile(other.c_str()), 0);
    char text[64];
    FormatCatalogueMessage(text, sizeof text, msg::kLogonFailed, "x");
    EXPECT_STREQ(text, "second: x");
    EXPECT_EQ(RemoveResourceFile(other.c_str()), 0);
    EXPECT_EQ(RemoveResourceFile(other.c_str()), 1);
    FormatCatalogueMessage(text, sizeof text, msg::kLogonFailed, "x");
    EXPECT_STREQ(text, "logon failed: x");
}

TEST(CatalogueFiles, RegistrationResults) {
    unit::TempDir dir;
    dir.Write("bad.msg", "-95016\tgood\nnot a message line\n");
    dir.Write("badid.msg", "-95x16\ttext\n");
    const std::string bad = (dir.path() / "bad").string();
    const std::string badId = (dir.path() / "badid").string();
    const std::string missing = (dir.path() / "missing").string();
    EXPECT_EQ(AddResourceFile(missing.c_str()), 3) << "not prepared yet";
    EXPECT_EQ(MsgHandlerDestroyFunction(), -1);
    MsgHandlerInitFunction();
    EXPECT_EQ(AddResourceFile(missing.c_str()), 1);
    {
        unit::StderrCapture capture;
        EXPECT_EQ(AddResourceFile(bad.c_str()), 2);
        EXPECT_EQ(AddResourceFile(badId.c_str()), 2);
        EXPECT_NE(capture.Text().find("bad.msg:2:"), std::string::npos);
    }
    dir.Write("good.msg", "-95016\tx\n");
    const std::string good = (dir.path() / "good").string();
    ASSERT_EQ(AddResourceFile(good.c_str()), 0);
    EXPECT_EQ(MsgHandlerDestroyFunction(), 1) << "a resource was still registered";
    MsgHandlerInitFunction();
    EXPECT_EQ(MsgHandlerDestroyFunction(), 0);
}

TEST(CopyBounded, Table) {
    struct Case {
        const char *text;
        long long size;
        const char *expected;
    };
    const Case cases[] = {{"hello", 10, "hello"}, {"hello", 6, "hello"}, {"hello", 5, "hell"},
                          {"hello", 1, ""},       {nullptr, 4, ""},      {"", 3, ""}};
    for (const Case &c : cases) {
        char dst[16];
        std::memset(dst, 'X', sizeof dst);
        CopyBounded(dst, c.text, c.size);
        EXPECT_STREQ(dst, c.expected);
        EXPECT_EQ(dst[c.size], 'X');
    }
    char dst[2] = "z";
    EXPECT_EQ(CopyBounded(dst, "abc", 0), 0);
    EXPECT_EQ(CopyBounded(dst, "abc", -1), 0);
    EXPECT_STREQ(dst, "z");
}

TEST(MessageIds, FlagsFollowTheIdentifier) {
    EXPECT_EQ(msg::FlagsFor(-95001), msg::kFlagsA);
    for (int id : {-95002, -95003, -95006, -95023, -95026})
        EXPECT_EQ(msg::FlagsFor(id), msg::kFlagsB) << id;
    for (int id : {-95007, -95016, -95022})
        EXPECT_EQ(msg::FlagsFor(id), msg::kFlagsA) << id;
}

} // namespace
