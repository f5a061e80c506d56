// Trace lines written through the sink file, and what removes the sink.
#include "base/procedural/AOutStream.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/Trace.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/support/TestHooks.h"

using TraceSink = TempFolderTest;

TEST_F(TraceSink, LinesGoToTheSinkFile) {
    KY_File* sink = KY_FOpen(Spec("trace.log"), "wt");
    ASSERT_NE(nullptr, sink);
    EXPECT_EQ(nullptr, TraceSetSink(sink));
    TraceLevel(1, "#hidden\n");
    TraceLevel(0, "#shown %d\n", 7);
    TraceErrorCode(0, 0x0000FFFF);
    TraceErrorCode(1, 2003);
    EXPECT_TRUE(CapturedBoxes().empty());

    EXPECT_EQ(sink, TraceSetSink(nullptr));
    TracePrint("#boxed\n");
    ASSERT_EQ(1u, CapturedBoxes().size());
    EXPECT_EQ("#boxed\n", CapturedBoxes()[0].text);

    TraceSetSink(sink);
    SetErrorStream(nullptr);
    TracePrint("#after\n");
    EXPECT_EQ(2u, CapturedBoxes().size()) << "setting the error stream removes the sink";
    EXPECT_EQ(nullptr, TraceSetSink(nullptr));

    EXPECT_EQ(0, KY_FClose(sink));
    EXPECT_EQ("#shown 7\n#KY Error : -1\n", ReadAll(PathOf("trace.log")));
}
