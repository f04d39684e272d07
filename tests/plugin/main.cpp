// Test entry of the plug-in suite: HOME and XDG_RUNTIME_DIR point at a fresh
// temporary folder (each test then takes its own sub-folders), removed at the end.

#include "pluginfixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    char base[] = "/tmp/lumiplug-tests-XXXXXX";
    if (mkdtemp(base) == nullptr)
        return 2;
    const std::string root = base;
    setenv("HOME", root.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", root.c_str(), 1);
    plugintest::SetRoot(root);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    plugintest::RemoveTree(root);
    return result;
}
