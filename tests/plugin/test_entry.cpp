// Entry point and selector dispatch, driven through the test host.

#include "pluginfixture.h"

#include "plugin/Common.h"

using lumiplug_host::Host;
using plugintest::PluginTest;

namespace {

class EntryTest : public PluginTest {};

TEST_F(EntryTest, PrepareCapsMaxDataAndSetsCoordinates)
{
    struct Case {
        int32 maxData;
        int32 expected;
    };
    for (const Case c : {Case{1000000, 524288}, Case{100000, 100000}, Case{524288, 524288}}) {
        Host host;
        ASSERT_TRUE(host.Loaded()) << host.LoadError();
        host.maxData = c.maxData;
        host.PrepareRecord();
        EXPECT_EQ(host.Call(exportSelectorPrepare), noErr);
        EXPECT_EQ(host.record.maxData, c.expected);
        EXPECT_EQ(host.record.PluginUsing32BitCoordinates, 1);
    }
}

} // namespace
