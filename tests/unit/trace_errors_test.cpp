#include "platform/catalogue.h"
#include "support/errors.h"
#include "support/trace.h"
#include "tests/unit/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string Traced(void (*trace)()) {
    unit::StderrCapture capture;
    trace();
    return capture.Text();
}

TEST(Trace, OffUnlessTheVariableIsDefined) {
    unsetenv("TAV_PT_TRACE");
    EXPECT_EQ(Traced([] { TracePrint("x=%d", 1); TraceEnter("n", nullptr); TraceText("t"); }), "");
    for (const char *value : {"", "0", "yes"}) {
        setenv("TAV_PT_TRACE", value, 1);
        EXPECT_EQ(Traced([] { TracePrint("x=%d", 1); }), "x=1") << value;
    }
    unsetenv("TAV_PT_TRACE");
}

TEST(Trace, PiecesAndOrder) {
    setenv("TAV_PT_TRACE", "", 1);
    EXPECT_EQ(Traced([] { TraceEnter("Load Oracle DLL", nullptr); }), "\n->Enter(Load Oracle DLL)\n");
    EXPECT_EQ(Traced([] { TraceEnter("E", "a=%s\n", "b"); }), "\n->Enter(E)\na=b\n");
    EXPECT_EQ(Traced([] { TraceLeave("L", "rc=%ld\n", 3L); }), "rc=3\n\n<-Leaving(L)\n");
    EXPECT_EQ(Traced([] { TraceLeave("L", nullptr); }), "\n<-Leaving(L)\n");
    EXPECT_EQ(Traced([] { TraceText("100% %s %n"); }), "100% %s %n");
    const std::string longText = Traced([] { TracePrint("%s", std::string(5000, 'z').c_str()); });
    EXPECT_EQ(longText, std::string(1023, 'z'));
    unsetenv("TAV_PT_TRACE");
}

// The flags are set for good, so the three modes are checked in one sequence.
TEST(ReportError, ShowsThenStaysSilentThenCollects) {
    unit::TempDir dir;
    dir.Write("msgs.msg", "-95002\tMonitor error\n");
    const std::string catalogue = (dir.path() / "msgs").string();
    MsgHandlerInitFunction();
    ASSERT_EQ(AddResourceFile(catalogue.c_str()), 0);

    SetLastErrorText("before");
    {
        unit::StderrCapture capture;
        EXPECT_EQ(ReportError("custom query failed"), 0);
        EXPECT_EQ(capture.Text(), "Monitor error: custom query failed\n");
    }
    NoMessageBoxes = true;
    {
        unit::StderrCapture capture;
        EXPECT_EQ(ReportError("second"), 0);
        EXPECT_EQ(capture.Text(), "");
    }
    EXPECT_EQ(LastErrorText(), "before");
    CollectErrors = true;
    {
        unit::StderrCapture capture;
        EXPECT_EQ(ReportError("third"), 0);
        EXPECT_EQ(capture.Text(), "");
    }
    EXPECT_EQ(LastErrorText(), "third");
    ClearLastErrorText();
    EXPECT_EQ(LastErrorText(), "");

    RemoveResourceFile(catalogue.c_str());
    MsgHandlerDestroyFunction();
}

} // namespace
