#pragma once
// Shared set-up of the plug-in tests: a private HOME and XDG_RUNTIME_DIR per
// test, a family INI that points at a stand-in Lumivex executable, file
// helpers, and a test host with the start recorder.

#include "plugin/DataGlobal.h"
#include "plugin/host/CarbonShim.h"
#include "plugin/testhost/TestHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plugintest {

void SetRoot(const std::string& root);
void RemoveTree(const std::string& path);
std::string ReadFile(const std::string& path);
bool WriteFile(const std::string& path, const std::string& content, unsigned mode = 0600);
bool MakeFolder(const std::string& path, unsigned mode = 0700);
bool Exists(const std::string& path);
// Descriptors of this process that refer to path.
int OpenDescriptorsOf(const std::string& path);

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Points HOME and XDG_RUNTIME_DIR at new folders (runtime may be empty:
    // then XDG_RUNTIME_DIR is unset and $HOME/.cache is used).
    void UseFolders(const std::string& home, const std::string& runtime);
    // Writes "Lumivex Pro.ini" with Path = folder (as Qt writes it) and puts an
    // executable "lumivex" script there.
    void InstallLumivex(const std::string& folder, const std::string& script = "#!/bin/sh\nexit 0\n");
    std::string HandoffFolder() const;

    std::string m_home;
    std::string m_runtime;
    std::string m_appFolder;
};

} // namespace plugintest
